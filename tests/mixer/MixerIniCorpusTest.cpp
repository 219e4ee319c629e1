// Replays the MIXER.INI fuzz corpus in the ordinary build: every file gives
// its defaults for keys it does not name, and either builds a session within
// the engine's limits that plays a wave to its notified end, or refuses the
// device with an EMixerError and leaves no session.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "MixerFixture.h"
#include "fuzz/MixerIniHarness.h"

namespace {

class MixerIniCorpusTest : public MixerTest {};

TEST_F(MixerIniCorpusTest, EveryCorpusFileBuildsASoundSessionOrIsRefused) {
  const char* root = std::getenv("MOFRON_TEST_DATA");
  ASSERT_NE(root, nullptr) << "run through ctest, which names the tests folder";
  HWND notify = CreateWindowWithProc(IniFuzzNotifyProc);
  int played = 0;
  int refused = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(root) / "fuzz/corpus/mixer_ini")) {
    SCOPED_TRACE(entry.path().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    const IniOutcome outcome = RunIniFuzzInput(bytes.data(), bytes.size(), folder_, notify);
    EXPECT_NE(outcome, IniOutcome::Inconsistent);
    (outcome == IniOutcome::Played ? played : refused)++;
  }
  DestroyWindow(notify);
  EXPECT_GT(played, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
