#include "cli/jsonl_line.h"

#include <nlohmann/json.hpp>

#include <exception>
#include <optional>

#include "cli/cli_input.h"
#include "cli/json_output.h"
#include "cli/run_article.h"
#include "cli/title_line.h"
#include "workspace/workspace.h"

namespace quillet::cli {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::string Dump(const ordered_json& value) {
  return value.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

// The part of a parser message that tells where and what, as
// " (column N: problem)"; empty when the message has another form. What
// the parser last read is left out: it may be most of the line.
std::string ParseProblem(std::string_view message) {
  const std::size_t column = message.find("column ");
  if (column == std::string_view::npos) return "";
  std::string_view problem = message.substr(column);
  problem = problem.substr(0, problem.find("; last read"));
  return " (" + std::string(problem) + ")";
}

// The string member key of object as a field text; absent gives the empty
// text unless required. False with error set otherwise.
bool ReadText(const json& object, const char* key, bool required, GbkText* text,
              std::size_t* replaced, std::string* error) {
  const auto member = object.find(key);
  if (member == object.end()) {
    if (required) *error = std::string("no \"") + key + "\" member";
    return !required;
  }
  if (!member->is_string()) {
    *error = std::string("\"") + key + "\" is not a string";
    return false;
  }
  return ToFieldText(member->get_ref<const std::string&>(), Encoding::kUtf8, key,
                     text, replaced, error);
}

bool ReadLengthClass(const json& object, int* length_class, std::string* error) {
  const auto member = object.find("length_class");
  if (member == object.end()) return true;
  // A large unsigned number would wrap round as a signed one.
  if (member->is_number_unsigned()) {
    if (const auto value = member->get<json::number_unsigned_t>(); value <= 3) {
      *length_class = static_cast<int>(value);
      return true;
    }
  } else if (member->is_number_integer()) {
    if (const auto value = member->get<json::number_integer_t>(); value >= -1 && value <= 3) {
      *length_class = static_cast<int>(value);
      return true;
    }
  }
  *error = "\"length_class\" is not -1, 0, 1, 2 or 3";
  return false;
}

// "title_line": true takes the title from the article's first non-blank
// line, which then cannot have a "title" as well.
bool ReadTitleLine(const json& object, bool* title_line, std::string* error) {
  const auto member = object.find("title_line");
  if (member == object.end()) return true;
  if (!member->is_boolean()) {
    *error = "\"title_line\" is not true or false";
    return false;
  }
  *title_line = member->get<bool>();
  if (*title_line && object.contains("title")) {
    *error = "\"title\" and \"title_line\": true both give the title";
    return false;
  }
  return true;
}

// The input of one run from a parsed line, or false with error set.
bool ReadArticleInput(const json& object, ArticleInput* input,
                      std::size_t* replaced, std::string* error) {
  if (!object.is_object()) {
    *error = "not a JSON object";
    return false;
  }
  bool title_line = false;
  if (!ReadText(object, "article", true, &input->article, replaced, error) ||
      !ReadText(object, "title", false, &input->title, replaced, error) ||
      !ReadLengthClass(object, &input->length_class, error) ||
      !ReadTitleLine(object, &title_line, error)) {
    return false;
  }
  if (title_line) {
    TitledArticle titled = SplitTitleLine(input->article);
    input->title = std::move(titled.title);
    input->article = std::move(titled.article);
  }
  return true;
}

}  // namespace

std::string JsonlErrorLine(std::size_t number, const std::string& message) {
  ordered_json result = ordered_json::object();
  result["line"] = number;
  result["error"] = message;
  return Dump(result);
}

std::string SummarizeJsonLine(std::string_view line, std::size_t number,
                              int default_length_class) {
  if (IsBlank(line)) return JsonlErrorLine(number, "blank line");
  json object;
  try {
    object = json::parse(line);
  } catch (const json::parse_error& e) {
    return JsonlErrorLine(number, "not valid JSON" + ParseProblem(e.what()));
  }
  ArticleInput input;
  input.length_class = default_length_class;
  std::size_t replaced = 0;
  std::string error;
  if (!ReadArticleInput(object, &input, &replaced, &error)) {
    return JsonlErrorLine(number, error);
  }

  Workspace ws;
  const std::optional<Language> language = RunArticle(input, ws);
  std::string result = "{\"line\":" + std::to_string(number) + ",";
  AppendWorkspaceJsonMembers(result, ws, language);
  result += ",\"replaced\":" + std::to_string(replaced) + "}";
  return result;
}

std::string JsonlResultLine(std::string_view line, std::size_t length,
                            std::size_t number, int default_length_class) {
  if (length > kMaxInputBytes) return JsonlErrorLine(number, TooLargeReason(length));
  if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  try {
    return SummarizeJsonLine(line, number, default_length_class);
  } catch (const std::exception& e) {
    return JsonlErrorLine(number, std::string("internal error: ") + e.what());
  }
}

}  // namespace quillet::cli
