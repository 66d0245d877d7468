#include "cli/json_output.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "codec/gbk_codec.h"
#include "pipeline/summarize.h"
#include "samples/samples.h"

namespace quillet::cli {
namespace {

using nlohmann::ordered_json;

// The same object built as a JSON document and dumped by the library: what
// the writer must give byte for byte.
std::string LibraryJson(const Workspace& ws, std::optional<Language> language) {
  const auto text = [](const GbkText& t) { return ordered_json(GbkToUtf8(t.view())); };
  const auto rows = [&](const WorkTable& table, int columns) {
    ordered_json all = ordered_json::array();
    for (int r = 0; r < table.RowCount(); ++r) {
      ordered_json row = ordered_json::array();
      for (int c = 0; c < columns; ++c) row.push_back(text(table.GetCell(r, c)));
      all.push_back(std::move(row));
    }
    return all;
  };
  ordered_json json = ordered_json::object();
  json["language"] = !language ? ordered_json(nullptr)
                     : *language == Language::kChinese ? ordered_json("chinese")
                                                       : ordered_json("english");
  json["summary"] = text(ws.fields.output);
  json["status"] = text(ws.fields.status);
  json["keywords"] = text(ws.fields.keywords);
  json["sentences"] = rows(ws.SentenceTable, 3);
  json["terms"] = rows(ws.TermTable, 2);
  json["summary_rows"] = rows(ws.SummaryTable, 2);
  return json.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

TEST(WorkspaceJsonTest, WritesWhatTheJsonLibraryWrites) {
  for (SampleName name : {SampleName::kInitial, SampleName::kChinese,
                          SampleName::kEnglish}) {
    Workspace ws;
    ws.fields.title = GetSample(name).title;
    ws.fields.content = GetSample(name).text;
    ws.fields.length_class = 1;
    const std::optional<Language> language = Summarize(ws);
    EXPECT_EQ(WorkspaceJson(ws, language), LibraryJson(ws, language));
  }

  // Every byte that needs escaping, DEL (which does not), a byte that is
  // no GBK character, and empty tables and texts.
  Workspace ws;
  std::string controls;
  for (int b = 1; b < 0x20; ++b) controls += static_cast<char>(b);
  ws.fields.output = GbkText(controls + "\"\\/\x7F" "\xB5\xC4\xFF" "end");
  ws.fields.status = GbkText("\r\n\t");
  ws.SentenceTable.InsertRow(GbkText("a \"quoted\" \\ row\x81"));
  ws.TermTable.InsertRow(GbkText("\x1F"));
  EXPECT_EQ(WorkspaceJson(ws, std::nullopt), LibraryJson(ws, std::nullopt));
  EXPECT_EQ(WorkspaceJson(Workspace(), Language::kEnglish),
            LibraryJson(Workspace(), Language::kEnglish));
}

}  // namespace
}  // namespace quillet::cli
