// Replays the wave loader's fuzz corpus in the ordinary build: every input
// either loads into whole frames or is refused with an EMixerError.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "MixerFixture.h"
#include "fuzz/WaveLoadHarness.h"

namespace {

class LoadCorpusTest : public MixerTest {};

TEST_F(LoadCorpusTest, EveryCorpusInputLoadsOrIsRefused) {
  const char* root = std::getenv("MOFRON_TEST_DATA");
  ASSERT_NE(root, nullptr) << "run through ctest, which names the tests folder";
  const std::filesystem::path corpus = std::filesystem::path(root) / "fuzz/corpus/wave";
  MixerInit();
  int loaded = 0;
  int refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    // Anything but an EMixerError escapes and fails the test.
    const LoadOutcome outcome = LoadFuzzInput(bytes.data(), bytes.size());
    EXPECT_NE(outcome, LoadOutcome::Inconsistent);
    (outcome == LoadOutcome::Loaded ? loaded : refused)++;
  }
  // The seeds hold both kinds; a corpus that stopped loading would show here.
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
