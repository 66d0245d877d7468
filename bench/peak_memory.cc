// quillet_bench_mem INPUT: builds the named benchmark input, summarises it
// once and prints one line of JSON (quillet_bench_mem --list names the
// inputs, one a line):
//   {"input": NAME, "bytes": N, "before_kib": B, "peak_kib": P}
// B is the peak resident set before the summary (program, input and
// workspace), P the peak of the whole process after it, both from
// getrusage. Run it once per input, each in a fresh process, so that one
// input's peak cannot hide behind another's.

#include <sys/resource.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "bench_inputs.h"
#include "pipeline/summarize.h"

namespace {

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // KiB on Linux
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quillet::bench;
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
  quillet::Workspace ws = WorkspaceFor(*input);
  const long before = PeakKib();
  quillet::Summarize(ws);
  const long peak = PeakKib();
  std::printf("{\"input\": \"%s\", \"bytes\": %zu, \"before_kib\": %ld, "
              "\"peak_kib\": %ld}\n",
              input->name.c_str(), input->text.size(), before, peak);
  return 0;
}
