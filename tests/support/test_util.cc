#include "support/test_util.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "text/gbk_char.h"

namespace quillet::testing {

namespace {

// Converts with iconv, aborting on any byte that does not convert.
std::string Convert(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) std::abort();
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) {
    std::fprintf(stderr, "test text does not convert from %s to %s\n", from, to);
    std::abort();
  }
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

}  // namespace

GbkText G(std::string_view utf8) { return GbkText(Convert(utf8, "UTF-8", "CP936")); }

std::string U(const GbkText& gbk) {
  // Byte by byte: a two-byte character converts as a pair, any byte that
  // does not convert is shown as \xNN.
  std::string out;
  std::size_t i = 0;
  while (i < gbk.size()) {
    const std::size_t width = CharWidthAt(gbk.view(), i);
    iconv_t cd = iconv_open("UTF-8", "CP936");
    char buf[16];
    char* src = const_cast<char*>(gbk.data() + i);
    std::size_t src_left = width;
    char* dst = buf;
    std::size_t dst_left = sizeof buf;
    const bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1) &&
                    src_left == 0;
    iconv_close(cd);
    if (ok) {
      out.append(buf, sizeof buf - dst_left);
      i += width;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", gbk.byte(i));
      out += hex;
      i += 1;
    }
  }
  return out;
}

namespace {

[[noreturn]] void Fail(const char* what) {
  std::perror(what);
  std::abort();
}

void MakePipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) Fail("pipe2");
}

// Feeds input to fd_in and drains fd_out and fd_err until all are done;
// closes the three descriptors (each of which may be -1 for none).
void Exchange(std::string_view input, int fd_in, int fd_out, int fd_err,
              std::string* out, std::string* err) {
  std::size_t written = 0;
  if (fd_in >= 0 && input.empty()) {
    close(fd_in);
    fd_in = -1;
  }
  while (fd_in >= 0 || fd_out >= 0 || fd_err >= 0) {
    pollfd fds[3] = {{fd_in, POLLOUT, 0}, {fd_out, POLLIN, 0}, {fd_err, POLLIN, 0}};
    if (poll(fds, 3, -1) < 0) {
      if (errno == EINTR) continue;
      Fail("poll");
    }
    if (fd_in >= 0 && fds[0].revents != 0) {
      const ssize_t n = write(fd_in, input.data() + written, input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 || written == input.size()) {  // done, or the child stopped reading
        close(fd_in);
        fd_in = -1;
      }
    }
    int* readers[2] = {&fd_out, &fd_err};
    std::string* sinks[2] = {out, err};
    for (int k = 0; k < 2; ++k) {
      if (*readers[k] < 0 || fds[k + 1].revents == 0) continue;
      char buffer[65536];
      const ssize_t n = read(*readers[k], buffer, sizeof buffer);
      if (n > 0) {
        sinks[k]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(*readers[k]);
        *readers[k] = -1;
      }
    }
  }
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const ProcessOptions& options) {
  // Writing to a child that has already exited must not end the tests.
  signal(SIGPIPE, SIG_IGN);

  int in[2], out[2], err[2];
  MakePipe(in);
  MakePipe(out);
  MakePipe(err);
  if (options.stdout_closed) {
    close(out[0]);
    out[0] = -1;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t default_signals;
  sigemptyset(&default_signals);
  sigaddset(&default_signals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &default_signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid;
  const int spawned = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) {
    errno = spawned;
    Fail(args[0]);
  }
  close(in[0]);
  close(out[1]);
  close(err[1]);

  ProcessResult result;
  Exchange(options.stdin_data, in[1], out[0], err[0], &result.out, &result.err);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) Fail("waitpid");
  }
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

ProcessResult RunCli(std::vector<std::string> args, std::string stdin_data) {
  args.insert(args.begin(), QUILLET_CLI_PATH);
  ProcessOptions options;
  options.stdin_data = std::move(stdin_data);
  return RunProcess(args, options);
}

TempFile::TempFile(std::string_view contents) {
  const char* dir = std::getenv("TMPDIR");
  std::string pattern = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") +
                        "/quillet_test_XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0) Fail("mkstemp");
  path_ = pattern;
  std::size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = write(fd, contents.data() + done, contents.size() - done);
    if (n < 0) Fail("write");
    done += static_cast<std::size_t>(n);
  }
  close(fd);
}

TempFile::~TempFile() { unlink(path_.c_str()); }

Rows TermRows(const WorkTable& table) {
  Rows rows;
  for (int r = 0; r < table.RowCount(); ++r) {
    rows.emplace_back(U(table.GetCell(r, kTextColumn)), U(table.GetCell(r, kColumnA)));
  }
  return rows;
}

ProgressRecorder::ProgressRecorder(Workspace& ws) {
  ws.process_events = [this, &ws] {
    ++calls;
    const std::string caption = U(ws.fields.status);
    if (captions.empty() || captions.back() != caption) captions.push_back(caption);
  };
}

}  // namespace quillet::testing
