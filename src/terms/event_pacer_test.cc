#include "terms/event_pacer.h"

#include <chrono>

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(EventPacerTest, YieldsWhenTheIntervalHasPassedAtEachClockCheck) {
  Workspace ws;
  int calls = 0;
  ws.process_events = [&] { ++calls; };

  // With no interval every clock check yields: one per 1024 units.
  EventPacer eager(ws, std::chrono::nanoseconds(0));
  for (int i = 0; i < 1023; ++i) eager.Tick();
  EXPECT_EQ(calls, 0);
  eager.Tick();
  EXPECT_EQ(calls, 1);
  eager.Tick(5000);  // a large step checks the clock at once
  EXPECT_EQ(calls, 2);

  // An interval that never passes: only Yield gives control.
  calls = 0;
  EventPacer patient(ws, std::chrono::hours(1));
  for (int i = 0; i < 100000; ++i) patient.Tick();
  EXPECT_EQ(calls, 0);
  patient.Yield();
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace quillet
