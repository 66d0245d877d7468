#include "cli/cli_input.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "codec/gbk_codec.h"

namespace quillet::cli {

namespace {

// Reads fd to its end; false with errno set on a read error.
bool ReadAll(int fd, std::string* bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

std::string InputName(const std::string& path) {
  return path == "-" ? "standard input" : path;
}

bool ReadInput(const std::string& path, std::string* bytes, std::string* error) {
  bytes->clear();
  if (path == "-") {
    if (ReadAll(STDIN_FILENO, bytes)) return true;
    *error = InputName(path) + ": " + std::strerror(errno);
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = path + ": " + std::strerror(errno);
    return false;
  }
  const bool ok = ReadAll(fd, bytes);
  const int read_errno = errno;
  close(fd);
  if (!ok) *error = path + ": " + std::strerror(read_errno);
  return ok;
}

std::string WithoutFinalLineBreak(std::string bytes) {
  if (bytes.ends_with("\r\n")) {
    bytes.resize(bytes.size() - 2);
  } else if (bytes.ends_with('\n') || bytes.ends_with('\r')) {
    bytes.pop_back();
  }
  return bytes;
}

bool ToFieldText(std::string_view bytes, Encoding encoding,
                 const std::string& name, GbkText* text, std::size_t* replaced,
                 std::string* error) {
  if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
    *error = name + ": NUL byte at offset " + std::to_string(nul);
    return false;
  }
  if (encoding == Encoding::kGbk) {
    *text = GbkText(ToCrLf(bytes));
    return true;
  }
  if (const std::optional<std::size_t> bad = FindInvalidUtf8(bytes)) {
    *error = name + ": invalid UTF-8 at byte offset " + std::to_string(*bad) +
             " (for GBK input use --encoding gbk)";
    return false;
  }
  std::size_t count = 0;
  *text = Utf8ToGbk(ToCrLf(bytes), &count);
  *replaced += count;
  return true;
}

std::string FromFieldText(const GbkText& text, Encoding encoding) {
  const std::string lf = ToLf(text.view());
  return encoding == Encoding::kGbk ? lf : GbkToUtf8(lf);
}

}  // namespace quillet::cli
