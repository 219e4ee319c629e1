#pragma once
// The component base: every component may have an owner, which destroys the
// components it owns, in the reverse order of their creation, when it is
// destroyed itself.
#include <string>
#include <vector>

class TObject {
 public:
  virtual ~TObject() = default;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_[index]; }

  // True while a form designer edits the component; never set by the
  // running program, only by tools and tests.
  bool Designing() const { return designing_; }
  void SetDesigning(bool on) { designing_ = on; }

  // Runs just before destruction, while the whole object (and what it owns)
  // is still alive: forms run their destroy event here.
  virtual void BeforeDestruction() {}

  std::string Name;

 protected:
  // Frees every owned component, last created first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
  bool designing_ = false;
};

// Destroys a component the way its owner would: BeforeDestruction, then delete.
void FreeComponent(TComponent* component);
