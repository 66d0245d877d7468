#include "cli/cli_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include "codec/encoding_detect.h"
#include "codec/gbk_codec.h"

namespace quillet::cli {

namespace {

// Reads fd to its end into bytes, but no more than limit + 1 bytes, so
// that an input over the limit shows without being held; false with errno
// set on a read error.
bool ReadAtMost(int fd, std::size_t limit, std::string* bytes) {
  char buffer[65536];
  while (bytes->size() <= limit) {
    const std::size_t wanted = std::min(sizeof buffer, limit + 1 - bytes->size());
    const ssize_t n = read(fd, buffer, wanted);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

// Reads all of fd, named name, into bytes, or sets error.
bool ReadDescriptor(int fd, const std::string& name, std::string* bytes,
                    std::string* error) {
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > kMaxInputBytes) {
      *error = name + ": " + TooLargeReason(static_cast<std::size_t>(size));
      return false;
    }
    // One byte more, so that the read that finds the end never grows the
    // buffer: a whole file is read with no copy of what came before.
    bytes->reserve(bytes->size() + static_cast<std::size_t>(size) + 1);
  }
  if (!ReadAtMost(fd, kMaxInputBytes, bytes)) {
    *error = name + ": " + std::strerror(errno);
    return false;
  }
  if (bytes->size() > kMaxInputBytes) {  // a pipe, or a file that grew
    bytes->clear();
    *error = name + ": " + TooLargeReason(std::nullopt);
    return false;
  }
  return true;
}

}  // namespace

std::string TooLargeReason(std::optional<std::size_t> size) {
  const std::string amount =
      size ? std::to_string(*size) + " bytes"
           : "more than " + std::to_string(kMaxInputBytes) + " bytes";
  return "too large (" + amount + "; the limit is " +
         std::to_string(kMaxInputBytes >> 20) + " MiB)";
}

std::string InputName(const std::string& path) {
  return path == "-" ? "standard input" : path;
}

int OpenInput(const std::string& path, std::string* error) {
  if (path == "-") return STDIN_FILENO;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) *error = path + ": " + std::strerror(errno);
  return fd;
}

bool ReadInput(const std::string& path, std::string* bytes, std::string* error) {
  bytes->clear();
  const int fd = OpenInput(path, error);
  if (fd < 0) return false;
  const bool ok = ReadDescriptor(fd, InputName(path), bytes, error);
  if (fd != STDIN_FILENO) close(fd);
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
                 std::string* error, std::string* note) {
  DecodedText decoded;
  if (!DecodeText(bytes, encoding, &decoded, error)) {
    *error = name + ": " + *error;
    return false;
  }
  if (decoded.guessed_after && note != nullptr) {
    *note = name + ": not UTF-8 (byte offset " + std::to_string(*decoded.guessed_after) +
            "), read as GB18030";
  }
  *text = GbkText(ToCrLf(decoded.text.view()));
  *replaced += decoded.replaced;
  return true;
}

std::string FromFieldText(const GbkText& text, Encoding encoding) {
  return encoding == Encoding::kGbk ? ToLf(text.view()) : FieldToUtf8(text);
}

}  // namespace quillet::cli
