// quillet-cli: the extractive summary of one article from the command
// line. Everything but the process set-up lives in cli_main.cc.

#include <csignal>

#include "cli/cli_main.h"
#include "cli/process_heap.h"

int main(int argc, char** argv) {
  quillet::cli::PrepareProcessHeap();
  // A closed output pipe shows as a failed write, reported and exited on.
  std::signal(SIGPIPE, SIG_IGN);
  return quillet::cli::RunCommandLine(argc, argv);
}
