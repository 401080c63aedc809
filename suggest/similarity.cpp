#include "suggest/similarity.h"

#include <algorithm>
#include <bit>
#include <limits>

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

// For b of at most 64 bytes, with positions filled for b: tries one run
// length after the other over bit masks, one per position of a, of the
// places in b where a run of that length ends. A run of length L + 1 ends
// at a[i], b[k] when one of length L ends at a[i - 1], b[k - 1] and
// a[i] = b[k].
Run LongestRunByBits(const std::string& a, const Range& r,
                     const std::array<std::uint64_t, 256>& positions,
                     std::vector<std::uint64_t>& run_ends) {
  const std::int32_t n1 = r.end1 - r.start1 + 1;
  const std::int32_t n2 = r.end2 - r.start2 + 1;
  const std::int32_t unbeatable = std::min(n1, n2);
  const auto* pa =
      reinterpret_cast<const unsigned char*>(a.data()) + (r.start1 - 1);
  const int shift = r.start2 - 1;
  const std::uint64_t range =
      n2 == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n2) - 1;
  // Bit k of matches(i) stands for b[r.start2 + k].
  auto matches = [&](std::int32_t i) {
    return (positions[pa[i]] >> shift) & range;
  };

  run_ends.resize(static_cast<std::size_t>(n1));
  std::uint64_t* const ends = run_ends.data();
  std::int32_t first = -1;
  for (std::int32_t i = n1 - 1; i >= 0; --i) {
    ends[i] = matches(i);
    if (ends[i] != 0) first = i;
  }
  if (first < 0) return {0, 0, 0};
  std::int32_t length = 1;
  std::int32_t best_end1 = first;
  std::int32_t best_end2 = std::countr_zero(ends[first]);
  while (length < unbeatable) {
    // In place from the back: ends[i - 1] still holds the shorter runs.
    // Entries below length are neither written nor read again.
    first = -1;
    for (std::int32_t i = n1 - 1; i >= length; --i) {
      ends[i] = (ends[i - 1] << 1) & matches(i);
      if (ends[i] != 0) first = i;
    }
    if (first < 0) break;
    ++length;
    best_end1 = first;
    best_end2 = std::countr_zero(ends[first]);
  }
  return RunEndingAt(r, length, best_end1, best_end2);
}

bool IsEmpty(const Range& r) { return r.end1 < r.start1 || r.end2 < r.start2; }

// The longest second word the bit-mask search takes.
constexpr std::size_t kMaskBits = 64;

// Sets the bit of each position of the second working array, when it is
// short enough for the bit-mask search, in positions for as long as the
// object lives, and clears them again however the count ends.
class MarkedPositions {
 public:
  explicit MarkedPositions(SimilarityArrays& arrays) : arrays_(arrays) {
    if (!active()) return;
    for (std::size_t k = 0; k < arrays_.second.size(); ++k) {
      arrays_.positions[Byte(arrays_.second[k])] |= std::uint64_t{1} << k;
    }
  }
  ~MarkedPositions() {
    if (!active()) return;
    for (char c : arrays_.second) arrays_.positions[Byte(c)] = 0;
  }
  MarkedPositions(const MarkedPositions&) = delete;
  MarkedPositions& operator=(const MarkedPositions&) = delete;

  bool active() const { return arrays_.second.size() <= kMaskBits; }

 private:
  static unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

  SimilarityArrays& arrays_;
};

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

std::int32_t CountMatching(std::int32_t start1, std::int32_t end1,
                           std::int32_t start2, std::int32_t end2) {
  if (end1 < start1 || end2 < start2 || start1 <= 0 || start2 <= 0) return 0;
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  if (static_cast<std::size_t>(end1) > arrays.first.size() ||
      static_cast<std::size_t>(end2) > arrays.second.size()) {
    throw Error("CountMatching: range past the end of a working array");
  }
  // Each run found splits its range into the part to its right and the part
  // to its left; the parts wait on a stack of their own instead of the call
  // stack, the right one on top so that it is counted first.
  const MarkedPositions marked(arrays);
  std::vector<Range>& pending = arrays.pending;
  pending.clear();
  pending.push_back({start1, end1, start2, end2});
  std::int32_t count = 0;
  while (!pending.empty()) {
    const Range r = pending.back();
    pending.pop_back();
    const Run run = marked.active()
                        ? LongestRunByBits(arrays.first, r, arrays.positions,
                                           arrays.run_ends)
                        : LongestRunByTable(arrays.first, arrays.second, r,
                                            arrays.run_lengths);
    if (run.length == 0) continue;
    count += run.length;
    const Range left = {r.start1, run.start1 - 1, r.start2, run.start2 - 1};
    const Range right = {run.start1 + run.length, r.end1,
                         run.start2 + run.length, r.end2};
    if (!IsEmpty(left)) pending.push_back(left);
    if (!IsEmpty(right)) pending.push_back(right);
  }
  return count;
}

}  // namespace quenvar
