// quillet_bench_mem INPUT: builds the named benchmark input, summarises it
// once, then five times more, and prints one line of JSON
// (quillet_bench_mem --list names the inputs, one a line):
//   {"input": NAME, "bytes": N, "before_kib": B, "peak_kib": P,
//    "cold_s": C, "warm_s": W}
// B is the peak resident set before the summary (program, input and
// workspace), P the peak of the whole process after the first summary,
// both from getrusage. C is the CPU time of the first Summarize in the
// process, W the median of the five after it, each on a fresh workspace:
// their ratio is what a fresh process pays for its first run (fresh pages,
// cold caches). The process sets up its heap as quillet-cli does. Run it
// once per input, each in a fresh process, so that one
// input's peak cannot hide behind another's.

#include <sys/resource.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <string>
#include <string_view>

#include "bench_inputs.h"
#include "cli/process_heap.h"
#include "pipeline/summarize.h"

namespace {

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds of one Summarize on ws.
double TimedSummary(quillet::Workspace& ws) {
  const double start = ThreadSeconds();
  quillet::Summarize(ws);
  return ThreadSeconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillet::bench;
  quillet::cli::PrepareProcessHeap();
  if (argc == 2 && std::string_view(argv[1]) == "--list") {
    for (const std::string& name : BenchInputNames()) std::printf("%s\n", name.c_str());
    return 0;
  }
  const auto input = argc == 2 ? MakeBenchInput(argv[1]) : std::nullopt;
  if (!input) {
    std::fprintf(stderr, "usage: %s INPUT\ninputs:", argv[0]);
    for (const std::string& name : BenchInputNames()) {
      std::fprintf(stderr, " %s", name.c_str());
    }
    std::fprintf(stderr, "\n");
    return 2;
  }
  double cold = 0;
  long before = 0;
  long peak = 0;
  {
    quillet::Workspace ws = WorkspaceFor(*input);
    before = PeakKib();
    cold = TimedSummary(ws);
    peak = PeakKib();
  }
  std::vector<double> warm;
  for (int i = 0; i < 5; ++i) {
    quillet::Workspace ws = WorkspaceFor(*input);
    warm.push_back(TimedSummary(ws));
  }
  std::sort(warm.begin(), warm.end());
  std::printf("{\"input\": \"%s\", \"bytes\": %zu, \"before_kib\": %ld, "
              "\"peak_kib\": %ld, \"cold_s\": %.6f, \"warm_s\": %.6f}\n",
              input->name.c_str(), input->text.size(), before, peak, cold,
              warm[warm.size() / 2]);
  return 0;
}
