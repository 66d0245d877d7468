#include "cli/cli_main.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "cli/cli_input.h"
#include "cli/cli_options.h"
#include "cli/json_output.h"
#include "cli/jsonl_batch.h"
#include "cli/run_article.h"
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

// The title as a field text, from --title-file or --title.
bool ReadTitle(const CliOptions& options, GbkText* title, std::size_t* replaced,
               std::string* error) {
  if (!options.title_file) {
    return ToFieldText(options.title, options.encoding, "--title", title,
                       replaced, error);
  }
  std::string bytes;
  if (!ReadInput(*options.title_file, &bytes, error)) return false;
  return ToFieldText(WithoutFinalLineBreak(std::move(bytes)), options.encoding,
                     InputName(*options.title_file), title, replaced, error);
}

bool ReadArticle(const CliOptions& options, GbkText* article,
                 std::size_t* replaced, std::string* error) {
  std::string bytes;
  if (!ReadInput(options.article_path, &bytes, error)) return false;
  return ToFieldText(bytes, options.encoding, InputName(options.article_path),
                     article, replaced, error);
}

std::string RenderOutput(const CliOptions& options, const Workspace& ws,
                         std::optional<Language> language) {
  if (options.json) {
    return WorkspaceJson(ws, language) + "\n";
  }
  return FromFieldText(ws.fields.output, options.encoding) + "\n";
}

// The --jsonl batch over the input named by the options.
int RunBatch(const CliOptions& options) {
  std::string error;
  const int input_fd = OpenInput(options.article_path, &error);
  if (input_fd < 0) {
    Complain(error);
    return kFailure;
  }
  BatchOptions batch;
  batch.jobs = options.jobs > 0
                   ? options.jobs
                   : std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  batch.default_length_class = options.length_class;
  // The input stays open: on a failed write a reader may still wait on it
  // until the process ends.
  if (!RunJsonlBatch(input_fd, InputName(options.article_path), stdout, batch, &error)) {
    Complain(error);
    return kFailure;
  }
  return 0;
}

// The one diagnostic of a run without a summary.
std::string NoSummaryReason(const GbkText& article) {
  if (article.empty()) return "no summary: the article is empty";
  return "no summary: the article is neither Chinese (it holds no U+7684) nor "
         "English (it holds no letter e)";
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

  ArticleInput input;
  input.length_class = options.length_class;
  std::size_t replaced = 0;
  std::string error;
  if (options.sample) {
    const Sample& sample = GetSample(*options.sample);
    input.title = sample.title;
    input.article = sample.text;
  } else if (!ReadArticle(options, &input.article, &replaced, &error) ||
             !ReadTitle(options, &input.title, &replaced, &error)) {
    Complain(error);
    return kFailure;
  }
  if (replaced > 0) {
    Complain(std::to_string(replaced) +
             (replaced == 1 ? " character" : " characters") +
             " that GBK cannot hold replaced by \"?\"");
  }

  Workspace ws;
  const std::optional<Language> language = RunArticle(input, ws);
  if (!language) {
    const std::string name =
        options.sample ? std::string("the sample") : InputName(options.article_path);
    Complain(name + ": " + NoSummaryReason(input.article));
  }
  if (!WriteOutput(RenderOutput(options, ws, language), &error)) {
    Complain(error);
    return kFailure;
  }
  return 0;
}

}  // namespace quillet::cli
