// The --jsonl batch of quillet-cli: lines of JSON in, one result line out
// for each (see jsonl_line.h), in input order, the articles summarised on
// several threads at once.
//
// One thread reads lines and the workers (the calling thread one of them)
// summarise them, each article on a workspace of its own; the worker that
// finishes the next result to write writes the results in input order.
// Memory stays bounded: a line over kMaxInputBytes is skipped unread (it
// gives an error line), and the reader waits while 64 lines per job, or
// 64 MiB of lines, are read but not yet written. Output is flushed whenever
// the next result is not ready yet.

#ifndef QUILLET_CLI_JSONL_BATCH_H_
#define QUILLET_CLI_JSONL_BATCH_H_

#include <cstdio>
#include <string>

namespace quillet::cli {

struct BatchOptions {
  int jobs = 1;                  // worker threads, 1 or more
  int default_length_class = 0;  // for lines without "length_class"
};

// Reads input_fd (named input_name in messages) to its end and writes one
// result line for every line of it to out; a final line without a line
// break counts, the empty rest after the last one does not. Returns false
// with error set to "NAME: reason" when the input cannot be read or the
// output cannot be written; the results of the lines before are written
// (as far as the output takes them).
bool RunJsonlBatch(int input_fd, const std::string& input_name, std::FILE* out,
                   const BatchOptions& options, std::string* error);

}  // namespace quillet::cli

#endif  // QUILLET_CLI_JSONL_BATCH_H_
