// EventPacer: lets the window handle its waiting events now and then while
// a long term-statistics stage runs, often enough to stay responsive and
// seldom enough to cost nothing.
//
// Tick() is called once per small unit of work; every 1024 units it reads
// the steady clock, and when the interval (20 ms unless told otherwise) has
// passed since the last call of ProcessEvents it calls it. Yield() calls it
// at once, as a stage does at the end of each pass. A Tick costs a
// decrement; a clock check a few tens of nanoseconds.

#ifndef QUILLET_TERMS_EVENT_PACER_H_
#define QUILLET_TERMS_EVENT_PACER_H_

#include <chrono>
#include <cstdint>

#include "workspace/workspace.h"

namespace quillet {

class EventPacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit EventPacer(Workspace& ws,
                      Clock::duration interval = std::chrono::milliseconds(20))
      : ws_(ws), interval_(interval), last_(Clock::now()) {}

  EventPacer(const EventPacer&) = delete;
  EventPacer& operator=(const EventPacer&) = delete;

  // One unit of work done; units > 1 counts several at once.
  void Tick(int64_t units = 1) {
    countdown_ -= units;
    if (countdown_ <= 0) CheckClock();
  }

  // ProcessEvents now; the interval starts again.
  void Yield() {
    ws_.ProcessEvents();
    last_ = Clock::now();
    countdown_ = kUnitsPerCheck;
  }

 private:
  static constexpr int64_t kUnitsPerCheck = 1024;

  void CheckClock() {
    countdown_ = kUnitsPerCheck;
    if (Clock::now() - last_ >= interval_) Yield();
  }

  Workspace& ws_;
  Clock::duration interval_;
  Clock::time_point last_;
  int64_t countdown_ = kUnitsPerCheck;
};

}  // namespace quillet

#endif  // QUILLET_TERMS_EVENT_PACER_H_
