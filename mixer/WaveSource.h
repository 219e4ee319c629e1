#pragma once
// The source of a wave being loaded: an open RIFF reader and, for a
// resource, the resource it reads in place. Closing releases both, reader
// first, so a failed load leaves nothing open.
#include <cstdint>

#include "platform/Resources.h"
#include "platform/Riff.h"

class WaveSource {
 public:
  WaveSource() = default;
  WaveSource(const WaveSource&) = delete;
  WaveSource& operator=(const WaveSource&) = delete;
  ~WaveSource() { Close(); }

  // Opens a resource (flags hold 2), a memory image (flags hold 4) or a
  // file; raises the source's open message on failure.
  void Open(const char* name, HMODULE module, std::uint32_t flags);
  void Close();
  HMMIO Reader() const { return reader_; }

 private:
  void OpenResource(const char* name, HMODULE module);
  void OpenMemory(const char* descriptor);
  void OpenFile(const char* fileName);

  HGLOBAL resource_ = nullptr;
  HMMIO reader_ = nullptr;
};

// A resource name as text: the name itself, or its number in decimal.
const char* WaveNameOrNumber(const char* name, char (&digits)[8]);
