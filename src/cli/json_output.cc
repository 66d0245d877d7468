#include "cli/json_output.h"

#include "codec/gbk_codec.h"

namespace quillet::cli {

namespace {

nlohmann::ordered_json Text(const GbkText& text) {
  return GbkToUtf8(text.view());
}

// Every row of table as an array of its first columns cells.
nlohmann::ordered_json Rows(const WorkTable& table, int columns) {
  nlohmann::ordered_json rows = nlohmann::ordered_json::array();
  for (int r = 0; r < table.RowCount(); ++r) {
    nlohmann::ordered_json row = nlohmann::ordered_json::array();
    for (int c = 0; c < columns; ++c) row.push_back(Text(table.GetCell(r, c)));
    rows.push_back(std::move(row));
  }
  return rows;
}

nlohmann::ordered_json LanguageName(std::optional<Language> language) {
  if (!language) return nullptr;
  return *language == Language::kChinese ? "chinese" : "english";
}

}  // namespace

nlohmann::ordered_json WorkspaceJson(const Workspace& ws,
                                     std::optional<Language> language) {
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json["language"] = LanguageName(language);
  json["summary"] = Text(ws.fields.output);
  json["status"] = Text(ws.fields.status);
  json["keywords"] = Text(ws.fields.keywords);
  json["sentences"] = Rows(ws.SentenceTable, 3);
  json["terms"] = Rows(ws.TermTable, 2);
  json["summary_rows"] = Rows(ws.SummaryTable, 2);
  return json;
}

}  // namespace quillet::cli
