// The whole of quillet-cli behind main: options, inputs, the summary runs
// (one per article file, on --jobs threads), and the plain or JSON output
// in argument order. Diagnostics go to standard error, one line each,
// prefixed "quillet-cli: ".
//
// Exit status: 0 after a run of every file (also when an article is empty
// or of neither language and so has no summary, and after a --jsonl batch
// whatever its error lines), 2 for a usage error, a failed write of the
// output, or any input that cannot be read or is refused (NUL byte, not
// text in its encoding, over 16 MiB); the other files are still summarised.

#ifndef QUILLET_CLI_CLI_MAIN_H_
#define QUILLET_CLI_CLI_MAIN_H_

namespace quillet::cli {

// Expects SIGPIPE to be ignored, so that a closed output is an error to
// report rather than the end of the process.
int RunCommandLine(int argc, const char* const* argv);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_CLI_MAIN_H_
