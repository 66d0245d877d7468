// Chinese term extraction, in near-linear time.
//
// The plain algorithm. Sixteen passes look for runs of 17, 16, ... down to
// 2 characters. A pass forms the window of every start 1 .. w of CharList
// (w is its size minus the run length, so the run that ends the text is
// never a window of its own) and drops the windows that hold a blank.
// Then, window after window in that order, it counts the window's text in
// WorkText as SplitText does (the pieces minus one, so one short when the
// text ends with it); a count of three or more makes a row of TermTable,
// the occurrences become blanks in WorkText at once, and CharList is built
// again. After the passes every term takes over the counts of the terms
// that contain it (the containment merge), terms holding "这个" go, the
// table is sorted and the keywords written. Each pass is quadratic in the
// text length.
//
// Why the fast version below leaves exactly the same table, WorkText,
// CharList and captions:
//  1. Numbered elements. The characters become numbers (ElementId), one
//     per element of CharList; a run of characters occurs at a character
//     boundary of WorkText exactly where its numbers occur in the number
//     sequence, so runs are compared and blanked as numbers.
//  2. Counts only fall within a pass. Blanking a term removes occurrences
//     of other runs and never creates one, since no run holds a blank. So
//     the runs of a pass can be grouped by content once, at its start
//     (RunGroups), and a group of fewer than three runs never needs a
//     look. For the same reason a run can only recur if every neighbouring
//     pair in it occurs three times in the text at the start (LinkedPairs).
//  3. The first window of a group decides its count. Its windows are met
//     in the order of their starts. The first is counted against the text
//     as the earlier terms of the pass left it; if it reaches three, the
//     occurrences are blanked and no later window of the group finds one;
//     if it does not, no later window can reach three (2.). So each group
//     is counted once, in the order of its first window. Its occurrences
//     are its runs still whole, each taken when it does not overlap the
//     one taken before, as SplitText and ReplaceAll take them; the run at
//     start w ends the text and, when taken, lowers the count by one.
//  4. Containment at character boundaries. FindText(T[m], T[l]) finds T[l]
//     only from a character boundary of T[m], and as terms are whole
//     characters the match ends on one too; looking up every stretch of
//     T[m] between two boundaries (at most 17 * 18 / 2 = 153) among the
//     letter-case-folded terms finds every pair (l, m).
//  5. The order in which the merge is replayed. The plain merge walks all
//     pairs (l, m) row by row, cutting from the term as it stood before
//     the merge (so the last cut of a term stays) and adding counts as
//     they stand at that moment; replaying the pairs found, sorted by l
//     and then m, gives the same cells.
// ProcessEvents is called at the end of every pass and about every 20 ms of
// work in between, instead of once per window, candidate and pair.
//
// The plain version is kept in tests/reference/chinese_terms.cc; both are
// run side by side on generated texts, long periodic runs and every
// article of the repository by tests/terms_differential_test.cc, and on
// fuzzed texts by fuzz/terms_fuzz.cc.

#include "terms/chinese_terms.h"

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "terms/distinct_numbers.h"
#include "terms/event_pacer.h"
#include "terms/term_table.h"
#include "text/gbk_char.h"
#include "text/text_ops.h"

namespace quillet {

namespace {

constexpr int kLongestRun = 17;  // characters in the runs of the first pass
constexpr int kPasses = 16;      // 17 characters down to 2

const GbkText kZhege = "\xD5\xE2\xB8\xF6";  // 这个
const GbkText kPercent = "\x25";            // %

// ---------------------------------------------------------------------------
// Elements as numbers.

// An element is the code CharList gives its character (character_list.h):
// every element has its own number and the blank is 0x20.
using ElementId = CharacterList::Code;
constexpr ElementId kBlankId = 0x20;

GbkText TextOf(std::span<const ElementId> elements) {
  std::string out;
  out.reserve(elements.size() * 2);
  CharacterList::AppendBytes(elements, out);
  return GbkText(std::move(out));
}

// ---------------------------------------------------------------------------
// Grouping the runs of one pass by content.
//
// The runs are hashed with a rolling hash, so each costs a few operations
// whatever its length, and grouped in a table kept from pass to pass.

constexpr uint64_t kHashModulus = (uint64_t{1} << 61) - 1;
constexpr uint64_t kHashBase = 0x1F3D5B79A2C4E687ULL % kHashModulus;

uint64_t MulMod(uint64_t a, uint64_t b) {
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  uint64_t r = static_cast<uint64_t>(product & kHashModulus) +
               static_cast<uint64_t>(product >> 61);
  if (r >= kHashModulus) r -= kHashModulus;
  return r;
}

uint64_t AddMod(uint64_t a, uint64_t b) {
  uint64_t r = a + b;
  if (r >= kHashModulus) r -= kHashModulus;
  return r;
}

// A stretch of elements each linked to the next (see LinkedPairs) but for
// the last: the elements begin .. end - 1, two or more. Every run a pass
// looks at lies within one stretch, so the passes keep the list of
// stretches, in ascending order, rather than walk the whole text for them.
struct Stretch {
  int32_t begin;
  int32_t end;
};

// The blank-free runs of run_length elements within the stretches,
// grouped by content (every hash match is verified element by element).
// Only groups of three runs or more are kept, since fewer can never be
// counted three times; they stand in the order of their first run, each
// with its starts in ascending order.
class RunGroups {
 public:
  void Build(const std::vector<ElementId>& elements,
             const std::vector<Stretch>& stretches, int run_length, EventPacer& pacer) {
    elements_ = elements.data();
    run_length_ = run_length;
    // The runs are gathered first, so that the table is sized by how many
    // there are (far fewer than the starts in most passes) and only they
    // are walked again.
    runs_.clear();
    ForEachRun(elements, stretches, run_length, pacer,
               [&](int start, uint64_t hash) { runs_.push_back({start, -1, hash}); });
    groups_.Clear(runs_.size());
    group_size_.clear();
    for (RunAt& run : runs_) run.group = FindOrAddGroup(run.start, run.hash);
    CollectLargeGroups();
  }

  int size() const { return static_cast<int>(offsets_.size()) - 1; }

  std::span<const int32_t> Starts(int group) const {
    return std::span<const int32_t>(starts_.data() + offsets_[group],
                                    starts_.data() + offsets_[group + 1]);
  }

 private:
  // Calls run(start, hash) for each start of run_length elements within a
  // stretch, in ascending order.
  template <typename Run>
  static void ForEachRun(const std::vector<ElementId>& elements,
                         const std::vector<Stretch>& stretches, int run_length,
                         EventPacer& pacer, Run run) {
    uint64_t leaving_weight = 1;  // kHashBase^(run_length - 1)
    for (int i = 1; i < run_length; ++i) {
      leaving_weight = MulMod(leaving_weight, kHashBase);
    }
    for (const Stretch& stretch : stretches) {
      pacer.Tick(stretch.end - stretch.begin);
      if (stretch.end - stretch.begin < run_length) continue;
      uint64_t hash = 0;
      for (int i = stretch.begin; i < stretch.begin + run_length; ++i) {
        hash = AddMod(MulMod(hash, kHashBase), elements[i]);
      }
      for (int start = stretch.begin;; ++start) {
        run(start, hash);
        if (start + run_length >= stretch.end) break;
        const uint64_t without_first = AddMod(
            hash, kHashModulus - MulMod(elements[start], leaving_weight));
        hash = AddMod(MulMod(without_first, kHashBase), elements[start + run_length]);
      }
    }
  }

  // The group of the run at start (hash is its hash), a new one when no
  // run before it has the same elements; counts the run in it.
  int32_t FindOrAddGroup(int32_t start, uint64_t hash) {
    const ElementId* run = elements_ + start;
    const uint32_t group = groups_.Number(
        hash,
        [&](int32_t first) { return std::equal(run, run + run_length_, elements_ + first); },
        [&] { return start; });
    if (group == group_size_.size()) group_size_.push_back(0);
    ++group_size_[group];
    return static_cast<int32_t>(group);
  }

  void CollectLargeGroups() {
    kept_index_.assign(group_size_.size(), -1);
    offsets_.assign(1, 0);
    for (std::size_t group = 0; group < group_size_.size(); ++group) {
      if (group_size_[group] < kLeastOccurrences) continue;
      kept_index_[group] = static_cast<int32_t>(offsets_.size()) - 1;
      offsets_.push_back(offsets_.back() + group_size_[group]);
    }
    starts_.resize(offsets_.back());
    next_slot_ = offsets_;
    for (const RunAt& run : runs_) {
      const int32_t kept = kept_index_[run.group];
      if (kept != -1) starts_[next_slot_[kept]++] = run.start;
    }
  }

  // A run of the pass: where it starts, its group and its hash.
  struct RunAt {
    int32_t start;
    int32_t group;
    uint64_t hash;
  };

  const ElementId* elements_ = nullptr;
  int run_length_ = 0;
  std::vector<RunAt> runs_;                // in ascending order of start
  DistinctNumbers<int32_t> groups_;        // keyed by the start of the first run
  std::vector<int32_t> group_size_;
  std::vector<int32_t> kept_index_;  // per group: its kept index, or -1
  std::vector<int32_t> offsets_;     // kept group i: starts_[offsets_[i] ..]
  std::vector<int32_t> next_slot_;   // per kept group while filling
  std::vector<int32_t> starts_;
};

// ---------------------------------------------------------------------------
// Which neighbours a run may join.

// linked[i] tells whether elements i and i + 1 may stand together in a run
// that recurs: neither is the blank, and the pair occurs three times or
// more in the text (overlapping occurrences counted). Every pair inside a
// run that occurs three times occurs three times too, so only runs made of
// linked pairs need be looked at, and since the passes only ever remove
// occurrences, a pair that is not linked at the start never is later. The
// last element is linked to nothing.
std::vector<uint8_t> LinkedPairs(const std::vector<ElementId>& elements) {
  std::vector<uint8_t> linked(elements.size(), 0);
  if (elements.size() < 2) return linked;
  const std::size_t pairs = elements.size() - 1;
  const auto joinable = [&](std::size_t i) {
    return elements[i] != kBlankId && elements[i + 1] != kBlankId;
  };
  // Far fewer pairs are distinct than there are places, so the table
  // grown for them stays much smaller than one slot per place would be.
  DistinctNumbers<uint32_t> distinct;
  std::vector<uint8_t> count_of;           // per distinct pair: its count, up to three
  std::vector<uint32_t> number_at(pairs);  // per place: its pair's number
  for (std::size_t i = 0; i < pairs; ++i) {
    if (!joinable(i)) continue;
    const uint32_t pair = static_cast<uint32_t>(elements[i]) << 16 | elements[i + 1];
    const uint32_t number = distinct.Number(
        pair, [&](uint32_t kept) { return kept == pair; }, [&] { return pair; });
    if (number == count_of.size()) count_of.push_back(0);
    if (count_of[number] < kLeastOccurrences) ++count_of[number];
    number_at[i] = number;
  }
  for (std::size_t i = 0; i < pairs; ++i) {
    if (joinable(i)) linked[i] = count_of[number_at[i]] >= kLeastOccurrences;
  }
  return linked;
}

// The stretches of linked elements, in ascending order.
std::vector<Stretch> StretchesOf(const std::vector<uint8_t>& linked) {
  std::vector<Stretch> stretches;
  const int length = static_cast<int>(linked.size());
  for (int i = 0; i < length; ++i) {
    if (!linked[i]) continue;
    const int begin = i;
    while (linked[i]) ++i;  // the last element is linked to nothing
    stretches.push_back({begin, i + 1});
  }
  return stretches;
}

// ---------------------------------------------------------------------------
// One pass.

// The elements blanked so far in a pass, as a bit set with a fast test of
// a stretch of up to 63 elements.
class BlankedSet {
 public:
  void Reset(int size) {
    words_.assign(static_cast<std::size_t>(size) / 64 + 2, 0);
  }

  // Whether any of the elements start .. start + count - 1 is blanked.
  bool AnyIn(int start, int count) const {
    const std::size_t word = static_cast<std::size_t>(start) >> 6;
    const int shift = start & 63;
    uint64_t bits = words_[word] >> shift;
    if (shift != 0) bits |= words_[word + 1] << (64 - shift);
    return (bits & ((uint64_t{1} << count) - 1)) != 0;
  }

  void Add(int start, int count) {
    for (int i = start; i < start + count; ++i) {
      words_[static_cast<std::size_t>(i) >> 6] |= uint64_t{1} << (i & 63);
    }
  }

 private:
  std::vector<uint64_t> words_;
};
static_assert(kLongestRun < 64, "BlankedSet::AnyIn tests up to 63 elements");

class PassRunner {
 public:
  PassRunner(Workspace& ws, EventPacer& pacer) : ws_(ws), pacer_(pacer) {}

  // The pass for runs of run_length elements over `elements`, the elements
  // of WorkText at its start. Every group whose count reaches three becomes
  // a row and its occurrences are blanked; `elements` and `stretches` then
  // describe the text with those blanks. Returns whether a term was found.
  bool Run(std::vector<ElementId>& elements, std::vector<Stretch>& stretches,
           int run_length) {
    const int length = static_cast<int>(elements.size());
    const int windows = length - run_length;  // the starts 0 .. windows - 1
    if (windows <= 0) return false;
    // The run at start `windows` is no window but ends the text: it counts.
    groups_.Build(elements, stretches, run_length, pacer_);
    blanked_.Reset(length);
    taken_.clear();
    bool found = false;
    for (int group = 0; group < groups_.size(); ++group) {
      const std::span<const int32_t> starts = groups_.Starts(group);
      pacer_.Tick(static_cast<int64_t>(starts.size()));
      const Occurrences taken = CountOccurrences(starts, run_length);
      const int count = taken.count - (taken.last_start == windows ? 1 : 0);
      if (count < kLeastOccurrences) continue;
      found = true;
      const int row = ws_.TermTable.InsertRow(TextOf(
          std::span<const ElementId>(elements.data() + starts[0], run_length)));
      ws_.TermTable.SetCell(row, kColumnA,
                            NumberToText(static_cast<int32_t>(count)));
      BlankOccurrences(starts, run_length);
    }
    if (found) Compact(elements, stretches, run_length);
    return found;
  }

 private:
  struct Occurrences {
    int count = 0;
    int32_t last_start = -1;
  };

  // Calls take(start) for each occurrence that ReplaceAll and SplitText
  // would take, left to right: a run of the group still whole (nothing in
  // it blanked in this pass) that does not overlap the one taken before.
  template <typename Take>
  void ForEachTakenOccurrence(std::span<const int32_t> starts, int run_length,
                              Take take) const {
    int32_t free_from = 0;
    for (const int32_t start : starts) {
      if (start < free_from || blanked_.AnyIn(start, run_length)) continue;
      free_from = start + run_length;
      take(start);
    }
  }

  // How many occurrences the group has now, and where the last one starts.
  Occurrences CountOccurrences(std::span<const int32_t> starts,
                               int run_length) const {
    Occurrences taken;
    ForEachTakenOccurrence(starts, run_length, [&](int32_t start) {
      ++taken.count;
      taken.last_start = start;
    });
    return taken;
  }

  // Blanks the group's occurrences: marks their elements and notes where
  // they start. Blanking one occurrence never touches the next, which
  // starts past it.
  void BlankOccurrences(std::span<const int32_t> starts, int run_length) {
    ForEachTakenOccurrence(starts, run_length, [&](int32_t start) {
      blanked_.Add(start, run_length);
      taken_.push_back(start);
    });
  }

  // Drops the elements of the blanked occurrences but their first, which
  // becomes the blank. The occurrences never overlap, so the kept elements
  // between them move down whole. Two kept elements that were neighbours
  // stay linked as they were; the element before an occurrence and the
  // blank are linked to nothing: an occurrence lies within one stretch and
  // cuts it in two, the pieces of two elements or more staying stretches.
  void Compact(std::vector<ElementId>& elements, std::vector<Stretch>& stretches,
               int run_length) {
    std::sort(taken_.begin(), taken_.end());
    std::size_t out = 0;
    std::size_t from = 0;
    const auto keep = [&](std::size_t end) {  // the kept elements from .. end - 1
      const std::size_t count = end - from;
      if (count == 0) return;
      if (out != from) {
        std::memmove(elements.data() + out, elements.data() + from,
                     count * sizeof(ElementId));
      }
      out += count;
    };
    for (const int32_t start : taken_) {
      keep(static_cast<std::size_t>(start));
      elements[out++] = kBlankId;
      from = static_cast<std::size_t>(start) + run_length;
    }
    keep(elements.size());
    elements.resize(out);
    CutStretches(stretches, run_length);
  }

  // The stretches after Compact: each less its occurrences (taken_, in
  // order), every piece moved down by run_length - 1 elements per
  // occurrence before it.
  void CutStretches(std::vector<Stretch>& stretches, int run_length) const {
    std::vector<Stretch> pieces;
    pieces.reserve(stretches.size() + taken_.size());
    std::size_t next = 0;  // the first occurrence not yet passed
    const auto add = [&](int32_t begin, int32_t end) {
      if (end - begin < 2) return;
      const auto shift = static_cast<int32_t>(next) * (run_length - 1);
      pieces.push_back({begin - shift, end - shift});
    };
    for (const Stretch& stretch : stretches) {
      int32_t begin = stretch.begin;
      while (next < taken_.size() && taken_[next] < stretch.end) {
        add(begin, taken_[next]);
        begin = taken_[next] + run_length;
        ++next;
      }
      add(begin, stretch.end);
    }
    stretches.swap(pieces);
  }

  Workspace& ws_;
  EventPacer& pacer_;
  RunGroups groups_;
  BlankedSet blanked_;
  std::vector<int32_t> taken_;  // starts of the occurrences blanked
};

// ---------------------------------------------------------------------------
// The containment merge.

// The bytes of t with every ASCII upper-case letter made lower case, as
// FindText compares them.
std::string Folded(const GbkText& t) {
  std::string out(t.view());
  for (char& c : out) {
    c = static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(c)));
  }
  return out;
}

// Byte offsets of the character boundaries of t, its end included.
std::vector<int> Boundaries(const GbkText& t) {
  std::vector<int> bounds;
  const std::string_view text = t.view();
  for (std::size_t i = 0; i < text.size(); i += CharWidthAt(text, i)) {
    bounds.push_back(static_cast<int>(i));
  }
  bounds.push_back(static_cast<int>(text.size()));
  return bounds;
}

// The pairs (contained, container), contained != container, in which
// FindText(T[container], T[contained]) finds the contained term: its
// folded text equals the folded bytes of the container between two of the
// container's character boundaries. Sorted by contained, then container.
std::vector<std::pair<int, int>> ContainmentPairs(
    const std::vector<GbkText>& terms, EventPacer& pacer) {
  const int rows = static_cast<int>(terms.size());
  std::vector<std::string> folded;
  folded.reserve(terms.size());
  for (const GbkText& term : terms) folded.push_back(Folded(term));
  // The rows grouped by folded text; `folded` no longer changes, so its
  // views stay valid as keys.
  std::unordered_map<std::string_view, int> group_of_text;
  std::vector<std::vector<int>> rows_of_group;
  for (int row = 0; row < rows; ++row) {
    const auto [at, added] =
        group_of_text.try_emplace(folded[row], static_cast<int>(rows_of_group.size()));
    if (added) rows_of_group.emplace_back();
    rows_of_group[at->second].push_back(row);
  }
  // A group found twice in one container adds its pairs once.
  std::vector<int> last_container(rows_of_group.size(), -1);
  std::vector<std::pair<int, int>> pairs;
  for (int container = 0; container < rows; ++container) {
    const std::vector<int> bounds = Boundaries(terms[container]);
    const std::string_view text = folded[container];
    for (std::size_t first = 0; first + 1 < bounds.size(); ++first) {
      for (std::size_t last = first + 1; last < bounds.size(); ++last) {
        const auto found = group_of_text.find(
            text.substr(bounds[first], bounds[last] - bounds[first]));
        if (found == group_of_text.end()) continue;
        const int group = found->second;
        if (last_container[group] == container) continue;
        last_container[group] = container;
        for (const int contained : rows_of_group[group]) {
          if (contained != container) pairs.emplace_back(contained, container);
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
  std::optional<GbkText> text;  // empty while the text is the integer digits
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
// raised ones included.
void MergeContainedTerms(Workspace& ws, EventPacer& pacer) {
  WorkTable& table = ws.TermTable;
  const int rows = table.RowCount();
  std::vector<GbkText> snapshot;
  std::vector<Count> counts(rows);
  snapshot.reserve(rows);
  for (int row = 0; row < rows; ++row) {
    snapshot.push_back(table.GetCell(row, kTextColumn));
    counts[row].value = TextToNumber(table.GetCell(row, kColumnA));
  }
  std::vector<int> last_cut_by(rows, -1);
  for (const auto& [contained, container] : ContainmentPairs(snapshot, pacer)) {
    last_cut_by[container] = contained;
    AddCount(counts[contained], counts[container]);
    pacer.Tick();
  }
  for (int row = 0; row < rows; ++row) {
    if (last_cut_by[row] != -1) {
      table.SetCell(row, kTextColumn,
                    ReplaceAll(snapshot[row], snapshot[last_cut_by[row]], ""));
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

}  // namespace

void BuildCharList(Workspace& ws) { ws.CharList.AssignCharactersOf(ws.WorkText.view()); }

void ExtractChineseTerms(Workspace& ws) {
  ws.TermTable.DeleteAllRows();
  EventPacer pacer(ws);
  std::vector<ElementId> elements = ws.CharList.codes();
  std::vector<Stretch> stretches = StretchesOf(LinkedPairs(elements));
  PassRunner pass(ws, pacer);
  bool found_any = false;
  for (int p = 1; p <= kPasses; ++p) {
    if (pass.Run(elements, stretches, kLongestRun + 1 - p)) found_any = true;
    const double percent = static_cast<double>(p) / kPasses * 100;
    ws.fields.status = ConcatText(NumberToText(FloorToInt(percent)), kPercent);
    pacer.Yield();
  }
  if (found_any) {
    // The characters of the rewritten text are the elements themselves.
    ws.WorkText = TextOf(elements);
    ws.CharList = CharacterList(std::move(elements));
  }
  MergeContainedTerms(ws, pacer);
  DropZhegeTerms(ws, pacer);
  ws.TermTable.SortByKey(kColumnA);
  WriteKeywords(ws);
}

}  // namespace quillet
