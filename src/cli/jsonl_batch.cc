#include "cli/jsonl_batch.h"

#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "cli/cli_input.h"
#include "cli/jsonl_line.h"

namespace quillet::cli {

namespace {

constexpr std::size_t kLinesInFlightPerJob = 64;
constexpr std::size_t kBytesInFlight = std::size_t{64} << 20;

struct InputLine {
  std::size_t number = 0;
  std::string text;
  std::optional<std::size_t> oversize;  // length of a line over the limit, not kept
};

// Cuts the bytes of a descriptor into lines at LF, keeping no more than
// kMaxInputBytes of any line.
class LineReader {
 public:
  enum class Outcome { kLine, kEnd, kError };

  explicit LineReader(int fd) : fd_(fd), buffer_(65536) {}

  // The next line, without its LF. On kError, error_number() tells why.
  Outcome Next(InputLine* line);
  int error_number() const { return error_number_; }

 private:
  // Refills the used-up buffer; false at the end of input or on an error.
  bool Fill();

  int fd_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::size_t lines_ = 0;
  int error_number_ = 0;
};

bool LineReader::Fill() {
  for (;;) {
    const ssize_t n = read(fd_, buffer_.data(), buffer_.size());
    if (n > 0) {
      begin_ = 0;
      end_ = static_cast<std::size_t>(n);
      return true;
    }
    if (n == 0) return false;
    if (errno != EINTR) {
      error_number_ = errno;
      return false;
    }
  }
}

LineReader::Outcome LineReader::Next(InputLine* line) {
  line->text.clear();
  line->oversize.reset();
  std::size_t length = 0;
  bool started = false;
  for (;;) {
    if (begin_ == end_ && !Fill()) {
      if (error_number_ != 0) return Outcome::kError;
      if (!started) return Outcome::kEnd;
      break;  // a last line without LF
    }
    started = true;
    const char* start = buffer_.data() + begin_;
    const std::size_t available = end_ - begin_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t piece = lf != nullptr ? static_cast<std::size_t>(lf - start) : available;
    length += piece;
    if (length <= kMaxInputBytes) {
      line->text.append(start, piece);
    } else {
      std::string().swap(line->text);  // over the limit: only counted from now on
    }
    begin_ += piece + (lf != nullptr ? 1 : 0);
    if (lf != nullptr) break;
  }
  if (length > kMaxInputBytes) line->oversize = length;
  line->number = ++lines_;
  return Outcome::kLine;
}

// The result line of one input line; never throws.
std::string ResultOf(const InputLine& line, int default_length_class) {
  return JsonlResultLine(line.text, line.oversize.value_or(line.text.size()),
                         line.number, default_length_class);
}

// What the reader, the workers and the writer share, under one mutex.
class Batch {
 public:
  explicit Batch(const BatchOptions& options)
      : default_length_class_(options.default_length_class),
        max_lines_(kLinesInFlightPerJob * static_cast<std::size_t>(options.jobs)) {}

  // The reader: reads lines until the input ends or the batch stops.
  void Read(LineReader& reader);
  // A worker: summarises lines until none are left or the batch stops.
  void Work();
  // The writer: writes the results in input order until all are written;
  // false with error set when the output fails (the batch then stops) or
  // the input failed.
  bool Write(std::FILE* out, const std::string& input_name, std::string* error);

 private:
  struct Result {
    std::string text;
    std::size_t input_bytes = 0;
  };

  bool HasRoomFor(std::size_t bytes) const {
    return read_ - written_ < max_lines_ &&
           (bytes_ == 0 || bytes_ + bytes <= kBytesInFlight);
  }
  bool AllWritten() const { return input_ended_ && written_ == read_; }
  bool NextIsDone() const { return results_.count(written_ + 1) != 0; }
  void Stop(std::unique_lock<std::mutex>& lock);

  const int default_length_class_;
  const std::size_t max_lines_;

  std::mutex mutex_;
  std::condition_variable room_;  // the reader waits for room
  std::condition_variable work_;  // the workers wait for lines
  std::condition_variable done_;  // the writer waits for the next result
  std::deque<InputLine> lines_;   // read, not yet taken by a worker
  std::map<std::size_t, Result> results_;  // done, not yet written
  std::size_t read_ = 0;
  std::size_t written_ = 0;
  std::size_t bytes_ = 0;  // of the lines read but not written
  bool input_ended_ = false;
  int read_error_ = 0;
  bool stopped_ = false;
};

void Batch::Read(LineReader& reader) {
  for (;;) {
    InputLine line;
    const LineReader::Outcome outcome = reader.Next(&line);
    std::unique_lock lock(mutex_);
    if (outcome != LineReader::Outcome::kLine) {
      input_ended_ = true;
      read_error_ = reader.error_number();
      work_.notify_all();
      done_.notify_all();
      return;
    }
    const std::size_t bytes = line.text.size();
    room_.wait(lock, [&] { return stopped_ || HasRoomFor(bytes); });
    if (stopped_) return;
    ++read_;
    bytes_ += bytes;
    lines_.push_back(std::move(line));
    work_.notify_one();
  }
}

void Batch::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [&] { return stopped_ || !lines_.empty() || input_ended_; });
    if (stopped_ || lines_.empty()) return;
    InputLine line = std::move(lines_.front());
    lines_.pop_front();
    lock.unlock();
    const std::size_t number = line.number;
    Result result{ResultOf(line, default_length_class_), line.text.size()};
    line = InputLine();  // the text is not needed while the result waits
    lock.lock();
    const bool next = number == written_ + 1;
    results_.emplace(number, std::move(result));
    if (next) done_.notify_one();
  }
}

void Batch::Stop(std::unique_lock<std::mutex>& lock) {
  if (!lock.owns_lock()) lock.lock();
  stopped_ = true;
  room_.notify_all();
  work_.notify_all();
}

bool Batch::Write(std::FILE* out, const std::string& input_name, std::string* error) {
  const auto fail = [&](int error_number, std::unique_lock<std::mutex>& lock) {
    *error = std::string("standard output: ") +
             (error_number != 0 ? std::strerror(error_number) : "write failed");
    Stop(lock);
    return false;
  };
  std::unique_lock lock(mutex_);
  while (!AllWritten()) {
    if (!NextIsDone()) {
      // Nothing to write until the next result comes: hand on what is written.
      lock.unlock();
      errno = 0;
      if (std::fflush(out) != 0) return fail(errno, lock);
      lock.lock();
      done_.wait(lock, [&] { return NextIsDone() || AllWritten(); });
      continue;
    }
    const auto next = results_.find(written_ + 1);
    Result result = std::move(next->second);
    results_.erase(next);
    lock.unlock();
    result.text.push_back('\n');
    errno = 0;
    if (std::fwrite(result.text.data(), 1, result.text.size(), out) != result.text.size()) {
      return fail(errno, lock);
    }
    lock.lock();
    ++written_;
    bytes_ -= result.input_bytes;
    // The reader is woken only once half the lines in flight are written,
    // and then reads on until the room is full again: one wake-up per many
    // lines instead of one per line, which would take turns with the
    // workers for the cores.
    if (read_ - written_ <= max_lines_ / 2) room_.notify_one();
  }
  const int read_error = read_error_;
  lock.unlock();
  errno = 0;
  if (std::fflush(out) != 0) return fail(errno, lock);
  if (read_error != 0) {
    *error = input_name + ": " + std::strerror(read_error);
    return false;
  }
  return true;
}

}  // namespace

bool RunJsonlBatch(int input_fd, const std::string& input_name, std::FILE* out,
                   const BatchOptions& options, std::string* error) {
  const auto batch = std::make_shared<Batch>(options);
  std::thread reader([batch, input_fd] {
    LineReader lines(input_fd);
    batch->Read(lines);
  });
  std::vector<std::thread> workers;
  for (int i = 0; i < options.jobs; ++i) workers.emplace_back([batch] { batch->Work(); });
  const bool ok = batch->Write(out, input_name, error);
  for (std::thread& worker : workers) worker.join();
  if (ok) {
    reader.join();
  } else {
    // The reader may be waiting for input that never comes; it stops at
    // its next line, or when the process ends.
    reader.detach();
  }
  return ok;
}

}  // namespace quillet::cli
