#include "reference/chinese_terms.h"

#include <cstdint>
#include <vector>

#include "text/text_ops.h"

namespace quillet::reference {

namespace {

constexpr int kLongestRun = 17;      // characters in the runs of the first pass
constexpr int kPasses = 16;          // 17 characters down to 2
constexpr int kLeastOccurrences = 3;

const GbkText kBlank = " ";
const GbkText kZhege = "\xD5\xE2\xB8\xF6";  // 这个
const GbkText kPercent = "%";
const GbkText kKeywordsCaption = "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA ";  // 关键词：
constexpr int kKeywordCount = 3;

// The runs of n consecutive elements of CharList that hold no blank, one
// per window start s = 1 .. CharList size - n, in window order. The window
// that ends on the last element is never formed; a run that recurs three
// times always has an earlier window, so no term is lost by this.
std::vector<GbkText> CollectCandidates(Workspace& ws, int n) {
  std::vector<GbkText> candidates;
  const int w = static_cast<int>(ws.CharList.size()) - n;
  for (int s = 1; s <= w; ++s) {
    GbkText run;
    bool holds_blank = false;
    for (int e = s; e <= s + n - 1; ++e) {
      const GbkText& element = ws.CharList[e - 1];
      if (TextEquals(element, kBlank)) holds_blank = true;
      run = ConcatText(run, element);
    }
    if (!holds_blank) candidates.push_back(run);
    ws.ProcessEvents();
  }
  return candidates;
}

// Occurrences of c in WorkText, counted as pieces minus one: one short
// when WorkText ends with c, -1 for an empty WorkText.
int CountOccurrences(const GbkText& work_text, const GbkText& c) {
  return static_cast<int>(SplitText(work_text, c).size()) - 1;
}

// Records every candidate that still occurs three times or more and blanks
// it out of WorkText at once, so that shorter runs inside it are no longer
// counted there. The list is not rebuilt: later entries are counted
// against the text as it stands.
void RecordRecurringRuns(Workspace& ws, const std::vector<GbkText>& candidates) {
  for (const GbkText& c : candidates) {
    const int k = CountOccurrences(ws.WorkText, c);
    if (k >= kLeastOccurrences) {
      const int r = ws.TermTable.InsertRow(c);
      ws.TermTable.SetCell(r, kColumnA, NumberToText(static_cast<int32_t>(k)));
      ws.WorkText = ReplaceAll(ws.WorkText, c, kBlank);
      reference::BuildCharList(ws);
    }
    ws.ProcessEvents();
  }
}

// Every term takes over the counts of the terms that contain it, and a
// containing term loses its occurrences of the contained one. Test and cut
// both use the terms as they stood before the merge, so of several cuts in
// one term only the last stays; counts are read as they stand, already
// raised ones included.
void MergeContainedTerms(Workspace& ws) {
  const int n = ws.TermTable.RowCount();
  std::vector<GbkText> snapshot;
  for (int row = 0; row < n; ++row) {
    snapshot.push_back(ws.TermTable.GetCell(row, kTextColumn));
  }
  for (int l = 0; l < n; ++l) {
    for (int m = 0; m < n; ++m) {
      if (l != m && FindText(snapshot[m], snapshot[l]) != -1) {
        ws.TermTable.SetCell(m, kTextColumn,
                             ReplaceAll(snapshot[m], snapshot[l], ""));
        const double sum = TextToNumber(ws.TermTable.GetCell(l, kColumnA)) +
                           TextToNumber(ws.TermTable.GetCell(m, kColumnA));
        ws.TermTable.SetCell(l, kColumnA, NumberToText(sum));
      }
      ws.ProcessEvents();
    }
  }
}

// Deletes every row whose term holds "这个". Each row is examined once, in
// order; after a deletion the next row has moved up into the same place.
void DropZhegeTerms(Workspace& ws) {
  const int rows = ws.TermTable.RowCount();
  int row = 0;
  for (int examined = 1; examined <= rows; ++examined) {
    if (FindText(ws.TermTable.GetCell(row, kTextColumn), kZhege) != -1) {
      ws.TermTable.DeleteRow(row);
    } else {
      ++row;
    }
    ws.ProcessEvents();
  }
}

// "关键词： " and the first three terms, each followed by a blank; a missing
// row contributes just its blank.
void WriteKeywords(Workspace& ws) {
  ws.fields.keywords = kKeywordsCaption;
  for (int row = 0; row < kKeywordCount; ++row) {
    ws.fields.keywords = ConcatText(
        ws.fields.keywords, ws.TermTable.GetCell(row, kTextColumn), kBlank);
  }
}

}  // namespace

void BuildCharList(Workspace& ws) {
  ws.CharList.clear();
  const GbkText& t = ws.WorkText;
  const int length = TextLength(t);
  int i = 0;  // 0-based byte index
  while (i < length) {
    if (t.byte(i) >= 0x80 && i + 1 < length) {
      ws.CharList.push_back(
          ConcatText(CharFromCode(t.byte(i)), CharFromCode(t.byte(i + 1))));
      i += 2;
    } else {
      ws.CharList.push_back(CharFromCode(t.byte(i)));
      i += 1;
    }
  }
}

void ExtractChineseTerms(Workspace& ws) {
  ws.TermTable.DeleteAllRows();
  for (int p = 1; p <= kPasses; ++p) {
    const int n = kLongestRun + 1 - p;
    RecordRecurringRuns(ws, CollectCandidates(ws, n));
    const double percent = static_cast<double>(p) / kPasses * 100;
    ws.fields.status = ConcatText(NumberToText(FloorToInt(percent)), kPercent);
    ws.ProcessEvents();
  }
  MergeContainedTerms(ws);
  DropZhegeTerms(ws);
  ws.TermTable.SortByKey(kColumnA);
  WriteKeywords(ws);
}

}  // namespace quillet::reference
