#include "prep/sentence_table.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "text/text_ops.h"

namespace quillet {

namespace {

const GbkText kSentenceMark = "\xA1\xFE";  // 〓
const GbkText kOneScore = "1";

// A piece shorter than this is no candidate sentence.
constexpr int kMinSentenceBytes = 15;

struct BracketPair {
  GbkText open;
  GbkText close;
};

// The bracket passes of a language, in the order they run. Each pass
// removes at most the first bracketed part, so the number of passes is the
// number of bracketed parts a sentence can lose.
const BracketPair kFullWidthBrackets = {"\xA3\xA8", "\xA3\xA9"};  // （ ）
const BracketPair kAsciiBrackets = {"(", ")"};
const BracketPair kChineseBracketPasses[] = {
    kFullWidthBrackets, kFullWidthBrackets,
    kAsciiBrackets,     kAsciiBrackets, kAsciiBrackets, kAsciiBrackets,
};
const BracketPair kEnglishBracketPasses[] = {
    kAsciiBrackets, kAsciiBrackets, kAsciiBrackets, kAsciiBrackets,
};

// A leading clause ends with the clause mark lying wholly within the first
// window bytes of the sentence.
struct ClauseRule {
  int window;
  GbkText mark;
};
const ClauseRule kChineseClause = {10, "\xA3\xAC"};  // ，
const ClauseRule kEnglishClause = {20, ","};

// t without the stretch from its first opening mark to the first closing
// mark behind it, both marks included; nullopt when there is none. When no
// closing mark stands behind the opening mark, t is kept whole: cutting
// there would repeat part of the sentence instead of removing anything.
std::optional<GbkText> RemoveFirstBracketed(const GbkText& t, const BracketPair& brackets) {
  const int p = FindText(t, brackets.open);
  if (p == -1) return std::nullopt;
  const int length = TextLength(t);
  const int open_end = p - 1 + TextLength(brackets.open);  // bytes up to it
  // The opening mark was found on a character boundary and is whole
  // characters, so the text behind it starts on one too: searching it finds
  // exactly the closing marks a scan of t would find there.
  const int in_tail = FindText(TextRight(t, length - open_end), brackets.close);
  if (in_tail == -1) return std::nullopt;
  const int q = open_end + in_tail;
  const int close_end = q - 1 + TextLength(brackets.close);
  return ConcatText(TextLeft(t, p - 1), TextRight(t, length - close_end));
}

// t from two bytes behind the start of its first clause mark on, when that
// mark lies wholly within the window; nullopt when it does not. Two bytes
// whatever the mark's width: for "，" exactly the mark goes, for "," the
// comma and the byte behind it, normally a blank.
std::optional<GbkText> CutLeadingClause(const GbkText& t, const ClauseRule& clause) {
  if (FindText(TextLeft(t, clause.window), clause.mark) == -1) return std::nullopt;
  const int p = FindText(t, clause.mark);
  return TextRight(t, TextLength(t) - p - 1);
}

}  // namespace

void BuildSentenceTable(Workspace& ws) {
  WorkTable& table = ws.SentenceTable;
  table.DeleteAllRows();
  const TextList pieces = SplitText(ws.WorkText, kSentenceMark);
  // Only the first copy of a piece counts; later ones are byte-exact
  // repeats and are dropped as if empty.
  std::unordered_set<std::string_view> seen;
  seen.reserve(pieces.size());
  for (const GbkText& piece : pieces) {
    if (!seen.insert(piece.view()).second) continue;
    if (TextLength(piece) < kMinSentenceBytes) continue;
    const int r = table.InsertRow(piece);
    table.SetCell(r, kColumnB, NumberToText(r));
    table.SetCell(r, kColumnA, kOneScore);
  }
}

void TrimSentences(Workspace& ws, Language language) {
  const bool chinese = language == Language::kChinese;
  const std::span<const BracketPair> passes =
      chinese ? std::span<const BracketPair>(kChineseBracketPasses)
              : std::span<const BracketPair>(kEnglishBracketPasses);
  const ClauseRule& clause = chinese ? kChineseClause : kEnglishClause;

  WorkTable& table = ws.SentenceTable;
  const int rows = table.RowCount();
  for (int r = 0; r < rows; ++r) {
    // Most sentences lose nothing: the cell is read in place and written
    // only when a step cut something.
    const GbkText& cell = table.GetCell(r, kTextColumn);
    std::optional<GbkText> trimmed;
    const BracketPair* idle = nullptr;  // brackets of a pass that cut nothing
    for (const BracketPair& brackets : passes) {
      // A pass that cut nothing leaves the text as it was, so the same
      // brackets again cut nothing either.
      if (idle != nullptr && brackets.open == idle->open && brackets.close == idle->close) {
        continue;
      }
      std::optional<GbkText> cut = RemoveFirstBracketed(trimmed ? *trimmed : cell, brackets);
      if (cut) {
        trimmed = std::move(cut);
        idle = nullptr;
      } else {
        idle = &brackets;
      }
    }
    if (std::optional<GbkText> cut = CutLeadingClause(trimmed ? *trimmed : cell, clause)) {
      trimmed = std::move(cut);
    }
    if (trimmed) table.SetCell(r, kTextColumn, *trimmed);
  }
}

void RebuildWorkText(Workspace& ws) {
  // The rows are pieces of the marked text, trimmed, so WorkText's own
  // buffer holds them all: the rebuild takes no fresh memory.
  std::string joined = ws.WorkText.TakeBytes();
  joined.clear();
  const int rows = ws.SentenceTable.RowCount();
  for (int r = 0; r < rows; ++r) {
    joined += ws.SentenceTable.GetCell(r, kTextColumn).view();
  }
  ws.WorkText = GbkText(std::move(joined));
}

}  // namespace quillet
