// Replays the BMP fuzz corpus in the ordinary build: every input loads the
// same sound picture from memory and from a file, or is refused both ways
// with EInvalidGraphic and leaves the bitmap as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/BitmapLoadHarness.h"

namespace {

namespace fs = std::filesystem;

TEST(BitmapCorpusTest, EveryCorpusInputLoadsAlikeBothWaysOrIsRefused) {
  const char* root = std::getenv("MOFRON_TEST_DATA");
  ASSERT_NE(root, nullptr) << "run through ctest, which names the tests folder";
  const fs::path scratch = fs::temp_directory_path() / "mofron-bitmap-corpus.bmp";
  int loaded = 0;
  int refused = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(root) / "fuzz/corpus/bitmap_load")) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // Anything but an EInvalidGraphic escapes and fails the test.
    const BitmapOutcome outcome = LoadBitmapFuzzInput(bytes.data(), bytes.size(), scratch.string());
    EXPECT_NE(outcome, BitmapOutcome::Inconsistent);
    (outcome == BitmapOutcome::Loaded ? loaded : refused)++;
  }
  fs::remove(scratch);
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
