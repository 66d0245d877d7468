// Runs count independent jobs on several threads and hands their results
// on in order, as a command that summarises many files prints them in the
// order of its arguments. Memory stays bounded: no job starts while
// `ahead` results wait for one that is still running.

#ifndef QUILLET_CLI_ORDERED_RUNS_H_
#define QUILLET_CLI_ORDERED_RUNS_H_

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace quillet::cli {

// Calls run(i) for every i from 0 to count - 1 on up to `threads` threads
// (none but the calling one when threads or count is 1) and, on the calling
// thread, write(i, result) in the order of i as the results come. When
// write returns false no further job starts, the running ones are waited
// for, and false is returned. run must not throw.
template <typename Result, typename Run, typename Write>
bool RunInOrder(std::size_t count, int threads, std::size_t ahead, Run run, Write write) {
  if (threads <= 1 || count <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      Result result = run(i);
      if (!write(i, result)) return false;
    }
    return true;
  }
  std::mutex mutex;
  std::condition_variable room;  // the workers wait for a job to take
  std::condition_variable done;  // the writer waits for the next result
  std::vector<std::optional<Result>> results(count);
  std::size_t next = 0;
  std::size_t written = 0;
  bool stopped = false;
  const auto work = [&] {
    std::unique_lock lock(mutex);
    for (;;) {
      room.wait(lock, [&] { return stopped || next == count || next < written + ahead; });
      if (stopped || next == count) return;
      const std::size_t i = next++;
      lock.unlock();
      Result result = run(i);
      lock.lock();
      results[i] = std::move(result);
      if (i == written) done.notify_one();
    }
  };
  std::vector<std::thread> workers;
  const std::size_t wanted = std::min(static_cast<std::size_t>(threads), count);
  for (std::size_t k = 0; k < wanted; ++k) workers.emplace_back(work);

  bool ok = true;
  std::unique_lock lock(mutex);
  while (ok && written < count) {
    done.wait(lock, [&] { return results[written].has_value(); });
    Result result = std::move(*results[written]);
    results[written].reset();
    lock.unlock();
    ok = write(written, result);
    lock.lock();
    ++written;
    stopped = !ok;
    room.notify_all();
  }
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  return ok;
}

}  // namespace quillet::cli

#endif  // QUILLET_CLI_ORDERED_RUNS_H_
