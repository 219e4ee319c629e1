#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/Profile.h"

namespace {

struct ProfileCase {
  const char* name;
  const char* ini;  // null: no file at all
  const char* section;
  const char* key;
  int expected;  // the default asked for is always 42
};

const ProfileCase kCases[] = {
    {"MissingFile", nullptr, "default", "Remix", 42},
    {"MissingSection", "[other]\nRemix=2\n", "default", "Remix", 42},
    {"MissingKey", "[default]\nWaveBlocks=2\n", "default", "Remix", 42},
    {"Plain", "[default]\nRemix=2\n", "default", "Remix", 2},
    {"SectionAndKeyIgnoreCase", "[DeFault]\nREMIX=7\n", "default", "remix", 7},
    {"Negative", "[general]\nWaveOutDevice=-1\n", "general", "WaveOutDevice", -1},
    {"FirstKeyCounts", "[a]\nk=1\nk=2\n[a]\nk=3\n", "a", "k", 1},
    {"SpacesAndComment", "[a]\n  k = 12 ; twelve\n", "a", "k", 12},
    {"LeadingDigitsOnly", "[a]\nk=35kHz\n", "a", "k", 35},
    {"NotANumber", "[a]\nk=abc\n", "a", "k", 0},
    {"KeyWithSpaces", "[not compatible]\nVirtual Wave Out=1\n", "not compatible",
     "virtual wave out", 1},
};

class ProfileTest : public ::testing::TestWithParam<ProfileCase> {
 protected:
  void SetUp() override {
    // Cases run in parallel: each gets a folder of its own.
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    folder_ = std::filesystem::temp_directory_path() / ("mixer-profile-" + name);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    SetProfileFolder(folder_.string());
  }
  void TearDown() override {
    SetProfileFolder("");
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
};

TEST_P(ProfileTest, ReadsIntegersOrGivesTheDefault) {
  const ProfileCase& c = GetParam();
  if (c.ini) std::ofstream(folder_ / "MIXER.INI") << c.ini;
  EXPECT_EQ(GetPrivateProfileIntA(c.section, c.key, 42, "MIXER.INI"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileTest, PathWithAFolderIsTakenAsGiven) {
  std::filesystem::create_directories(folder_ / "elsewhere");
  std::ofstream(folder_ / "elsewhere" / "my.ini") << "[s]\nk=5\n";
  std::string path = (folder_ / "elsewhere" / "my.ini").string();
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, path.c_str()), 5);
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", 0, "my.ini"), 0);
}

}  // namespace
