#include "terms/chinese_terms.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "terms/event_pacer.h"
#include "text/text_ops.h"

namespace quillet {

namespace {

constexpr int kLongestRun = 17;      // characters in the runs of the first pass
constexpr int kPasses = 16;          // 17 characters down to 2
constexpr int kLeastOccurrences = 3;

const GbkText kBlank = " ";
const GbkText kZhege = "\xD5\xE2\xB8\xF6";  // 这个
const GbkText kPercent = "%";
const GbkText kKeywordsCaption = "\xB9\xD8\xBC\xFC\xB4\xCA\xA3\xBA ";  // 关键词：
constexpr int kKeywordCount = 3;

// ---------------------------------------------------------------------------
// Elements as numbers.
//
// The passes work on the elements of the text (the characters, as CharList
// holds them) numbered: a one-byte element b is b, a two-byte element
// (first, second) is 256 + (first - 0x80) * 256 + second. A run of elements
// occurs at a character boundary of the text exactly where its numbers
// occur in the element sequence: the character rule splits equal bytes
// into equal elements, and a run never holds the final lone byte, which
// stands in the last element and so in no window.

using ElementId = uint16_t;
constexpr ElementId kBlankId = 0x20;

std::vector<ElementId> ElementsOf(const GbkText& t) {
  std::vector<ElementId> elements;
  elements.reserve(t.size());
  const std::size_t length = t.size();
  std::size_t i = 0;
  while (i < length) {
    const unsigned char b = t.byte(i);
    if (b >= 0x80 && i + 1 < length) {
      elements.push_back(static_cast<ElementId>(256 + ((b - 0x80) << 8) +
                                                t.byte(i + 1)));
      i += 2;
    } else {
      elements.push_back(b);
      i += 1;
    }
  }
  return elements;
}

void AppendElement(std::string& out, ElementId id) {
  if (id < 256) {
    out += static_cast<char>(id);
  } else {
    const int code = id - 256;
    out += static_cast<char>(0x80 + (code >> 8));
    out += static_cast<char>(code & 0xFF);
  }
}

GbkText TextOf(std::span<const ElementId> elements) {
  std::string out;
  out.reserve(elements.size() * 2);
  for (ElementId id : elements) AppendElement(out, id);
  return GbkText(std::move(out));
}

// ---------------------------------------------------------------------------
// Grouping the runs of one pass by content.

// Slot of a hash in an open-addressing table of 2^bits slots: the top bits
// of the hash times the golden ratio, well mixed for any input hash.
std::size_t SlotOf(uint64_t h, int bits) {
  return static_cast<std::size_t>((h * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
}

// Bits of a table with at least twice as many slots as entries.
int TableBits(std::size_t entries) {
  int bits = 4;
  while ((std::size_t{1} << bits) < entries * 2) ++bits;
  return bits;
}

constexpr uint64_t kHashModulus = (uint64_t{1} << 61) - 1;
constexpr uint64_t kHashBase = 0x1F3D5B79A2C4E687ULL % kHashModulus;

uint64_t MulMod(uint64_t a, uint64_t b) {
  const unsigned __int128 p = static_cast<unsigned __int128>(a) * b;
  uint64_t r = static_cast<uint64_t>(p & kHashModulus) +
               static_cast<uint64_t>(p >> 61);
  if (r >= kHashModulus) r -= kHashModulus;
  return r;
}

uint64_t AddMod(uint64_t a, uint64_t b) {
  uint64_t r = a + b;
  if (r >= kHashModulus) r -= kHashModulus;
  return r;
}

// The blank-free runs of n elements that start at 0 .. last, grouped by
// content with a rolling hash, every match verified element by element.
// Only groups of three runs or more are kept, since fewer can never be
// counted three times; they stand in the order of their first run, each
// with its starts in ascending order. The buffers are kept from pass to
// pass.
class RunGroups {
 public:
  void Build(const std::vector<ElementId>& e, const std::vector<uint8_t>& linked,
             int n, int last, EventPacer& pacer) {
    e_ = e.data();
    n_ = n;
    ResetTable(last + 1);
    group_of_.assign(static_cast<std::size_t>(last) + 1, -1);
    ForEachRun(e, linked, n, last, pacer, [&](int s, uint64_t h) {
      group_of_[s] = FindOrAddGroup(s, h);
    });
    CollectLargeGroups(last);
  }

  int size() const { return static_cast<int>(offsets_.size()) - 1; }

  std::span<const int32_t> Starts(int g) const {
    return std::span<const int32_t>(starts_.data() + offsets_[g],
                                    starts_.data() + offsets_[g + 1]);
  }

 private:
  // Calls run(s, hash) for each start s in 0 .. last whose n elements are
  // linked one to the next, in ascending order.
  template <typename Run>
  static void ForEachRun(const std::vector<ElementId>& e,
                         const std::vector<uint8_t>& linked, int n, int last,
                         EventPacer& pacer, Run run) {
    uint64_t top = 1;  // kHashBase^(n-1): weight of the element leaving
    for (int i = 1; i < n; ++i) top = MulMod(top, kHashBase);
    const int end = last + n;  // one past the last element a run may use
    int a = 0;
    while (a < end) {
      // [a, b) is a stretch of elements each linked to the next, but for
      // the last.
      while (a < end && !linked[a]) ++a;
      if (a == end) break;
      int b = a;
      while (linked[b]) ++b;
      ++b;
      if (b - a >= n) {
        uint64_t h = 0;
        for (int i = a; i < a + n; ++i) h = AddMod(MulMod(h, kHashBase), e[i]);
        for (int s = a;; ++s) {
          run(s, h);
          if (s + n >= b) break;
          h = AddMod(MulMod(AddMod(h, kHashModulus - MulMod(e[s], top)),
                            kHashBase),
                     e[s + n]);
        }
      }
      pacer.Tick(b - a + 1);
      a = b;
    }
  }

  void ResetTable(int runs) {
    bits_ = TableBits(static_cast<std::size_t>(runs));
    slots_.assign(std::size_t{1} << bits_, -1);
    group_hash_.clear();
    group_first_.clear();
    group_size_.clear();
  }

  int FindOrAddGroup(int s, uint64_t h) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = SlotOf(h, bits_);
    for (;; slot = (slot + 1) & mask) {
      const int32_t g = slots_[slot];
      if (g == -1) break;
      if (group_hash_[g] == h &&
          std::equal(e_ + group_first_[g], e_ + group_first_[g] + n_, e_ + s)) {
        ++group_size_[g];
        return g;
      }
    }
    const int32_t g = static_cast<int32_t>(group_hash_.size());
    slots_[slot] = g;
    group_hash_.push_back(h);
    group_first_.push_back(s);
    group_size_.push_back(1);
    return g;
  }

  void CollectLargeGroups(int last) {
    // kept_[g]: the index of group g among the kept ones, or -1.
    kept_.assign(group_size_.size(), -1);
    offsets_.assign(1, 0);
    for (std::size_t g = 0; g < group_size_.size(); ++g) {
      if (group_size_[g] < kLeastOccurrences) continue;
      kept_[g] = static_cast<int32_t>(offsets_.size()) - 1;
      offsets_.push_back(offsets_.back() + group_size_[g]);
    }
    starts_.resize(offsets_.back());
    fill_ = offsets_;
    for (int s = 0; s <= last; ++s) {
      const int32_t g = group_of_[s];
      if (g == -1 || kept_[g] == -1) continue;
      starts_[fill_[kept_[g]]++] = s;
    }
  }

  const ElementId* e_ = nullptr;
  int n_ = 0;
  int bits_ = 0;
  std::vector<int32_t> slots_;  // group number, or -1 for a free slot
  std::vector<uint64_t> group_hash_;
  std::vector<int32_t> group_first_;
  std::vector<int32_t> group_size_;
  std::vector<int32_t> group_of_;  // per start, -1 for a run with a blank
  std::vector<int32_t> kept_;
  std::vector<int32_t> offsets_;
  std::vector<int32_t> fill_;
  std::vector<int32_t> starts_;
};

// ---------------------------------------------------------------------------
// Which neighbours a run may join.

// linked[i] tells whether elements i and i + 1 may stand together in a run
// that recurs: neither is the blank, and the pair occurs three times or
// more in the text. Every pair inside a run that occurs three times occurs
// three times too, so only runs made of linked pairs need be looked at,
// and since the passes only ever remove occurrences, a pair that is not
// linked at the start never is later. The last element is linked to
// nothing.
std::vector<uint8_t> LinkedPairs(const std::vector<ElementId>& e) {
  std::vector<uint8_t> linked(e.size(), 0);
  if (e.size() < 2) return linked;
  const auto key_at = [&](std::size_t i) -> uint32_t {
    return static_cast<uint32_t>(e[i]) << 16 | e[i + 1];
  };
  const int bits = TableBits(e.size());
  const std::size_t mask = (std::size_t{1} << bits) - 1;
  // Open addressing on the pair; no element is 0, so no key is 0.
  std::vector<uint32_t> keys(mask + 1, 0);
  std::vector<uint8_t> counts(mask + 1, 0);
  std::vector<uint32_t> slot_of(e.size() - 1);
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    if (e[i] == kBlankId || e[i + 1] == kBlankId) continue;
    const uint32_t key = key_at(i);
    std::size_t slot = SlotOf(key, bits);
    while (keys[slot] != 0 && keys[slot] != key) slot = (slot + 1) & mask;
    keys[slot] = key;
    if (counts[slot] < kLeastOccurrences) ++counts[slot];
    slot_of[i] = static_cast<uint32_t>(slot);
  }
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    if (e[i] == kBlankId || e[i + 1] == kBlankId) continue;
    linked[i] = counts[slot_of[i]] >= kLeastOccurrences;
  }
  return linked;
}

// ---------------------------------------------------------------------------
// One pass.

// The elements blanked so far in a pass, as a bit set with a fast test of
// a stretch of up to 64 elements.
class BlankedSet {
 public:
  void Reset(int size) { words_.assign(static_cast<std::size_t>(size) / 64 + 2, 0); }

  bool AnyIn(int s, int n) const {
    const std::size_t word = static_cast<std::size_t>(s) >> 6;
    const int shift = s & 63;
    uint64_t bits = words_[word] >> shift;
    if (shift != 0) bits |= words_[word + 1] << (64 - shift);
    const uint64_t mask = n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
    return (bits & mask) != 0;
  }

  void Add(int s, int n) {
    for (int i = s; i < s + n; ++i) {
      words_[static_cast<std::size_t>(i) >> 6] |= uint64_t{1} << (i & 63);
    }
  }

 private:
  std::vector<uint64_t> words_;
};

// What becomes of an element when the pass ends.
enum : uint8_t { kKept = 0, kToBlank = 1, kDropped = 2 };

class PassRunner {
 public:
  PassRunner(Workspace& ws, EventPacer& pacer) : ws_(ws), pacer_(pacer) {}

  // Pass for runs of n elements over e, the elements of WorkText at the
  // start of the pass. Every run whose count reaches three becomes a row
  // and its occurrences are blanked; e is then the elements of the text
  // with those blanks. Returns whether any term was found.
  //
  // A run's count is the number of its occurrences that SplitText would
  // separate: left to right without overlap, in the text as it stands,
  // less one when the last of them ends the text. Blanking a term only
  // removes occurrences of other runs and never creates one (a run holds
  // no blank), so a count can only fall during a pass: each distinct run
  // is counted once, at its first window, and a later window of the same
  // text can never reach three. The windows are the starts 0 .. w - 1;
  // start w is no window, but its run ends the text and takes part in the
  // counts.
  bool Run(std::vector<ElementId>& e, std::vector<uint8_t>& linked, int n) {
    const int length = static_cast<int>(e.size());
    const int w = length - n;
    if (w <= 0) return false;
    groups_.Build(e, linked, n, w, pacer_);
    blanked_.Reset(length);
    fate_.clear();
    bool found = false;
    for (int g = 0; g < groups_.size(); ++g) {
      const std::span<const int32_t> starts = groups_.Starts(g);
      pacer_.Tick(static_cast<int64_t>(starts.size()));
      std::optional<int32_t> last_taken;
      const int taken = TakeOccurrences(starts, n, /*blank=*/false, &last_taken);
      const int k = taken - (last_taken == w ? 1 : 0);
      if (k < kLeastOccurrences) continue;
      if (!found) fate_.assign(static_cast<std::size_t>(length), kKept);
      found = true;
      const int r = ws_.TermTable.InsertRow(
          TextOf(std::span<const ElementId>(e.data() + starts[0], n)));
      ws_.TermTable.SetCell(r, kColumnA, NumberToText(static_cast<int32_t>(k)));
      TakeOccurrences(starts, n, /*blank=*/true, &last_taken);
    }
    if (found) Compact(e, linked);
    return found;
  }

 private:
  // Walks the starts left to right, taking each occurrence that is still
  // whole and does not overlap the one taken before it, as ReplaceAll and
  // SplitText do. With blank, each taken occurrence is blanked: its first
  // element becomes the blank, the others go. Returns the number taken and
  // sets *last_taken to the start of the last one.
  int TakeOccurrences(std::span<const int32_t> starts, int n, bool blank,
                      std::optional<int32_t>* last_taken) {
    int taken = 0;
    int32_t free_from = 0;
    for (const int32_t s : starts) {
      if (s < free_from || blanked_.AnyIn(s, n)) continue;
      ++taken;
      free_from = s + n;
      *last_taken = s;
      if (blank) {
        blanked_.Add(s, n);
        fate_[s] = kToBlank;
        std::fill(fate_.begin() + s + 1, fate_.begin() + s + n, kDropped);
      }
    }
    return taken;
  }

  // Drops the elements of the blanked occurrences but their first, which
  // becomes the blank. Two kept elements that were neighbours stay linked
  // as they were; the blank is linked to nothing.
  void Compact(std::vector<ElementId>& e, std::vector<uint8_t>& linked) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < e.size(); ++i) {
      if (fate_[i] == kDropped) continue;
      const bool kept = fate_[i] == kKept;
      e[out] = kept ? e[i] : kBlankId;
      linked[out] = kept && i + 1 < e.size() && fate_[i + 1] == kKept && linked[i];
      ++out;
    }
    e.resize(out);
    linked.resize(out);
  }

  Workspace& ws_;
  EventPacer& pacer_;
  RunGroups groups_;
  BlankedSet blanked_;
  std::vector<uint8_t> fate_;
};

// ---------------------------------------------------------------------------
// The containment merge.

// ASCII upper-case letters as lower case, at every byte: the folding of
// FindText.
std::string Folded(const GbkText& t) {
  std::string out(t.view());
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return out;
}

// Byte offsets of the character boundaries of t, its end included.
std::vector<int> Boundaries(const GbkText& t) {
  std::vector<int> bounds;
  const int length = TextLength(t);
  int i = 0;
  while (i < length) {
    bounds.push_back(i);
    i += (t.byte(i) >= 0x80 && i + 1 < length) ? 2 : 1;
  }
  bounds.push_back(length);
  return bounds;
}

uint64_t HashStep(uint64_t h, unsigned char b) {
  return (h ^ b) * 0x100000001B3ULL;
}
constexpr uint64_t kHashStart = 0xCBF29CE484222325ULL;

// The terms by folded text: each class of terms with the same folded text
// is found from any stretch of bytes by its hash, verified byte by byte.
class FoldedTerms {
 public:
  explicit FoldedTerms(const std::vector<std::string>& folded)
      : folded_(folded), bits_(TableBits(folded.size())) {
    slots_.assign(std::size_t{1} << bits_, -1);
    for (std::size_t r = 0; r < folded.size(); ++r) {
      uint64_t h = kHashStart;
      for (char c : folded[r]) h = HashStep(h, static_cast<unsigned char>(c));
      members_[FindOrAdd(folded[r], h)].push_back(static_cast<int>(r));
    }
  }

  int classes() const { return static_cast<int>(members_.size()); }

  // The class whose folded text is `text`, h being its hash; -1 if none.
  int Find(std::string_view text, uint64_t h) const {
    return slots_[Probe(text, h)];
  }

  // Rows of the class, ascending.
  const std::vector<int>& Members(int c) const { return members_[c]; }

 private:
  // The slot that holds the class of text, or the free slot where it goes.
  std::size_t Probe(std::string_view text, uint64_t h) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = SlotOf(h, bits_);; slot = (slot + 1) & mask) {
      const int c = slots_[slot];
      if (c == -1) return slot;
      if (class_hash_[c] == h && folded_[members_[c][0]] == text) return slot;
    }
  }

  int FindOrAdd(std::string_view text, uint64_t h) {
    const std::size_t slot = Probe(text, h);
    if (slots_[slot] != -1) return slots_[slot];
    const int c = static_cast<int>(members_.size());
    slots_[slot] = c;
    class_hash_.push_back(h);
    members_.emplace_back();
    return c;
  }

  const std::vector<std::string>& folded_;
  int bits_;
  std::vector<int> slots_;  // class number, or -1 for a free slot
  std::vector<uint64_t> class_hash_;
  std::vector<std::vector<int>> members_;
};

// The pairs (l, m), l != m, in which FindText(T[m], T[l]) finds T[l]:
// T[l] folded equals the folded bytes of T[m] from one of its character
// boundaries. A term is whole characters, so such a stretch also ends on a
// boundary of T[m]; it is enough to look up every stretch between two
// boundaries. Sorted by l, then m.
std::vector<std::pair<int, int>> ContainmentPairs(
    const std::vector<GbkText>& terms, EventPacer& pacer) {
  std::vector<std::string> folded;
  folded.reserve(terms.size());
  for (const GbkText& t : terms) folded.push_back(Folded(t));
  const FoldedTerms index(folded);
  std::vector<int> seen_for(index.classes(), -1);  // last m that found it
  std::vector<std::pair<int, int>> pairs;
  for (int m = 0; m < static_cast<int>(terms.size()); ++m) {
    const std::vector<int> bounds = Boundaries(terms[m]);
    const std::string& f = folded[m];
    for (std::size_t a = 0; a + 1 < bounds.size(); ++a) {
      uint64_t h = kHashStart;
      for (std::size_t b = a + 1; b < bounds.size(); ++b) {
        for (int i = bounds[b - 1]; i < bounds[b]; ++i) {
          h = HashStep(h, static_cast<unsigned char>(f[i]));
        }
        const std::string_view stretch(f.data() + bounds[a],
                                       bounds[b] - bounds[a]);
        const int c = index.Find(stretch, h);
        if (c == -1 || seen_for[c] == m) continue;
        seen_for[c] = m;
        for (int l : index.Members(c)) {
          if (l != m) pairs.emplace_back(l, m);
        }
      }
    }
    pacer.Tick(static_cast<int64_t>(bounds.size() * bounds.size()));
  }
  std::sort(pairs.begin(), pairs.end());
  return pairs;
}

// A count as the table holds it: the value TextToNumber reads from its
// cell, and the cell text itself once it is no longer a plain integer.
struct Count {
  double value = 0;
  std::optional<GbkText> text;  // empty while text == the integer digits
  bool changed = false;
};

// Whole numbers below 10^13 are written as their digits and read back
// exactly, so their text need not be made until the end.
bool IsPlainWhole(double x) {
  return x >= 0 && x < 1e13 && x == static_cast<double>(static_cast<int64_t>(x));
}

void AddCount(Count& to, const Count& from) {
  const double sum = to.value + from.value;
  to.changed = true;
  if (IsPlainWhole(sum)) {
    to.value = sum;
    to.text.reset();
  } else {
    to.text = NumberToText(sum);
    to.value = TextToNumber(*to.text);
  }
}

// Every term takes over the counts of the terms that contain it, and a
// containing term loses its occurrences of the contained one. Test and cut
// both use the terms as they stood before the merge, so of several cuts in
// one term only the last stays; counts are read as they stand, already
// raised ones included. The pairs are replayed in the order in which a
// walk over all (l, m) would meet them.
void MergeContainedTerms(Workspace& ws, EventPacer& pacer) {
  WorkTable& table = ws.TermTable;
  const int n = table.RowCount();
  std::vector<GbkText> snapshot;
  std::vector<Count> counts(n);
  snapshot.reserve(n);
  for (int row = 0; row < n; ++row) {
    snapshot.push_back(table.GetCell(row, kTextColumn));
    counts[row].value = TextToNumber(table.GetCell(row, kColumnA));
  }
  std::vector<int> cut_by(n, -1);
  for (const auto& [l, m] : ContainmentPairs(snapshot, pacer)) {
    cut_by[m] = l;
    AddCount(counts[l], counts[m]);
    pacer.Tick();
  }
  for (int row = 0; row < n; ++row) {
    if (cut_by[row] != -1) {
      table.SetCell(row, kTextColumn,
                    ReplaceAll(snapshot[row], snapshot[cut_by[row]], ""));
    }
    if (counts[row].changed) {
      table.SetCell(row, kColumnA, counts[row].text
                                       ? *counts[row].text
                                       : NumberToText(counts[row].value));
    }
  }
}

// Deletes every row whose term holds "这个"; the others keep their order.
void DropZhegeTerms(Workspace& ws, EventPacer& pacer) {
  WorkTable& table = ws.TermTable;
  const int rows = table.RowCount();
  std::vector<std::pair<GbkText, GbkText>> kept;
  kept.reserve(rows);
  for (int row = 0; row < rows; ++row) {
    const GbkText& term = table.GetCell(row, kTextColumn);
    if (FindText(term, kZhege) == -1) {
      kept.emplace_back(term, table.GetCell(row, kColumnA));
    }
    pacer.Tick();
  }
  if (static_cast<int>(kept.size()) == rows) return;
  table.DeleteAllRows();
  for (auto& [term, count] : kept) {
    table.SetCell(table.InsertRow(term), kColumnA, count);
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
  const std::size_t length = t.size();
  const auto width_at = [&](std::size_t i) -> std::size_t {
    return (t.byte(i) >= 0x80 && i + 1 < length) ? 2 : 1;
  };
  std::size_t elements = 0;
  for (std::size_t i = 0; i < length; i += width_at(i)) ++elements;
  ws.CharList.reserve(elements);
  for (std::size_t i = 0; i < length; i += width_at(i)) {
    ws.CharList.emplace_back(t.view().substr(i, width_at(i)));
  }
}

void ExtractChineseTerms(Workspace& ws) {
  ws.TermTable.DeleteAllRows();
  EventPacer pacer(ws);
  std::vector<ElementId> elements = ElementsOf(ws.WorkText);
  std::vector<uint8_t> linked = LinkedPairs(elements);
  PassRunner runner(ws, pacer);
  bool found = false;
  for (int p = 1; p <= kPasses; ++p) {
    const int n = kLongestRun + 1 - p;
    if (runner.Run(elements, linked, n)) found = true;
    const double percent = static_cast<double>(p) / kPasses * 100;
    ws.fields.status = ConcatText(NumberToText(FloorToInt(percent)), kPercent);
    pacer.Yield();
  }
  if (found) {
    ws.WorkText = TextOf(elements);
    BuildCharList(ws);
  }
  MergeContainedTerms(ws, pacer);
  DropZhegeTerms(ws, pacer);
  ws.TermTable.SortByKey(kColumnA);
  WriteKeywords(ws);
}

}  // namespace quillet
