// quillet-cli: the extractive summary of one article from the command
// line. Everything but the process set-up lives in cli_main.cc.

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>

#include "cli/cli_main.h"

namespace {

// A run takes its memory from the kernel as fresh zeroed pages, and a long
// article touches tens of megabytes of them: page by page, the faults cost
// as much as a good part of the summary. So the main heap is kept whole
// once grown (no trimming, big blocks from the heap rather than mmap, so
// that a freed text's pages serve the next one), grown in one large step,
// and that step is offered to the kernel for transparent huge pages, one
// fault per 2 MiB where the system allows it (a hint; without it nothing
// changes but the speed).
void PrepareHeap() {
  constexpr int kStep = 64 << 20;
  mallopt(M_MMAP_THRESHOLD, kStep);
  mallopt(M_TRIM_THRESHOLD, 2 * kStep);
  mallopt(M_TOP_PAD, kStep);
  // A block below the mmap threshold grows the heap by itself and the step.
  void* first = std::malloc(kStep / 2);
  const auto start = reinterpret_cast<std::uintptr_t>(first);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  constexpr std::uintptr_t kHugePage = 2 << 20;
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (first != nullptr && end > aligned) {
    madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
  }
  std::free(first);
}

}  // namespace

int main(int argc, char** argv) {
  PrepareHeap();
  // A closed output pipe shows as a failed write, reported and exited on.
  std::signal(SIGPIPE, SIG_IGN);
  return quillet::cli::RunCommandLine(argc, argv);
}
