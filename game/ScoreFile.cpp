#include "game/ScoreFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "game/Unit1.h"
#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Exception.h"

namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

[[noreturn]] void Fail(const std::string& what, const std::string& path,
                       const std::string& reason) {
  throw EInOutError(what + " \"" + path + "\". " + reason);
}
[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
  Fail(what, path, std::generic_category().message(error));
}

// Reads the file a character at a time; every read error is raised.
class ScoreReader {
 public:
  ScoreReader(std::FILE* file, const std::string& path) : file_(file), path_(path) {}

  int Next() {
    int c = std::getc(file_);
    if (c == EOF && std::ferror(file_)) Fail("Cannot read file", path_, errno ? errno : EIO);
    return c;
  }
  void PutBack(int c) {
    if (c != EOF) std::ungetc(c, file_);
  }

  // A line ends at CR; one LF right after it belongs to the line end.
  std::string ReadLine() {
    std::string line;
    int c;
    while ((c = Next()) != EOF && c != '\r') line += static_cast<char>(c);
    if (c == '\r') SkipLineFeed();
    return line;
  }
  void SkipLine() {
    int c;
    while ((c = Next()) != EOF && c != '\r') {
    }
    if (c == '\r') SkipLineFeed();
  }

  // Blanks and line ends first; 0 without an error at the end of the file.
  std::int32_t ReadInteger() {
    int c;
    while ((c = Next()) != EOF && c <= ' ') {
    }
    if (c == EOF) return 0;
    std::string token;
    while (c != EOF && c > ' ' && token.size() < 32) {
      token += static_cast<char>(c);
      c = Next();
    }
    PutBack(c);
    std::optional<std::int32_t> value = ParseInteger(token);
    if (!value) throw EInOutError("Invalid numeric input in file \"" + path_ + "\"");
    SkipLine();
    return *value;
  }

 private:
  void SkipLineFeed() {
    int c = Next();
    if (c != '\n') PutBack(c);
  }

  static std::optional<std::int32_t> ParseInteger(const std::string& token) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    if (i == token.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < token.size(); ++i) {
      if (token[i] < '0' || token[i] > '9') return std::nullopt;
      value = value * 10 + (token[i] - '0');
      if (value > std::int64_t{1} << 31) return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(value);
  }

  std::FILE* file_;
  const std::string& path_;
};

std::string TempPathFor(const std::string& path) {
  return path + ".new";
}

void WriteAll(const std::string& tempPath, const std::string& bytes) {
  FilePtr file(std::fopen(tempPath.c_str(), "wb"), std::fclose);
  if (!file) Fail("Cannot create file", tempPath, errno);
  errno = 0;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size() &&
                 std::fflush(file.get()) == 0;
  int error = errno ? errno : EIO;
  if (std::fclose(file.release()) != 0 && written) {
    written = false;
    error = errno ? errno : EIO;
  }
  if (!written) Fail("Cannot write file", tempPath, error);
}

}  // namespace

void ReadScoreFile(const std::string& path, tmy& record) {
  FilePtr file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) Fail("Cannot open file", path, errno);
  ScoreReader reader(file.get(), path);
  record.name = reader.ReadLine();
  record.hi = reader.ReadInteger();
  record.flag = reader.ReadInteger();
  record.score = reader.ReadInteger();
  record.miss = reader.ReadInteger();
}

std::string FormatScoreFile(const tmy& record) {
  std::string bytes = record.name + "\r\n";
  for (std::int32_t value : {record.hi, record.flag, record.score, record.miss})
    bytes += std::to_string(value) + "\r\n";
  return bytes;
}

// The best score must survive a failed write, so the old file is replaced
// only by a complete new one.
void WriteScoreFile(const std::string& path, const tmy& record) {
  const std::string tempPath = TempPathFor(path);
  try {
    WriteAll(tempPath, FormatScoreFile(record));
    std::error_code renamed;
    std::filesystem::rename(tempPath, path, renamed);
    if (renamed) Fail("Cannot replace file", path, renamed.message());
  } catch (const EInOutError&) {
    std::error_code ignored;
    if (!std::filesystem::is_directory(tempPath, ignored))
      std::filesystem::remove(tempPath, ignored);
    throw;
  }
}

void TForm1::LoadScore() {
  ReadScoreFile(Application.ExeFolder() + kScoreFileName, my);
}

void TForm1::SaveScore() {
  WriteScoreFile(Application.ExeFolder() + kScoreFileName, my);
  ShowMessage("おねしょしちゃってごめんね");
}
