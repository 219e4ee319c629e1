#include "platform/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) std::erase(owner_->components_, this);
}

void TComponent::DestroyComponents() {
  // Each child removes itself from components_ as it goes.
  while (!components_.empty()) FreeComponent(components_.back());
}

void FreeComponent(TComponent* component) {
  if (!component) return;
  component->BeforeDestruction();
  delete component;
}
