// Prints every offset at which a sound's bytes occur in a recorded output,
// one per line. A play's last byte is never mixed, so it is left out of the
// search.   sound_positions OUTPUT SOUND
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

static std::vector<char> ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sound_positions OUTPUT SOUND\n");
    return 2;
  }
  std::vector<char> output = ReadAll(argv[1]);
  std::vector<char> sound = ReadAll(argv[2]);
  if (sound.size() < 2) {
    std::fprintf(stderr, "sound_positions: %s is too short\n", argv[2]);
    return 2;
  }
  sound.pop_back();
  auto at = output.begin();
  while ((at = std::search(at, output.end(), sound.begin(), sound.end())) != output.end()) {
    std::printf("%ld\n", static_cast<long>(at - output.begin()));
    ++at;
  }
  return 0;
}
