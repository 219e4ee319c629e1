#pragma once
// Whole files as byte strings, for tests of what the game reads and writes.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}
