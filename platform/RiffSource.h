#pragma once
// The byte source behind an open RIFF reader: a memory image read in place,
// or a disk file read through a window buffer so that walking thousands of
// small chunk headers costs few system calls.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/Riff.h"

struct TMmioFile {
  std::FILE* file = nullptr;            // disk file, or null for a memory image
  const std::uint8_t* image = nullptr;  // memory image
  std::uint64_t size = 0;               // bytes in the source
  std::uint64_t position = 0;           // may lie past the end; reads then find nothing

  static constexpr std::size_t kWindowBytes = 8192;
  std::unique_ptr<std::uint8_t[]> window;  // disk file only
  std::uint64_t windowStart = 0;
  std::size_t windowFill = 0;

  ~TMmioFile();
  // Copies up to count bytes from offset; returns how many were copied.
  std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count);

 private:
  std::size_t ReadFile(std::uint64_t offset, std::uint8_t* buffer, std::size_t count);
  bool FillWindow(std::uint64_t offset);
};
