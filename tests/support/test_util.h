// Shared helpers of the test binary: readable GBK literals and the like.

#ifndef QUILLET_TESTS_SUPPORT_TEST_UTIL_H_
#define QUILLET_TESTS_SUPPORT_TEST_UTIL_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tables/work_table.h"
#include "workspace/workspace.h"
#include "text/gbk_text.h"

namespace quillet::testing {

// The GBK bytes of a UTF-8 literal, so that tests can be written in the
// characters they are about. Aborts the test binary on a character that
// GBK cannot hold: that is a fault of the test, not of the code under test.
GbkText G(std::string_view utf8);

// The UTF-8 form of GBK bytes, for readable failure messages.
std::string U(const GbkText& gbk);

// The rows of a term table as (term, count) pairs in UTF-8, for readable
// comparisons and failures.
using Rows = std::vector<std::pair<std::string, std::string>>;
Rows TermRows(const WorkTable& table);

// Watches the ProcessEvents calls of a workspace, as a window would see
// them: how many calls there were, and the status captions shown, each
// change recorded once (in UTF-8). The recorder must outlive the runs.
struct ProgressRecorder {
  explicit ProgressRecorder(Workspace& ws);
  void Clear() {
    calls = 0;
    captions.clear();
  }
  int calls = 0;
  std::vector<std::string> captions;
};

// What a finished child process left: its exit status (128 plus the signal
// number when a signal ended it) and everything it wrote.
struct ProcessResult {
  int exit_status = -1;
  std::string out;
  std::string err;
};

struct ProcessOptions {
  std::string stdin_data;      // written to the child's standard input
  bool stdout_closed = false;  // the child's standard output is a pipe
                               // whose reading end is already closed
};

// Runs argv[0] (a path, no search) with the arguments argv and waits for
// it. The child starts with SIGPIPE at its default action. Aborts the test
// binary when the child cannot be started.
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const ProcessOptions& options = {});

// Runs the quillet-cli of this build with the arguments args, stdin_data
// on its standard input.
ProcessResult RunCli(std::vector<std::string> args, std::string stdin_data = "");

// A file with the given bytes in the temporary folder, removed again when
// the object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view contents);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace quillet::testing

#endif  // QUILLET_TESTS_SUPPORT_TEST_UTIL_H_
