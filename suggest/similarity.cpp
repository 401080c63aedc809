#include "suggest/similarity.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <span>

#include <quenvarspell/types.h>

#include "base/ascii.h"
#include "base/text.h"

namespace quenvar {
namespace {

using Range = SimilarityArrays::Range;

// A common run of the two working arrays: its length and its 1-based start
// in each.
struct Run {
  std::int32_t length;
  std::int32_t start1;
  std::int32_t start2;
};

// Whether the two words are equal upper-cased. Every ASCII character
// upper-cases to one character of its own, whatever surrounds it, and
// distinct letters to distinct ones; so while both words are ASCII the first
// two characters that differ other than by ASCII letter case settle the
// answer, and two ASCII words of different lengths are never equal. The
// full mapping decides the rest, where it alone knows the locale's rules
// (the dotted and dotless i, characters that upper-case to several).
bool EqualUpperCased(std::u16string_view first, std::u16string_view second) {
  const std::size_t common = std::min(first.size(), second.size());
  for (std::size_t k = 0; k < common; ++k) {
    const char16_t a = first[k];
    const char16_t b = second[k];
    if (a >= 0x80 || b >= 0x80) return ToUpper(first) == ToUpper(second);
    if (AsciiUpper(a) != AsciiUpper(b)) return false;
  }
  if (first.size() != second.size() && IsAscii(first.substr(common)) &&
      IsAscii(second.substr(common))) {
    return false;
  }
  return ToUpper(first) == ToUpper(second);
}

// The run searches below find the longest common run of a[r.start1..r.end1]
// and b[r.start2..r.end2] (1-based positions; neither range empty) and, of
// several longest runs, the one with the smallest start in a, then in b:
// the run that measuring every run from every starting pair in scanning
// order (i, then j) and keeping only strictly longer ones would keep.
//
// Both work on the ends of runs. The longest runs cannot be extended at
// either end, and runs of one length that end earlier in scanning order
// also start earlier, so the first end in scanning order of a run of the
// greatest length marks the chosen run. A run as long as the shorter range
// cannot be beaten, which ends a search early.

Run RunEndingAt(const Range& r, std::int32_t length, std::int32_t end1,
                std::int32_t end2) {
  return {length, r.start1 + end1 - length + 1, r.start2 + end2 - length + 1};
}

// Fills a table row by row: row i holds, for each j, the length of the
// common run ending at a[i] and b[j], from row i - 1 in one pass.
Run LongestRunByTable(const std::string& a, const std::string& b,
                      const Range& r, std::vector<std::int32_t>& row) {
  const std::int32_t n1 = r.end1 - r.start1 + 1;
  const std::int32_t n2 = r.end2 - r.start2 + 1;
  const std::int32_t unbeatable = std::min(n1, n2);
  const auto* pa =
      reinterpret_cast<const unsigned char*>(a.data()) + (r.start1 - 1);
  const auto* pb =
      reinterpret_cast<const unsigned char*>(b.data()) + (r.start2 - 1);
  // cells[k + 1] is the run ending at pb[k]; cells[0] stays 0.
  row.assign(static_cast<std::size_t>(n2) + 1, 0);
  std::int32_t* const cells = row.data();
  std::int32_t best = 0, best_end1 = 0, best_end2 = 0;
  for (std::int32_t i = 0; i < n1; ++i) {
    const unsigned char c = pa[i];
    std::int32_t diagonal = 0;  // row i - 1 at k, before it is overwritten
    for (std::int32_t k = 0; k < n2; ++k) {
      const std::int32_t above = cells[k + 1];
      // Without a branch: equal bytes are as unpredictable as the words.
      const std::int32_t length =
          (diagonal + 1) & -static_cast<std::int32_t>(pb[k] == c);
      cells[k + 1] = length;
      diagonal = above;
      if (length > best) {
        best = length;
        best_end1 = i;
        best_end2 = k;
        if (best == unbeatable) return RunEndingAt(r, best, i, k);
      }
    }
  }
  return RunEndingAt(r, best, best_end1, best_end2);
}

bool IsEmpty(const Range& r) { return r.end1 < r.start1 || r.end2 < r.start2; }

// The longest second range the bit-mask search takes.
constexpr std::size_t kMaskBits = 64;

// For a range of b of at most 64 bytes, with positions filled for b (bit k
// of positions[c] set when b[k] is c): walks a's range once, keeping for
// each length l the places in b where a run of at least l bytes ends at the
// current byte of a, as a bit mask, in ends[l - 1]. A run of l + 1 ends at
// a[i], b[k] when one of l ends at a[i - 1], b[k - 1] and a[i] = b[k].
Run LongestRunByBits(const unsigned char* a, const Range& r,
                     const std::array<std::uint64_t, 256>& positions) {
  const auto n1 = static_cast<std::size_t>(r.end1 - r.start1 + 1);
  const auto n2 = static_cast<std::size_t>(r.end2 - r.start2 + 1);
  const std::size_t unbeatable = std::min(n1, n2);
  const int shift = r.start2 - 1;
  const std::uint64_t range =
      (n2 == kMaskBits ? ~std::uint64_t{0} : (std::uint64_t{1} << n2) - 1) << shift;
  const unsigned char* const from = a + (r.start1 - 1);
  // Only ends[0] to ends[depth - 1] hold runs of the current byte.
  std::array<std::uint64_t, kMaskBits + 1> ends;
  std::size_t depth = 0;  // the longest run ending at the current byte
  std::size_t best = 0, best_end1 = 0;
  int best_end2 = 0;
  for (std::size_t i = 0; i < n1; ++i) {
    const std::uint64_t here = positions[from[i]] & range;
    if (here == 0) {
      depth = 0;
      continue;
    }
    for (std::size_t l = depth; l >= 1; --l) ends[l] = here & (ends[l - 1] << 1);
    ends[0] = here;
    ++depth;
    while (depth > 0 && ends[depth - 1] == 0) --depth;
    // Of the runs of this length ending here, the one ending first in b.
    if (depth > best) {
      best = depth;
      best_end1 = i;
      best_end2 = std::countr_zero(ends[depth - 1]) - shift;
      if (best == unbeatable) break;
    }
  }
  return RunEndingAt(r, static_cast<std::int32_t>(best),
                     static_cast<std::int32_t>(best_end1), best_end2);
}

// The matches in the range whole: the longest common run longest_run finds,
// plus the matches to its right, plus those to its left. Each run splits its
// range into the parts to its right and to its left, which wait in pending
// instead of on the call stack, the right one on top so that it is counted
// first. The waiting ranges are disjoint and none is empty, so pending needs
// room for as many as the shorter range has bytes.
template <typename LongestRun>
std::int32_t CountRuns(const Range& whole, std::span<Range> pending,
                       LongestRun longest_run) {
  std::size_t waiting = 0;
  pending[waiting++] = whole;
  std::int32_t count = 0;
  while (waiting > 0) {
    const Range r = pending[--waiting];
    const Run run = longest_run(r);
    if (run.length == 0) continue;
    count += run.length;
    const Range left = {r.start1, run.start1 - 1, r.start2, run.start2 - 1};
    const Range right = {run.start1 + run.length, r.end1,
                         run.start2 + run.length, r.end2};
    if (!IsEmpty(left)) pending[waiting++] = left;
    if (!IsEmpty(right)) pending[waiting++] = right;
  }
  return count;
}

// Empties the working arrays when Similarity leaves, however it leaves.
class WorkingArraysGuard {
 public:
  explicit WorkingArraysGuard(SimilarityArrays& arrays) : arrays_(arrays) {}
  ~WorkingArraysGuard() {
    arrays_.first.clear();
    arrays_.second.clear();
  }
  WorkingArraysGuard(const WorkingArraysGuard&) = delete;
  WorkingArraysGuard& operator=(const WorkingArraysGuard&) = delete;

 private:
  SimilarityArrays& arrays_;
};

// The score of first and second, with fill putting their single-byte forms
// into the working arrays when the matching needs them.
template <typename Fill>
double Score(std::u16string_view first, std::u16string_view second, Fill fill) {
  constexpr std::size_t kMaxLength =
      std::numeric_limits<std::int32_t>::max() - 1;
  if (first.size() > kMaxLength || second.size() > kMaxLength) {
    throw Error("word too long to score its similarity");
  }
  // The upper-case test reads the words themselves, so the working arrays
  // are filled only after it.
  if (EqualUpperCased(first, second)) return 1.0;
  if (first.empty() || second.empty()) return 0.0;

  SimilarityArrays& arrays = ThreadSimilarityArrays();
  WorkingArraysGuard guard(arrays);
  fill(arrays);
  const auto la = static_cast<std::int32_t>(first.size());
  const auto lb = static_cast<std::int32_t>(second.size());
  const std::int32_t matching = CountMatching(1, la, 1, lb);
  return (static_cast<double>(matching) /
          (static_cast<double>(la) + static_cast<double>(lb))) *
         2;
}

}  // namespace

double Similarity(std::u16string_view first, std::u16string_view second) {
  return Score(first, second, [&](SimilarityArrays& arrays) {
    ToSingleByte(first, arrays.first);
    ToSingleByte(second, arrays.second);
  });
}

double Similarity(const WordForms& first, const WordForms& second) {
  return Score(first.text, second.text, [&](SimilarityArrays& arrays) {
    arrays.first.assign(first.bytes);
    arrays.second.assign(second.bytes);
  });
}

std::int32_t CountMatchingBytes(std::string_view first,
                                std::string_view second) {
  if (first.empty() || second.empty()) return 0;
  // Only the entries of the two words' bytes are set, and only those are
  // read.
  std::array<std::uint64_t, 256> positions;
  for (const char c : first) positions[static_cast<unsigned char>(c)] = 0;
  for (const char c : second) positions[static_cast<unsigned char>(c)] = 0;
  for (std::size_t k = 0; k < second.size(); ++k) {
    positions[static_cast<unsigned char>(second[k])] |= std::uint64_t{1} << k;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(first.data());
  std::array<Range, kMaskBits> pending;
  return CountRuns({1, static_cast<std::int32_t>(first.size()), 1,
                    static_cast<std::int32_t>(second.size())},
                   pending, [&](const Range& r) {
                     return LongestRunByBits(bytes, r, positions);
                   });
}

std::int32_t CountMatching(std::int32_t start1, std::int32_t end1,
                           std::int32_t start2, std::int32_t end2) {
  if (end1 < start1 || end2 < start2 || start1 <= 0 || start2 <= 0) return 0;
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  if (static_cast<std::size_t>(end1) > arrays.first.size() ||
      static_cast<std::size_t>(end2) > arrays.second.size()) {
    throw Error("CountMatching: range past the end of a working array");
  }
  const std::int32_t n1 = end1 - start1 + 1;
  const std::int32_t n2 = end2 - start2 + 1;
  if (static_cast<std::size_t>(n2) <= kMaskBits) {
    const auto part = [](const std::string& bytes, std::int32_t start, std::int32_t n) {
      return std::string_view(bytes).substr(static_cast<std::size_t>(start - 1),
                                            static_cast<std::size_t>(n));
    };
    return CountMatchingBytes(part(arrays.first, start1, n1),
                              part(arrays.second, start2, n2));
  }
  arrays.pending.resize(static_cast<std::size_t>(std::min(n1, n2)));
  return CountRuns({start1, end1, start2, end2}, arrays.pending,
                   [&](const Range& r) {
                     return LongestRunByTable(arrays.first, arrays.second, r,
                                              arrays.run_lengths);
                   });
}

}  // namespace quenvar
