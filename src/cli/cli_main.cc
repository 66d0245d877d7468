#include "cli/cli_main.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli_input.h"
#include "cli/cli_options.h"
#include "cli/json_output.h"
#include "cli/jsonl_batch.h"
#include "cli/ordered_runs.h"
#include "cli/run_article.h"
#include "cli/title_line.h"
#include "samples/samples.h"

namespace quillet::cli {

namespace {

constexpr int kFailure = 2;

void Complain(const std::string& message) {
  std::fprintf(stderr, "quillet-cli: %s\n", message.c_str());
}

// Writes all of text to standard output and flushes it; false with an
// error message when the stream fails (a closed pipe, a full disk).
bool WriteOutput(const std::string& text, std::string* error) {
  errno = 0;
  const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                  std::fflush(stdout) == 0;
  if (!ok) {
    *error = std::string("standard output: ") +
             (errno != 0 ? std::strerror(errno) : "write failed");
  }
  return ok;
}

// The number of results that may wait, per thread, for one still running.
constexpr std::size_t kResultsAheadPerJob = 4;

int JobCount(const CliOptions& options) {
  return options.jobs > 0
             ? options.jobs
             : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

std::string ReplacedMessage(std::size_t replaced) {
  return std::to_string(replaced) + (replaced == 1 ? " character" : " characters") +
         " that GBK cannot hold replaced by \"?\"";
}

// The title from --title-file or --title, shared by every article.
struct Title {
  GbkText text;
  std::size_t replaced = 0;
  std::string name;  // how messages name it
  std::string note;  // the encoding guessed, if any
};

bool ReadTitle(const CliOptions& options, Title* title, std::string* error) {
  if (!options.title_file) {
    // An argument holds no NUL byte, so it cannot be UTF-16: with
    // --encoding utf-16 the title is read as the terminal gave it.
    const Encoding encoding =
        options.encoding == Encoding::kUtf16 ? Encoding::kAuto : options.encoding;
    title->name = "--title";
    return ToFieldText(options.title, encoding, title->name, &title->text, &title->replaced,
                       error, &title->note);
  }
  title->name = InputName(*options.title_file);
  std::string bytes;
  if (!ReadInput(*options.title_file, &bytes, error)) return false;
  return ToFieldText(WithoutFinalLineBreak(std::move(bytes)), options.encoding, title->name,
                     &title->text, &title->replaced, error, &title->note);
}

std::string Dump(const nlohmann::ordered_json& value) {
  return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// The one diagnostic of a run without a summary.
std::string NoSummaryReason(const GbkText& article) {
  if (article.empty()) return "no summary: the article is empty";
  return "no summary: the article is neither Chinese (it holds no U+7684) nor "
         "English (it holds no letter e)";
}

// What summarising one article file came to.
struct FileOutcome {
  std::string output;                 // for standard output
  std::vector<std::string> messages;  // for standard error, one line each
  bool failed = false;                // not read, or refused
};

// How a run of one or more article files is to go.
struct FileRun {
  const CliOptions& options;
  const Title& title;
  bool several;  // more than one file: named outputs and messages
};

// The output of a finished run: the plain summary, or the --json object
// (with "file" first when there are several files).
std::string RenderOutput(const FileRun& run, const std::string& path, const Workspace& ws,
                         std::optional<Language> language) {
  if (!run.options.json) return FromFieldText(ws.fields.output, run.options.encoding) + "\n";
  if (!run.several) return Dump(WorkspaceJson(ws, language));
  nlohmann::ordered_json object = nlohmann::ordered_json::object();
  object["file"] = path;
  nlohmann::ordered_json fields = WorkspaceJson(ws, language);
  for (auto& [key, value] : fields.items()) object[key] = std::move(value);
  return Dump(object);
}

FileOutcome Refused(const FileRun& run, const std::string& path, const std::string& error) {
  FileOutcome outcome;
  outcome.failed = true;
  outcome.messages.push_back(error);
  if (run.several && run.options.json) {
    // The message without the name that "file" gives already.
    const std::string prefix = InputName(path) + ": ";
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["file"] = path;
    object["error"] = error.starts_with(prefix) ? error.substr(prefix.size()) : error;
    outcome.output = Dump(object);
  }
  return outcome;
}

FileOutcome SummarizeFile(const FileRun& run, const std::string& path) {
  const std::string name = InputName(path);
  ArticleInput input;
  input.length_class = run.options.length_class;
  std::size_t replaced = 0;
  std::string bytes;
  std::string error;
  std::string note;
  if (!ReadInput(path, &bytes, &error) ||
      !ToFieldText(bytes, run.options.encoding, name, &input.article, &replaced, &error,
                   &note)) {
    return Refused(run, path, error);
  }
  std::string().swap(bytes);
  FileOutcome outcome;
  if (!note.empty()) outcome.messages.push_back(note);
  if (run.options.title_line) {
    TitledArticle titled = SplitTitleLine(input.article);
    input.title = std::move(titled.title);
    input.article = std::move(titled.article);
  } else {
    input.title = run.title.text;
    // With one file the title's characters are counted with the article's.
    if (!run.several) replaced += run.title.replaced;
  }
  if (replaced > 0) {
    outcome.messages.push_back(run.several ? name + ": " + ReplacedMessage(replaced)
                                           : ReplacedMessage(replaced));
  }
  Workspace ws;
  const std::optional<Language> language = RunArticle(input, ws);
  if (!language) outcome.messages.push_back(name + ": " + NoSummaryReason(input.article));
  outcome.output = RenderOutput(run, path, ws, language);
  return outcome;
}

FileOutcome SummarizeFileSafely(const FileRun& run, const std::string& path) {
  try {
    return SummarizeFile(run, path);
  } catch (const std::exception& e) {
    return Refused(run, path, InputName(path) + ": internal error: " + e.what());
  }
}

// Summarises every file of the options on --jobs threads and writes the
// outcomes in argument order, plain summaries of several files each under
// a "==> FILE <==" line (a blank line before all but the first).
int RunFiles(const CliOptions& options) {
  Title title;
  std::string error;
  if (!options.title_line && !ReadTitle(options, &title, &error)) {
    Complain(error);
    return kFailure;
  }
  if (!title.note.empty()) Complain(title.note);
  const FileRun run{options, title, options.files.size() > 1};
  if (run.several && title.replaced > 0) {
    Complain(title.name + ": " + ReplacedMessage(title.replaced));
  }

  bool any_failed = false;
  bool header_written = false;
  const auto write = [&](std::size_t i, const FileOutcome& outcome) {
    for (const std::string& message : outcome.messages) Complain(message);
    any_failed = any_failed || outcome.failed;
    std::string text;
    if (run.several && !options.json && !outcome.failed) {
      text = (header_written ? "\n==> " : "==> ") + InputName(options.files[i]) + " <==\n";
      header_written = true;
    }
    text += outcome.output;
    if (!text.empty() && !WriteOutput(text, &error)) {
      Complain(error);
      return false;
    }
    return true;
  };
  const int jobs = JobCount(options);
  const bool written = RunInOrder<FileOutcome>(
      options.files.size(), jobs, kResultsAheadPerJob * static_cast<std::size_t>(jobs),
      [&](std::size_t i) { return SummarizeFileSafely(run, options.files[i]); }, write);
  return written && !any_failed ? 0 : kFailure;
}

// The built-in sample, summarised as the window holds it.
int RunSample(const CliOptions& options) {
  ArticleInput input;
  input.length_class = options.length_class;
  const Sample& sample = GetSample(*options.sample);
  input.title = sample.title;
  input.article = sample.text;
  Workspace ws;
  const std::optional<Language> language = RunArticle(input, ws);
  if (!language) Complain("the sample: " + NoSummaryReason(input.article));
  const Title no_title;
  const FileRun run{options, no_title, false};
  std::string error;
  if (!WriteOutput(RenderOutput(run, "", ws, language), &error)) {
    Complain(error);
    return kFailure;
  }
  return 0;
}

// The --jsonl batch over the one input named by the options.
int RunBatch(const CliOptions& options) {
  const std::string& path = options.files.front();
  std::string error;
  const int input_fd = OpenInput(path, &error);
  if (input_fd < 0) {
    Complain(error);
    return kFailure;
  }
  BatchOptions batch;
  batch.jobs = JobCount(options);
  batch.default_length_class = options.length_class;
  // The input stays open: on a failed write a reader may still wait on it
  // until the process ends.
  if (!RunJsonlBatch(input_fd, InputName(path), stdout, batch, &error)) {
    Complain(error);
    return kFailure;
  }
  return 0;
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv) {
  const ParseOutcome parsed = ParseCliOptions(argc, argv);
  if (!parsed.options) {
    if (!parsed.error.empty()) Complain(parsed.error);
    std::string error;
    if (!WriteOutput(parsed.output, &error)) {
      Complain(error);
      return kFailure;
    }
    return parsed.exit_status;
  }
  const CliOptions& options = *parsed.options;
  if (options.jsonl) return RunBatch(options);
  if (options.sample) return RunSample(options);
  return RunFiles(options);
}

}  // namespace quillet::cli
