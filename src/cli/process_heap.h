// The heap set-up of a command-line process that summarises long articles.
//
// A run takes its memory from the kernel as fresh zeroed pages, and a long
// article touches tens of megabytes of them: page by page, the faults cost
// as much as a good part of the summary, and they make the first run of a
// process much slower than the next. PrepareProcessHeap keeps the main
// heap whole once grown (no trimming; big blocks come from the heap rather
// than from mmap, so that a freed text's pages serve the next one), grows
// it in one large step, and offers that step to the kernel for transparent
// huge pages: one fault per 2 MiB where the system allows it. Without huge
// pages nothing changes but the speed.
//
// Cost: a few system calls; 64 MiB of address space, of which only what is
// touched is memory. Process-wide: call it once, first thing in main,
// before any thread starts.

#ifndef QUILLET_CLI_PROCESS_HEAP_H_
#define QUILLET_CLI_PROCESS_HEAP_H_

namespace quillet::cli {

void PrepareProcessHeap();

}  // namespace quillet::cli

#endif  // QUILLET_CLI_PROCESS_HEAP_H_
