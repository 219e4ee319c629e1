#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Component.h"

namespace {

std::vector<std::string> destroyed;

class Probe : public TComponent {
 public:
  Probe(TComponent* owner, std::string name) : TComponent(owner) { Name = std::move(name); }
  ~Probe() override { destroyed.push_back(Name); }
};

TEST(ComponentTest, OwnerDestroysItsComponentsLastCreatedFirst) {
  destroyed.clear();
  auto* owner = new Probe(nullptr, "owner");
  new Probe(owner, "a");
  auto* b = new Probe(owner, "b");
  new Probe(b, "b1");
  new Probe(owner, "c");
  ASSERT_EQ(owner->ComponentCount(), 3);
  FreeComponent(owner);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"owner", "c", "b", "b1", "a"}));
}

TEST(ComponentTest, ComponentFreedEarlyLeavesItsOwner) {
  destroyed.clear();
  Probe owner(nullptr, "owner");
  auto* a = new Probe(&owner, "a");
  new Probe(&owner, "b");
  FreeComponent(a);
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0)->Name, "b");
}

TEST(ComponentTest, DesigningStateIsOffUnlessSet) {
  Probe component(nullptr, "c");
  EXPECT_FALSE(component.Designing());
  component.SetDesigning(true);
  EXPECT_TRUE(component.Designing());
}

}  // namespace
