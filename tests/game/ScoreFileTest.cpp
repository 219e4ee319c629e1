#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "FileBytes.h"
#include "game/ScoreFile.h"
#include "platform/Exception.h"

namespace fs = std::filesystem;

namespace {

class ScoreFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("score-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    path_ = (folder_ / "my.dat").string();
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
  std::string path_;
};

struct ReadCase {
  const char* label;
  std::string contents;
  tmy expected;  // the fields after the read, also after a failed one
  bool fails;
};

TEST_F(ScoreFileTest, ReadsEachFieldAsWrittenOrFailsOnABadNumber) {
  const std::string longZeros(40, '0');
  const ReadCase cases[] = {
      {"shipped file", "\r\n0\r\n0\r\n0\r\n0\r\n", {"", 0, 0, 0, 0}, false},
      {"every field", "ab c\r\n12\r\n1\r\n3\r\n4\r\n", {"ab c", 12, 1, 3, 4}, false},
      {"name kept byte for byte", "\x82\xe0\tX \r\n5\r\n", {"\x82\xe0\tX ", 5, 0, 0, 0}, false},
      {"empty file", "", {"", 0, 0, 0, 0}, false},
      {"first line only", "abc", {"abc", 0, 0, 0, 0}, false},
      {"ends in a number", "n\r\n9", {"n", 9, 0, 0, 0}, false},
      {"CR alone ends lines", "n\r5\r6\r7\r8\r", {"n", 5, 6, 7, 8}, false},
      {"empty lines skipped", "n\r\n\r\n\r\n42\r\n1\r\n", {"n", 42, 1, 0, 0}, false},
      {"text after the number", "n\r\n7 points 8\r\n2\r\n", {"n", 7, 2, 0, 0}, false},
      {"blanks and signs", "n\r\n \t-5\r\n+8\r\n-0\r\n", {"n", -5, 8, 0, 0}, false},
      {"32-bit limits", "n\r\n2147483647\r\n-2147483648\r\n", {"n", INT_MAX, INT_MIN, 0, 0}, false},
      {"only 32 characters taken", "n\r\n" + longZeros + "\r\n5\r\n", {"n", 0, 5, 0, 0}, false},
      {"letters", "n\r\n3\r\nabc\r\n4\r\n", {"n", 3, 0, 0, 0}, true},
      {"digits then letters", "n\r\n12abc\r\n", {"n", 0, 0, 0, 0}, true},
      {"sign alone", "n\r\n-\r\n", {"n", 0, 0, 0, 0}, true},
      {"too large", "n\r\n1\r\n2147483648\r\n", {"n", 1, 0, 0, 0}, true},
      {"too long", "n\r\n" + std::string(33, '1') + "\r\n", {"n", 0, 0, 0, 0}, true},
  };
  for (const ReadCase& c : cases) {
    WriteBytes(path_, c.contents);
    tmy record;
    bool failed = false;
    try {
      ReadScoreFile(path_, record);
    } catch (const EInOutError&) {
      failed = true;
    }
    EXPECT_EQ(failed, c.fails) << c.label;
    EXPECT_EQ(record.name, c.expected.name) << c.label;
    EXPECT_EQ(record.hi, c.expected.hi) << c.label;
    EXPECT_EQ(record.flag, c.expected.flag) << c.label;
    EXPECT_EQ(record.score, c.expected.score) << c.label;
    EXPECT_EQ(record.miss, c.expected.miss) << c.label;
  }
}

TEST_F(ScoreFileTest, MissingOrUnreadableFileIsAnInputOutputError) {
  tmy record;
  EXPECT_THROW(ReadScoreFile(path_, record), EInOutError);
  fs::create_directory(path_);
  EXPECT_THROW(ReadScoreFile(path_, record), EInOutError);
}

TEST_F(ScoreFileTest, WritesFiveLinesEndedByCrLf) {
  const std::pair<tmy, std::string> cases[] = {
      {{"", 0, 1, 0, 0}, "\r\n0\r\n1\r\n0\r\n0\r\n"},
      {{"\x83\x82\x83t", -7, 1, 12, 3}, "\x83\x82\x83t\r\n-7\r\n1\r\n12\r\n3\r\n"},
      {{"a b", INT_MAX, INT_MIN, 100, 5}, "a b\r\n2147483647\r\n-2147483648\r\n100\r\n5\r\n"},
  };
  for (const auto& [record, bytes] : cases) {
    EXPECT_EQ(FormatScoreFile(record), bytes);
    WriteScoreFile(path_, record);
    EXPECT_EQ(ReadBytes(path_), bytes);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1)
      << "nothing but the score file is left in the folder";
}

TEST_F(ScoreFileTest, LoadThenSaveKeepsNameAndBestScore) {
  WriteBytes(path_, "Mofron\r\n-3\r\n0\r\n9\r\n9\r\n");
  tmy record;
  ReadScoreFile(path_, record);
  record.flag = 1;
  record.score = 0;
  record.miss = 0;
  WriteScoreFile(path_, record);
  EXPECT_EQ(ReadBytes(path_), "Mofron\r\n-3\r\n1\r\n0\r\n0\r\n");
}

// Writes that fail part-way must leave the old file as it was. Root ignores
// a read-only folder, so the failures are made with directories standing
// where the new file or the score file should go.
TEST_F(ScoreFileTest, FailedWriteKeepsTheOldFile) {
  const std::string old = "keep\r\n77\r\n1\r\n0\r\n0\r\n";
  WriteBytes(path_, old);
  fs::create_directory(path_ + ".new");
  EXPECT_THROW(WriteScoreFile(path_, {"new", 1, 1, 1, 1}), EInOutError);
  EXPECT_EQ(ReadBytes(path_), old);
  fs::remove(path_ + ".new");

  const std::string blocked = (folder_ / "blocked").string();
  fs::create_directories(fs::path(blocked) / "inside");
  EXPECT_THROW(WriteScoreFile(blocked, {"new", 1, 1, 1, 1}), EInOutError);
  EXPECT_TRUE(fs::is_directory(blocked));
  EXPECT_FALSE(fs::exists(blocked + ".new")) << "the new file is cleaned up";

  EXPECT_THROW(WriteScoreFile((folder_ / "no such folder" / "my.dat").string(), {}), EInOutError);
}

}  // namespace
