#include <gtest/gtest.h>

#include <cstring>

#include "platform/Messages.h"
#include "platform/Resources.h"

namespace {

const unsigned char kTitle[] = {'B', 'M', 1, 2, 3};
const unsigned char kWave[] = {'R', 'I', 'F', 'F'};
const TResourceEntry kEntries[] = {
    {"TESTPIC", 0, "TITLE", 0, kTitle, sizeof kTitle},
    {"TESTWAVE", 0, nullptr, 101, kWave, sizeof kWave},
};
const bool registered = (RegisterResources(kEntries, 2), true);

struct Lookup {
  const char* name;
  const char* type;
  const unsigned char* expected;  // null: not found
  std::uint32_t error;            // GetLastError after a miss
};

TEST(ResourcesTest, FindsResourcesByTextOrNumber) {
  ASSERT_TRUE(registered);
  const Lookup cases[] = {
      {"TITLE", "TESTPIC", kTitle, 0},
      {"title", "testpic", kTitle, 0},  // letter case does not matter
      {MAKEINTRESOURCEA(101), "TESTWAVE", kWave, 0},
      {"101", "TESTWAVE", nullptr, ERROR_RESOURCE_NAME_NOT_FOUND},
      {MAKEINTRESOURCEA(102), "TESTWAVE", nullptr, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"TITLE", "TESTWAVE", nullptr, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"TITLE", "NOSUCHTYPE", nullptr, ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const Lookup& c : cases) {
    SetLastError(0);
    HRSRC found = FindResourceA(HInstance, c.name, c.type);
    const void* bytes = LockResource(LoadResource(HInstance, found));
    EXPECT_EQ(bytes, c.expected) << c.type;
    if (c.expected) {
      EXPECT_EQ(SizeofResource(HInstance, found), c.expected == kTitle ? 5u : 4u);
    } else {
      EXPECT_EQ(GetLastError(), c.error) << c.type;
      EXPECT_EQ(SizeofResource(HInstance, found), 0u);
    }
  }
}

TEST(ResourcesTest, OtherModulesHaveNoResources) {
  int other = 0;
  EXPECT_EQ(FindResourceA(&other, "TITLE", "TESTPIC"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

}  // namespace
