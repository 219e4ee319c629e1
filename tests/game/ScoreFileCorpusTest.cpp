// Replays the score file's fuzz corpus in the ordinary build: every input
// reads and survives a write and a second read unchanged, or is refused with
// an EInOutError.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/ScoreFileHarness.h"

namespace {

namespace fs = std::filesystem;

TEST(ScoreFileCorpusTest, EveryCorpusInputReadsBackTheSameOrIsRefused) {
  const char* root = std::getenv("MOFRON_TEST_DATA");
  ASSERT_NE(root, nullptr) << "run through ctest, which names the tests folder";
  const fs::path scratch = fs::temp_directory_path() / "mofron-score-corpus.dat";
  int read = 0;
  int refused = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(root) / "fuzz/corpus/score_file")) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // Anything but an EInOutError escapes and fails the test.
    const ScoreOutcome outcome = ReadScoreFuzzInput(bytes.data(), bytes.size(), scratch.string());
    EXPECT_NE(outcome, ScoreOutcome::Inconsistent);
    (outcome == ScoreOutcome::Read ? read : refused)++;
  }
  fs::remove(scratch);
  // The seeds hold both kinds; a reader that stopped reading would show here.
  EXPECT_GT(read, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
