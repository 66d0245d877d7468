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

// What the reader and the workers share, under one mutex. The results are
// written by the workers themselves: the one that finishes the next result
// to write writes it and every result after it that is done, while the
// others go on summarising. No thread waits to write and none has to be
// woken for each result, which would take turns with the workers for the
// cores.
class Batch {
 public:
  Batch(const BatchOptions& options, std::FILE* out)
      : default_length_class_(options.default_length_class),
        max_lines_(kLinesInFlightPerJob * static_cast<std::size_t>(options.jobs)),
        out_(out) {}

  // The reader: reads lines until the input ends or the batch stops.
  void Read(LineReader& reader);
  // A worker: summarises lines until none are left or the batch stops,
  // writing results as described above.
  void Work();
  // After the workers: writes what is left and flushes; false with error
  // set when the output failed (the batch then stopped) or the input did.
  bool Finish(const std::string& input_name, std::string* error);

 private:
  struct Result {
    std::string text;
    std::size_t input_bytes = 0;
  };

  bool HasRoomFor(std::size_t bytes) const {
    return read_ - written_ < max_lines_ &&
           (bytes_ == 0 || bytes_ + bytes <= kBytesInFlight);
  }
  bool NextIsDone() const { return results_.count(written_ + 1) != 0; }
  void Stop(std::unique_lock<std::mutex>& lock);
  void WriteDone(std::unique_lock<std::mutex>& lock);
  bool WriteOne(std::unique_lock<std::mutex>& lock);
  bool Flush(std::unique_lock<std::mutex>& lock);
  // Records a failed write or flush and stops the batch.
  void WriteFailed(int error_number, std::unique_lock<std::mutex>& lock);

  const int default_length_class_;
  const std::size_t max_lines_;
  std::FILE* const out_;

  std::mutex mutex_;
  std::condition_variable room_;  // the reader waits for room
  std::condition_variable work_;  // the workers wait for lines
  std::deque<InputLine> lines_;   // read, not yet taken by a worker
  std::map<std::size_t, Result> results_;  // done, not yet written
  std::size_t read_ = 0;
  std::size_t written_ = 0;
  std::size_t bytes_ = 0;  // of the lines read but not written
  bool input_ended_ = false;
  int read_error_ = 0;
  bool writing_ = false;  // a worker is writing: the others leave it to it
  std::optional<int> write_error_;  // errno of a failed write, once one failed
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
    results_.emplace(number, std::move(result));
    if (!writing_) WriteDone(lock);
  }
}

void Batch::Stop(std::unique_lock<std::mutex>& lock) {
  if (!lock.owns_lock()) lock.lock();
  stopped_ = true;
  room_.notify_all();
  work_.notify_all();
}

// Writes the results that are done, in order from the next one, and
// flushes once the next one is not done yet, so that what is written is
// handed on while the rest is summarised. Called with the lock held, which
// is let go while writing; results that come meanwhile are written too.
void Batch::WriteDone(std::unique_lock<std::mutex>& lock) {
  writing_ = true;
  while (!stopped_ && NextIsDone()) {
    while (!stopped_ && NextIsDone()) {
      if (!WriteOne(lock)) break;
    }
    if (!stopped_ && !NextIsDone()) Flush(lock);
  }
  writing_ = false;
}

// Writes the next result; false (and the batch stopped) when the output
// fails.
bool Batch::WriteOne(std::unique_lock<std::mutex>& lock) {
  const auto next = results_.find(written_ + 1);
  Result result = std::move(next->second);
  results_.erase(next);
  lock.unlock();
  result.text.push_back('\n');
  errno = 0;
  const bool ok = std::fwrite(result.text.data(), 1, result.text.size(), out_) ==
                  result.text.size();
  const int error_number = errno;
  lock.lock();
  if (!ok) {
    WriteFailed(error_number, lock);
    return false;
  }
  ++written_;
  bytes_ -= result.input_bytes;
  // The reader is woken only once half the lines in flight are written,
  // and then reads on until the room is full again: one wake-up per many
  // lines instead of one per line.
  if (read_ - written_ <= max_lines_ / 2) room_.notify_one();
  return true;
}

bool Batch::Flush(std::unique_lock<std::mutex>& lock) {
  lock.unlock();
  errno = 0;
  const bool ok = std::fflush(out_) == 0;
  const int error_number = errno;
  lock.lock();
  if (!ok) WriteFailed(error_number, lock);
  return ok;
}

void Batch::WriteFailed(int error_number, std::unique_lock<std::mutex>& lock) {
  write_error_ = error_number;
  Stop(lock);
}

bool Batch::Finish(const std::string& input_name, std::string* error) {
  std::unique_lock lock(mutex_);
  // Every worker has ended, so every result is done and written, unless
  // the batch stopped; this is the last write and flush in any case.
  if (!stopped_) WriteDone(lock);
  if (!write_error_) Flush(lock);
  if (write_error_) {
    *error = std::string("standard output: ") +
             (*write_error_ != 0 ? std::strerror(*write_error_) : "write failed");
    return false;
  }
  if (read_error_ != 0) {
    *error = input_name + ": " + std::strerror(read_error_);
    return false;
  }
  return true;
}

}  // namespace

bool RunJsonlBatch(int input_fd, const std::string& input_name, std::FILE* out,
                   const BatchOptions& options, std::string* error) {
  const auto batch = std::make_shared<Batch>(options, out);
  std::thread reader([batch, input_fd] {
    LineReader lines(input_fd);
    batch->Read(lines);
  });
  // The calling thread is one of the workers.
  std::vector<std::thread> workers;
  for (int i = 1; i < options.jobs; ++i) workers.emplace_back([batch] { batch->Work(); });
  batch->Work();
  for (std::thread& worker : workers) worker.join();
  const bool ok = batch->Finish(input_name, error);
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
