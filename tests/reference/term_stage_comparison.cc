#include "reference/term_stage_comparison.h"

#include <sstream>
#include <vector>

#include "codec/gbk_codec.h"
#include "reference/chinese_terms.h"
#include "reference/english_words.h"
#include "terms/chinese_terms.h"
#include "terms/english_words.h"

namespace quillet::reference {

namespace {

// Everything a term stage leaves behind.
struct Outcome {
  std::vector<std::vector<GbkText>> rows;  // term and count of each row
  GbkText work_text;
  CharacterList char_list;
  GbkText status;
  GbkText keywords;
  // The status captions the window saw, each once, in order, from the
  // first one the stage wrote.
  std::vector<GbkText> captions_seen;

  bool operator==(const Outcome&) const = default;
};

using Stage = void (*)(Workspace&);

constexpr const char* kUnsetStatus = "unset";

Outcome RunStage(const GbkText& counting_text, Stage stage) {
  Workspace ws;
  ws.fields.status = kUnsetStatus;
  ws.TermTable.InsertRow("stale");
  Outcome o;
  ws.process_events = [&] {
    if (ws.fields.status == GbkText(kUnsetStatus)) return;
    if (o.captions_seen.empty() || o.captions_seen.back() != ws.fields.status) {
      o.captions_seen.push_back(ws.fields.status);
    }
  };
  ws.WorkText = counting_text;
  stage(ws);
  for (int r = 0; r < ws.TermTable.RowCount(); ++r) {
    o.rows.push_back({ws.TermTable.GetCell(r, kTextColumn),
                      ws.TermTable.GetCell(r, kColumnA)});
  }
  o.work_text = ws.WorkText;
  o.char_list = ws.CharList;
  o.status = ws.fields.status;
  o.keywords = ws.fields.keywords;
  return o;
}

std::string Readable(const GbkText& text) { return GbkToUtf8(text.view()); }

std::string Hex(const GbkText& text) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : text.view()) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
    out += ' ';
  }
  return out;
}

std::string Describe(const Outcome& o) {
  std::ostringstream out;
  out << "rows:";
  for (const auto& row : o.rows) {
    out << " [" << Readable(row[0]) << "|" << Readable(row[1]) << "]";
  }
  out << "\nwork text: [" << Readable(o.work_text) << "]";
  out << "\nchar list: " << o.char_list.size() << " elements";
  out << "\nstatus: " << Readable(o.status) << "  keywords: ["
      << Readable(o.keywords) << "]";
  out << "\ncaptions seen:";
  for (const GbkText& c : o.captions_seen) out << " " << Readable(c);
  return out.str();
}

void FastChineseTerms(Workspace& ws) {
  quillet::BuildCharList(ws);
  quillet::ExtractChineseTerms(ws);
}

void PlainChineseTerms(Workspace& ws) {
  reference::BuildCharList(ws);
  reference::ExtractChineseTerms(ws);
}

}  // namespace

std::optional<std::string> CompareTermStages(const GbkText& counting_text,
                                             Language language) {
  Outcome fast;
  Outcome plain;
  if (language == Language::kChinese) {
    fast = RunStage(counting_text, FastChineseTerms);
    plain = RunStage(counting_text, PlainChineseTerms);
  } else {
    fast = RunStage(counting_text, quillet::CountEnglishWords);
    plain = RunStage(counting_text, reference::CountEnglishWords);
    // The plain count yields only while words are counted, so before its
    // one caption is written.
    fast.captions_seen.clear();
    plain.captions_seen.clear();
  }
  if (fast == plain) return std::nullopt;
  return "text [" + Readable(counting_text) + "] bytes " + Hex(counting_text) +
         "\n--- fast\n" + Describe(fast) + "\n--- reference\n" + Describe(plain);
}

}  // namespace quillet::reference
