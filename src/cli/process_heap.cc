#include "cli/process_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

namespace quillet::cli {

void PrepareProcessHeap() {
  constexpr int kStep = 64 << 20;
  mallopt(M_MMAP_THRESHOLD, kStep);
  mallopt(M_TRIM_THRESHOLD, 2 * kStep);
  mallopt(M_TOP_PAD, kStep);
  // A block below the mmap threshold grows the heap by itself and the step.
  void* first = std::malloc(kStep / 2);
  if (first == nullptr) return;
  const auto start = reinterpret_cast<std::uintptr_t>(first);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  constexpr std::uintptr_t kHugePage = 2 << 20;
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (end > aligned) {
    madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
  }
  std::free(first);
}

}  // namespace quillet::cli
