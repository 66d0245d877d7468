#include "cli/json_output.h"

#include <algorithm>

#include "codec/gbk_codec.h"

namespace quillet::cli {

namespace {

bool NeedsEscape(char c) {
  return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

// Appends the escaped form of s; s is not part of out.
void AppendEscaped(std::string& out, std::string_view s) {
  static constexpr char kHex[] = "0123456789abcdef";
  for (const char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[static_cast<unsigned char>(c) >> 4];
          out += kHex[c & 0x0F];
        } else {
          out += c;
        }
    }
  }
}

// Escapes, in place, what was appended to out from start on.
void EscapeFrom(std::string& out, std::size_t start) {
  const auto first = std::find_if(out.begin() + static_cast<std::ptrdiff_t>(start),
                                  out.end(), NeedsEscape);
  if (first == out.end()) return;
  const std::string tail(first, out.end());
  out.erase(first, out.end());
  AppendEscaped(out, tail);
}

void AppendText(std::string& out, const GbkText& text) {
  out += '"';
  const std::size_t start = out.size();
  AppendGbkToUtf8(text.view(), out);
  EscapeFrom(out, start);
  out += '"';
}

// Every row of table as an array of its first columns cells.
void AppendRows(std::string& out, const WorkTable& table, int columns) {
  out += '[';
  for (int r = 0; r < table.RowCount(); ++r) {
    out += r == 0 ? "[" : ",[";
    for (int c = 0; c < columns; ++c) {
      if (c > 0) out += ',';
      AppendText(out, table.GetCell(r, c));
    }
    out += ']';
  }
  out += ']';
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view s) {
  out += '"';
  const std::size_t start = out.size();
  out += s;
  EscapeFrom(out, start);
  out += '"';
}

void AppendWorkspaceJsonMembers(std::string& out, const Workspace& ws,
                                std::optional<Language> language) {
  out += "\"language\":";
  out += !language ? "null"
         : *language == Language::kChinese ? "\"chinese\""
                                           : "\"english\"";
  out += ",\"summary\":";
  AppendText(out, ws.fields.output);
  out += ",\"status\":";
  AppendText(out, ws.fields.status);
  out += ",\"keywords\":";
  AppendText(out, ws.fields.keywords);
  out += ",\"sentences\":";
  AppendRows(out, ws.SentenceTable, 3);
  out += ",\"terms\":";
  AppendRows(out, ws.TermTable, 2);
  out += ",\"summary_rows\":";
  AppendRows(out, ws.SummaryTable, 2);
}

std::string WorkspaceJson(const Workspace& ws, std::optional<Language> language) {
  std::string out = "{";
  AppendWorkspaceJsonMembers(out, ws, language);
  out += '}';
  return out;
}

}  // namespace quillet::cli
