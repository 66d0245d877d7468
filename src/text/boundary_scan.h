// BoundaryScan: the search for one sought text at the character
// boundaries of a text, shared by the matching operations of text_ops.h and
// the rule passes of rule_list.h. Internal to src/text.
//
// A match may begin only on a character boundary (text/gbk_char.h). Each
// byte of the text is looked at a bounded number of times per scan, so a
// whole scan is linear. The scan reads the text at and after the cursor
// handed to NextMatch only, so a caller may rewrite the bytes before that
// cursor while it scans.

#ifndef QUILLET_TEXT_BOUNDARY_SCAN_H_
#define QUILLET_TEXT_BOUNDARY_SCAN_H_

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "text/gbk_char.h"

// The pair filter needs SSE2, which every x86-64 processor has; elsewhere
// the scan uses memchr alone.
#if defined(__SSE2__)
#include <emmintrin.h>
#define QUILLET_SCAN_PAIR_FILTER 1
#else
#define QUILLET_SCAN_PAIR_FILTER 0
#endif

namespace quillet {
namespace scan_internal {

inline unsigned char At(std::string_view s, std::size_t i) {
  return static_cast<unsigned char>(s[i]);
}

inline bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

inline bool IsAsciiLetter(unsigned char b) {
  return (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A);
}

// The boundary scan over t for one sought text. The cursor handed to
// NextMatch is a character boundary by definition (the start of t, or the
// byte after a match or after a character); the character rule is applied
// from there on.
//
// Instead of stepping character by character, the scan lets memchr propose
// the next place where the bytes match (it looks for one byte of the
// sought text, in a long text the one that is rarest there, and the rest
// is compared); where that byte is common, so that memchr would stop every
// few bytes, and in the letter-case-blind search, a pair filter proposes
// places instead, 16 at a time (two bytes of the sought text must both
// stand in place). It then decides whether that place is a boundary: every
// byte below 0x80 is followed by a boundary (it is either a one-byte
// character or the second byte of a two-byte one), so a place q is a
// boundary exactly when the run of bytes 0x80..0xFF just before it, back to
// the cursor or to the nearest byte below 0x80, has even length. Each byte
// is looked at a bounded number of times, so a whole scan is linear.
class BoundaryScan {
 public:
  // byte_counts, when given, says how often each byte occurs in t (an
  // estimate will do): the exact scan then looks for the rarest byte of
  // sought, in a short text too, instead of judging from a sample.
  BoundaryScan(std::string_view t, std::string_view sought, bool fold_case,
               const std::uint32_t* byte_counts = nullptr)
      : t_(t), sought_(sought), fold_case_(fold_case),
        anchor_(fold_case                ? 0
                : byte_counts != nullptr ? RarestOffset(sought, byte_counts)
                                         : RarestByteOffset(t, sought)) {
#if QUILLET_SCAN_PAIR_FILTER
    if (!fold_case && byte_counts != nullptr && sought.size() >= 2) {
      second_anchor_ = RarestOffsetBut(sought, byte_counts, anchor_);
      pair_filter_ = IsCommon(byte_counts[At(sought, anchor_)], t.size());
    }
#endif
    // Most sought texts have no capital to fold: they are then used as
    // they are, with no copy.
    folded_ = sought;
    if (fold_case_ && std::any_of(sought.begin(), sought.end(), IsCapital)) {
      folded_storage_.assign(sought);
      for (char& c : folded_storage_) {
        c = static_cast<char>(FoldAsciiCase(static_cast<unsigned char>(c)));
      }
      folded_ = folded_storage_;
    }
  }

  // Position of the first match at a boundary reached from the cursor
  // `from`, or std::string_view::npos. sought must not be empty.
  std::size_t NextMatch(std::size_t from) const {
    const std::size_t k = sought_.size();
    std::size_t cursor = from;
    while (k <= t_.size() && cursor <= t_.size() - k) {
      const std::size_t q = NextByteMatch(cursor);
      if (q == std::string_view::npos) return std::string_view::npos;
      if (IsCharBoundary(t_, cursor, q)) return q;
      // q is the second byte of a character, so q + 1 is a boundary.
      cursor = q + 1;
    }
    return std::string_view::npos;
  }

 private:
  // First q >= from where the k bytes at q equal sought, ignoring
  // boundaries; std::string_view::npos if none.
  std::size_t NextByteMatch(std::size_t from) const {
    if (!fold_case_) return NextExactMatch(from);
    const std::size_t k = folded_.size();
    const unsigned char first = At(folded_, 0);
    const std::size_t last = t_.size() - k;
    const bool first_is_letter = IsAsciiLetter(first);
#if QUILLET_SCAN_PAIR_FILTER
    if (k >= 2) {
      const std::size_t q = NextFoldedPairMatch(from, last);
      if (q != std::string_view::npos) return q;
    }
#endif
    for (std::size_t q = from; q <= last; ++q) {
      if (!first_is_letter) {
        // No folding can make another byte equal to `first`: jump to it.
        const void* hit = std::memchr(t_.data() + q, first, last - q + 1);
        if (hit == nullptr) return std::string_view::npos;
        q = static_cast<const char*>(hit) - t_.data();
      } else if (FoldAsciiCase(At(t_, q)) != first) {
        continue;
      }
      if (FoldedEqualAt(q)) return q;
    }
    return std::string_view::npos;
  }

  // First q >= from where the k bytes at q equal sought exactly. memchr
  // looks for the anchor, the byte of sought at offset anchor_, and each
  // place it proposes is compared in full; where the anchor is common in t
  // (known from byte counts), the pair filter goes first.
  std::size_t NextExactMatch(std::size_t from) const {
    const std::size_t k = sought_.size();
    if (k > t_.size()) return std::string_view::npos;
    const std::size_t last = t_.size() - k;  // last place a match may start
    if (pair_filter_) {
      const std::size_t q = NextPairMatch(from, last);
      if (q != std::string_view::npos) return q;
    }
    const char anchor = sought_[anchor_];
    while (from <= last) {
      const void* hit = std::memchr(t_.data() + from + anchor_, anchor,
                                    last - from + 1);
      if (hit == nullptr) return std::string_view::npos;
      const std::size_t q =
          static_cast<std::size_t>(static_cast<const char*>(hit) - t_.data()) -
          anchor_;
      if (ExactEqualAt(q)) return q;
      from = q + 1;
    }
    return std::string_view::npos;
  }

  // The offset in sought of its byte that is rarest in t, judged from a
  // sample of t; 0 for short texts, where the choice does not pay.
  static std::size_t RarestByteOffset(std::string_view t, std::string_view sought) {
    constexpr std::size_t kSample = 4096;
    if (sought.size() < 2 || t.size() < 4 * kSample) return 0;
    unsigned counts[256] = {};
    const std::size_t stride = t.size() / kSample;
    for (std::size_t i = 0; i < t.size(); i += stride) ++counts[At(t, i)];
    std::size_t best = 0;
    for (std::size_t j = 1; j < sought.size(); ++j) {
      if (counts[At(sought, j)] < counts[At(sought, best)]) best = j;
    }
    return best;
  }

#if QUILLET_SCAN_PAIR_FILTER
  // The pair filter: 16 places at a time, a place is proposed only when
  // both the anchor and the second anchor (the next rarest byte of sought)
  // stand where they should; each proposed place is compared in full.
  // Returns the first match among the places it looked at, or npos with
  // `from` moved past them (it stops where fewer than 16 places are left).
  std::size_t NextPairMatch(std::size_t& from, std::size_t last) const {
    const char* base = t_.data();
    const __m128i first = _mm_set1_epi8(sought_[anchor_]);
    const __m128i second = _mm_set1_epi8(sought_[second_anchor_]);
    // The loads read t[from + anchor .. from + anchor + 15], within t as
    // long as from + 15 <= last.
    for (; from <= last && last - from >= 15; from += 16) {
      const __m128i a = _mm_loadu_si128(
          reinterpret_cast<const __m128i*>(base + from + anchor_));
      const __m128i b = _mm_loadu_si128(
          reinterpret_cast<const __m128i*>(base + from + second_anchor_));
      unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
          _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
      while (mask != 0) {
        const std::size_t q = from + static_cast<std::size_t>(std::countr_zero(mask));
        if (ExactEqualAt(q)) return q;
        mask &= mask - 1;
      }
    }
    return std::string_view::npos;
  }

  // The pair filter of the letter-case-blind search, on the first and the
  // last byte of sought; as NextPairMatch.
  std::size_t NextFoldedPairMatch(std::size_t& from, std::size_t last) const {
    const char* base = t_.data();
    const std::size_t k = folded_.size();
    const FoldedByte first(At(folded_, 0));
    const FoldedByte final(At(folded_, k - 1));
    for (; from <= last && last - from >= 15; from += 16) {
      unsigned mask = first.Matches(base + from) & final.Matches(base + from + k - 1);
      while (mask != 0) {
        const std::size_t q = from + static_cast<std::size_t>(std::countr_zero(mask));
        if (FoldedEqualAt(q)) return q;
        mask &= mask - 1;
      }
    }
    return std::string_view::npos;
  }

  // One byte of folded sought, compared with 16 bytes of t at once: a
  // lower-case letter matches itself and its capital (the two bytes that
  // are it once bit 0x20 is set), any other byte only itself.
  class FoldedByte {
   public:
    explicit FoldedByte(unsigned char b)
        : wanted_(_mm_set1_epi8(static_cast<char>(b))),
          fold_(_mm_set1_epi8(IsAsciiLetter(b) ? 0x20 : 0)) {}

    // Bit i set when byte i of the 16 at p matches.
    unsigned Matches(const char* p) const {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      return static_cast<unsigned>(
          _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(bytes, fold_), wanted_)));
    }

   private:
    __m128i wanted_;
    __m128i fold_;
  };
#endif

  // The offset of sought's byte that counts says is rarest.
  static std::size_t RarestOffset(std::string_view sought, const std::uint32_t* counts) {
    std::size_t best = 0;
    for (std::size_t j = 1; j < sought.size(); ++j) {
      if (counts[At(sought, j)] < counts[At(sought, best)]) best = j;
    }
    return best;
  }

  // The same among the offsets other than `but` (sought has two bytes or
  // more).
  static std::size_t RarestOffsetBut(std::string_view sought, const std::uint32_t* counts,
                                     std::size_t but) {
    std::size_t best = but == 0 ? 1 : 0;
    for (std::size_t j = best + 1; j < sought.size(); ++j) {
      if (j != but && counts[At(sought, j)] < counts[At(sought, best)]) best = j;
    }
    return best;
  }

  // Whether a byte that occurs `count` times in a text of `size` bytes is
  // common enough that memchr would stop on it more often than about every
  // 64 bytes, where it costs more than the pair filter.
  static bool IsCommon(std::uint32_t count, std::size_t size) {
    return std::size_t{count} * 64 > size;
  }

  // Byte by byte: sought is short, and a library call per proposed place
  // would cost more than the comparison.
  bool ExactEqualAt(std::size_t q) const {
    for (std::size_t i = 0; i < sought_.size(); ++i) {
      if (t_[q + i] != sought_[i]) return false;
    }
    return true;
  }

  bool FoldedEqualAt(std::size_t q) const {
    for (std::size_t i = 1; i < folded_.size(); ++i) {
      if (FoldAsciiCase(At(t_, q + i)) != At(folded_, i)) return false;
    }
    return true;
  }

  std::string_view t_;
  std::string_view sought_;
  bool fold_case_;
  std::size_t anchor_;
  std::size_t second_anchor_ = 0;
  bool pair_filter_ = false;
  std::string_view folded_;      // sought with its capitals folded
  std::string folded_storage_;  // folded_'s bytes when they differ from sought
};

}  // namespace scan_internal

using scan_internal::BoundaryScan;

}  // namespace quillet

#endif  // QUILLET_TEXT_BOUNDARY_SCAN_H_
