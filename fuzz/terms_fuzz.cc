// Fuzzes the fast term statistics against the plain ones kept as the
// reference. The first input byte picks the stage (odd: Chinese terms,
// even: English words); the rest is the counting text, capped at a few KB
// because the reference grows with the square of its length. Both versions
// must leave the same TermTable, WorkText, CharList, status and keywords,
// and the window must have seen the same progress captions.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "reference/chinese_terms.h"
#include "reference/english_words.h"
#include "terms/chinese_terms.h"
#include "terms/english_words.h"

namespace quillet {
namespace {

constexpr std::size_t kMaxText = 3000;

struct Outcome {
  std::vector<GbkText> cells;  // term and count of each row in turn
  GbkText work_text;
  TextList char_list;
  GbkText status;
  GbkText keywords;
  std::vector<GbkText> captions_seen;  // distinct in a row, from the first

  bool operator==(const Outcome&) const = default;
};

template <typename Stage>
Outcome Run(const GbkText& text, Stage stage) {
  Workspace ws;
  ws.TermTable.InsertRow("stale");
  ws.WorkText = text;
  Outcome o;
  ws.process_events = [&] {
    if (ws.fields.status.empty()) return;
    if (o.captions_seen.empty() || o.captions_seen.back() != ws.fields.status) {
      o.captions_seen.push_back(ws.fields.status);
    }
  };
  stage(ws);
  for (int r = 0; r < ws.TermTable.RowCount(); ++r) {
    o.cells.push_back(ws.TermTable.GetCell(r, kTextColumn));
    o.cells.push_back(ws.TermTable.GetCell(r, kColumnA));
  }
  o.work_text = ws.WorkText;
  o.char_list = ws.CharList;
  o.status = ws.fields.status;
  o.keywords = ws.fields.keywords;
  return o;
}

void Fail(const char* stage, const GbkText& text) {
  std::fprintf(stderr, "%s: the fast version differs from the reference on", stage);
  for (unsigned char b : text.view()) std::fprintf(stderr, " %02X", b);
  std::fprintf(stderr, "\n");
  std::abort();
}

void CheckChinese(const GbkText& text) {
  const Outcome fast = Run(text, [](Workspace& ws) {
    BuildCharList(ws);
    ExtractChineseTerms(ws);
  });
  const Outcome plain = Run(text, [](Workspace& ws) {
    reference::BuildCharList(ws);
    reference::ExtractChineseTerms(ws);
  });
  if (!(fast == plain)) Fail("ExtractChineseTerms", text);
}

void CheckEnglish(const GbkText& text) {
  Outcome fast = Run(text, [](Workspace& ws) { CountEnglishWords(ws); });
  Outcome plain = Run(text, [](Workspace& ws) { reference::CountEnglishWords(ws); });
  // The stage writes its one caption after the count, when the plain
  // version no longer yields.
  fast.captions_seen.clear();
  plain.captions_seen.clear();
  if (!(fast == plain)) Fail("CountEnglishWords", text);
}

}  // namespace
}  // namespace quillet

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t length = std::min(size - 1, quillet::kMaxText);
  const quillet::GbkText text(
      std::string(reinterpret_cast<const char*>(data) + 1, length));
  if (data[0] & 1) {
    quillet::CheckChinese(text);
  } else {
    quillet::CheckEnglish(text);
  }
  return 0;
}
