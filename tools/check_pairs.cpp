// check_pairs FOLDER: checks the nine picture pairs in FOLDER (1.bmp and
// 1a.bmp to 9.bmp and 9a.bmp), reading them exactly as the game does. Each
// pair's right picture must differ from the left one, and only inside the
// pair's difference cell, at least 6 pixels clear of the cell's edges.
// Prints one line per pair; exits 1 if any pair breaks the rule, 2 on bad use.
#include <cstdio>
#include <filesystem>
#include <string>

#include "PairCheck.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: check_pairs FOLDER\n"
                         "  checks the picture pairs FOLDER/1.bmp, 1a.bmp ... 9.bmp, 9a.bmp\n");
    return 2;
  }
  const std::string folder = argv[1];
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error)) {
    std::fprintf(stderr, "check_pairs: \"%s\" is not a folder\n", folder.c_str());
    return 2;
  }
  int failed = 0;
  for (int number = 1; number <= static_cast<int>(kDifferenceCells.size()); ++number) {
    const TPairVerdict verdict = CheckPairFiles(folder, number);
    std::FILE* out = verdict.Ok ? stdout : stderr;
    std::fprintf(out, "%s%s\n", verdict.Ok ? "" : "FAIL ", verdict.Message.c_str());
    std::fflush(out);  // keep the lines in order when both streams share a terminal
    if (!verdict.Ok) ++failed;
  }
  if (failed > 0) {
    std::fprintf(stderr, "check_pairs: %d of %zu pairs in \"%s\" break the rule\n", failed,
                 kDifferenceCells.size(), folder.c_str());
    return 1;
  }
  std::printf("check_pairs: all %zu pairs in \"%s\" are fine\n", kDifferenceCells.size(),
              folder.c_str());
  return 0;
}
