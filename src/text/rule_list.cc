#include "text/rule_list.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "text/boundary_scan.h"

namespace quillet {

namespace {

using scan_internal::At;

// Which bytes and which pairs of neighbouring bytes may occur in the text.
// Built by one scan, then widened after each rewrite by what the rewrite
// may have brought in, so it always holds at least what occurs. A sought
// text that occurs has each of its bytes and each of its neighbouring pairs
// in the text, so a rule whose sought text has one that is missing here
// cannot match.
//
// The pairs are recorded only for texts up to kPairTextLimit bytes. A long
// text holds nearly every pair the rules seek, so recording them (some ten
// instructions a byte) would cost more than the scans it could spare; its
// bytes are only counted, and every pair counts as present.
class PresentBytes {
 public:
  static constexpr std::size_t kPairTextLimit = 256 << 10;

  explicit PresentBytes(std::string_view t) : with_pairs_(t.size() <= kPairTextLimit) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.data());
    if (t.empty()) return;
    if (!with_pairs_) {
      CountBytes(p, t.size());
      return;
    }
    unsigned previous = p[0];
    Set(bytes_, previous);
    ++counts_[previous];
    for (std::size_t i = 1; i < t.size(); ++i) {
      const unsigned b = p[i];
      Set(pairs_, previous << 8 | b);
      ++counts_[b];
      previous = b;
    }
    // Every byte but the last is the first of a pair.
    for (unsigned first = 0; first < 256; ++first) {
      for (std::size_t w = 0; w < 4; ++w) {
        if (pairs_[first * 4 + w] != 0) Set(bytes_, first);
      }
    }
    Set(bytes_, previous);
  }

  bool MayOccur(std::string_view sought) const {
    for (std::size_t i = 0; i < sought.size(); ++i) {
      if (!HasByte(At(sought, i))) return false;
    }
    if (!with_pairs_) return true;
    for (std::size_t i = 0; i + 1 < sought.size(); ++i) {
      if (!Test(pairs_, std::size_t{At(sought, i)} << 8 | At(sought, i + 1))) {
        return false;
      }
    }
    return true;
  }

  bool HasByte(unsigned char b) const { return Test(bytes_, b); }

  // How often each byte occurred when the text was scanned: the rewrites
  // since then change it little, and it serves only to choose which byte
  // of a sought text to look for.
  const std::uint32_t* counts() const { return counts_.data(); }

  // The bytes and inner pairs of a replacement that was written.
  void AddText(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) Set(bytes_, At(s, i));
    if (!with_pairs_) return;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
      Set(pairs_, std::size_t{At(s, i)} << 8 | At(s, i + 1));
    }
  }

  // A pair that a rewrite formed where two pieces of its output meet.
  void AddPair(char first, char second) {
    if (!with_pairs_) return;
    Set(pairs_, std::size_t{static_cast<unsigned char>(first)} << 8 |
                    static_cast<unsigned char>(second));
  }

  // After some occurrences of bytes b became map[b] (b below 0x80): a pair
  // (x, z) may now also be (map[x], z), (x, map[z]) or (map[x], map[z]).
  // Each column b is copied into column map[b] first, then each row b
  // into row map[b], which carries the copied columns along.
  void AddMapped(const std::array<unsigned char, 128>& map) {
    std::array<unsigned char, 128> changed;
    std::size_t count = 0;
    for (unsigned b = 0; b < 0x80; ++b) {
      if (map[b] != b && HasByte(static_cast<unsigned char>(b))) changed[count++] = b;
    }
    for (std::size_t first = 0; with_pairs_ && first < 256; ++first) {
      if (!HasByte(static_cast<unsigned char>(first))) continue;
      for (std::size_t k = 0; k < count; ++k) {
        if (Test(pairs_, first << 8 | changed[k])) Set(pairs_, first << 8 | map[changed[k]]);
      }
    }
    for (std::size_t k = 0; k < count; ++k) {
      const unsigned b = changed[k];
      Set(bytes_, map[b]);
      for (std::size_t w = 0; w < 4; ++w) pairs_[map[b] * 4 + w] |= pairs_[b * 4 + w];
    }
  }

 private:
  // The byte counts and byte set of a long text, in four interleaved
  // tables so that neighbouring bytes do not wait on the same counter.
  void CountBytes(const unsigned char* p, std::size_t n) {
    std::array<std::array<std::uint32_t, 256>, 4> counts{};
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      ++counts[0][p[i]];
      ++counts[1][p[i + 1]];
      ++counts[2][p[i + 2]];
      ++counts[3][p[i + 3]];
    }
    for (; i < n; ++i) ++counts[0][p[i]];
    for (std::size_t b = 0; b < 256; ++b) {
      counts_[b] = counts[0][b] + counts[1][b] + counts[2][b] + counts[3][b];
      if (counts_[b] != 0) Set(bytes_, b);
    }
  }

  template <std::size_t N>
  static void Set(std::array<std::uint64_t, N>& bits, std::size_t i) {
    bits[i >> 6] |= std::uint64_t{1} << (i & 63);
  }
  template <std::size_t N>
  static bool Test(const std::array<std::uint64_t, N>& bits, std::size_t i) {
    return (bits[i >> 6] >> (i & 63)) & 1;
  }

  bool with_pairs_;
  std::array<std::uint32_t, 256> counts_{};
  std::array<std::uint64_t, 4> bytes_{};
  std::array<std::uint64_t, 1024> pairs_{};
};

// The text being rewritten and a spare buffer; a rule that lengthens the
// text writes into the spare one and the two swap, so their capacity is
// reused from rule to rule.
struct Buffers {
  std::string text;
  std::string spare;
};

// One ReplaceAll of rule over buffers.text. Returns whether anything was
// replaced. The output is written piece by piece (the text between two
// matches, a replacement); present learns the replacement and the pair
// formed where each piece meets the output before it.
bool ApplyOneRule(Buffers& buffers, const ReplacementRule& rule,
                  PresentBytes& present) {
  std::string& text = buffers.text;
  const std::string_view sought = rule.sought;
  const std::string_view replacement = rule.replacement;
  const BoundaryScan scan(text, sought, false, present.counts());
  std::size_t q = scan.NextMatch(0);
  if (q == std::string_view::npos) return false;
  present.AddText(replacement);

  if (replacement.size() <= sought.size()) {
    // In place: the write position never passes the scan's cursor, and the
    // scan reads only at and after the cursor. The text before the first
    // match stays where it is.
    char* base = text.data();
    std::size_t write = q;
    std::size_t cursor = q;
    const auto put = [&](const char* piece, std::size_t size) {
      if (size == 0) return;
      if (write > 0) present.AddPair(base[write - 1], piece[0]);
      std::memmove(base + write, piece, size);
      write += size;
    };
    while (q != std::string_view::npos) {
      put(base + cursor, q - cursor);
      put(replacement.data(), replacement.size());
      cursor = q + sought.size();
      q = scan.NextMatch(cursor);
    }
    put(base + cursor, text.size() - cursor);
    text.resize(write);
    return true;
  }

  // Longer: into the spare buffer, reserved for the most matches there can
  // be, so that it never grows while it is written.
  std::string& out = buffers.spare;
  out.clear();
  out.reserve(text.size() + text.size() / sought.size() *
                                (replacement.size() - sought.size()));
  const auto put = [&](std::string_view piece) {
    if (piece.empty()) return;
    if (!out.empty()) present.AddPair(out.back(), piece[0]);
    out.append(piece);
  };
  const std::string_view in = text;
  std::size_t cursor = 0;
  while (q != std::string_view::npos) {
    put(in.substr(cursor, q - cursor));
    put(replacement);
    cursor = q + sought.size();
    q = scan.NextMatch(cursor);
  }
  put(in.substr(cursor));
  text.swap(out);
  return true;
}

bool IsAsciiSwap(const ReplacementRule& rule) {
  return rule.sought.size() == 1 && rule.replacement.size() == 1 &&
         !IsHighByte(At(rule.sought, 0)) && !IsHighByte(At(rule.replacement, 0));
}

// A run of rules that each turn one ASCII byte into another: such a rule
// never changes where characters begin, so the run is one map from byte
// to byte, applied at every character boundary in one walk. Returns
// whether anything changed.
bool ApplyAsciiSwaps(std::string& text, RuleList run, PresentBytes& present) {
  std::array<unsigned char, 128> map;
  for (std::size_t b = 0; b < map.size(); ++b) map[b] = static_cast<unsigned char>(b);
  for (const ReplacementRule& rule : run) {
    const unsigned char from = At(rule.sought, 0);
    const unsigned char to = At(rule.replacement, 0);
    for (unsigned char& b : map) {
      if (b == from) b = to;
    }
  }
  bool any = false;
  for (std::size_t b = 0; b < map.size(); ++b) {
    any |= map[b] != b && present.HasByte(static_cast<unsigned char>(b));
  }
  if (!any) return false;
  auto* p = reinterpret_cast<unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      p[i] = map[p[i]];
      ++i;
    } else {
      i += 2;  // a character of two bytes, or the last byte of the text
    }
  }
  present.AddMapped(map);
  return true;
}

}  // namespace

void ApplyRules(GbkText& text, RuleList rules) {
  if (text.empty() || rules.empty()) return;
  Buffers buffers;
  buffers.text = text.TakeBytes();
  PresentBytes present(buffers.text);
  for (std::size_t i = 0; i < rules.size();) {
    std::size_t run = 0;
    while (i + run < rules.size() && IsAsciiSwap(rules[i + run])) ++run;
    if (run >= 2) {
      ApplyAsciiSwaps(buffers.text, rules.subspan(i, run), present);
      i += run;
      continue;
    }
    const ReplacementRule& rule = rules[i++];
    if (present.MayOccur(rule.sought)) ApplyOneRule(buffers, rule, present);
  }
  text = GbkText(std::move(buffers.text));
}

}  // namespace quillet
