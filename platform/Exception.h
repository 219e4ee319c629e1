#pragma once
// The class library's base exception: a message text and nothing more.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// A file could not be opened, read or written (text files, the score file).
class EInOutError : public Exception {
 public:
  using Exception::Exception;
};

// A picture file could not be opened or is not a picture we can read.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};
