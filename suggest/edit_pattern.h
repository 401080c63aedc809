// The word being corrected, prepared for the weighted edit cost of the
// error model against entries: as bit-parallel rows of the cost table for
// the walk, and as the plain table (WeightedCost) that is their reference.

#ifndef QUENVARSPELL_SUGGEST_EDIT_PATTERN_H_
#define QUENVARSPELL_SUGGEST_EDIT_PATTERN_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "suggest/error_model.h"

namespace quenvar {

// The table's cell (d, i) is the least cost of the entry's first d bytes
// against the word's first i. Here a row d is kept as bit vectors, one a
// cost level: bit i of level k is set when cell (d, i) costs at most k
// units. A row then takes a few dozen word operations, whatever the word's
// length. Levels above kNearCost are not kept: no walk reaches further.
// The rows know every slip but the moved letter; WeightedCost knows it too.
class EditPattern {
 public:
  using Mask = std::uint64_t;
  static constexpr int kLevels = kNearCost + 1;
  using Levels = std::array<Mask, kLevels>;
  // An entry's byte before its first.
  static constexpr int kNoByte = -1;

  // Keeps a reference to word. REQUIRES: 1 <= word.size() <= kMaxRankedLength.
  explicit EditPattern(std::string_view word);

  std::string_view word() const { return word_; }

  // Row 0: the word's first i bytes against nothing.
  void FirstRow(Levels& row) const {
    row[0] = 1;
    for (std::size_t k = 1; k < kLevels; ++k) {
      Mask v = row[k - 1] | ((row[k - 1] << 1) & cheap_extra_);
      if (k >= 2) v |= row[k - 2] << 1;
      row[k] = v & full_;
    }
  }

  // Row d (the entry's first d bytes) from rows d-1 and d-2. REQUIRES: 1 <=
  // d <= entry.size() <= kMaxRankedLength, rows up to d-1 computed for
  // entry.
  [[gnu::always_inline]] void NextRow(std::string_view entry, std::size_t d,
                                      Levels* rows) const {
    static_assert(kCheap == 1 && kSwap == 1 && kEdit == 2 && kLevels == 5);
    const std::size_t j = d - 1;
    const RowMasks masks = MasksFor(entry, d);
    const Mask equal = masks.equal, cheap = masks.cheap, swap = masks.swap;
    const bool missing_cheap = masks.missing_cheap;
    const Levels& up = rows[j];
    const Levels& up2 = rows[j > 0 ? j - 1 : 0];
    // Cost-level k gets: a match from level k of the row above, a cheap
    // substitution or a swap from level k-1, any substitution from k-2, the
    // entry's byte missing from k-1 or k-2, and the word's byte extra from
    // this row's level k-1 (cheaply) or k-2.
    const Mask s0 = up[0] << 1, s1 = up[1] << 1, s2 = up[2] << 1,
               s3 = up[3] << 1, s4 = up[4] << 1;
    const Mask m1 = missing_cheap ? up[0] : 0;
    const Mask m2 = missing_cheap ? up[1] : up[0];
    const Mask m3 = missing_cheap ? up[2] : up[1];
    const Mask m4 = missing_cheap ? up[3] : up[2];
    const Mask r0 = s0 & equal;
    Mask r1 = (s1 & equal) | (s0 & cheap) | ((up2[0] << 2) & swap) | m1 | r0 |
              ((r0 << 1) & cheap_extra_);
    r1 &= full_;
    Mask r2 = (s2 & equal) | (s1 & cheap) | ((up2[1] << 2) & swap) | s0 | m2 |
              r1 | ((r1 << 1) & cheap_extra_) | (r0 << 1);
    r2 &= full_;
    Mask r3 = (s3 & equal) | (s2 & cheap) | ((up2[2] << 2) & swap) | s1 | m3 |
              r2 | ((r2 << 1) & cheap_extra_) | (r1 << 1);
    r3 &= full_;
    Mask r4 = (s4 & equal) | (s3 & cheap) | ((up2[3] << 2) & swap) | s2 | m4 |
              r3 | ((r3 << 1) & cheap_extra_) | (r2 << 1);
    r4 &= full_;
    rows[d] = {r0, r1, r2, r3, r4};
  }

  // Whether row d, for entry byte c, keeps a cell within allowed, given
  // that row d-1 has none within allowed - 1: then no row below d has one
  // either, and row d gets one only by a match after a cell of row d-1
  // (KeepsByMatch), or by a swap with the byte before after a cell of row
  // d-2 (KeepsBySwap; kNoByte before the first byte). REQUIRES: rows up to
  // d-1 computed, 1 <= allowed < kLevels.
  bool KeepsByMatch(char c, std::size_t d, const Levels* rows, std::size_t allowed) const {
    return ((rows[d - 1][allowed] << 1) & equal_[static_cast<unsigned char>(c)]) != 0;
  }
  bool KeepsBySwap(char c, int before, std::size_t d, const Levels* rows,
                   std::size_t allowed) const {
    const Mask equal = equal_[static_cast<unsigned char>(c)];
    return before != kNoByte && before != static_cast<unsigned char>(c) &&
           ((rows[d - 2][allowed - 1] << 2) &
            equal_[static_cast<std::size_t>(before)] & (equal << 1)) != 0;
  }

  // The cost of the whole word against the entry's first d bytes, from row
  // d, or kLevels when above every level.
  int Final(const Levels& row) const {
    for (std::size_t k = 0; k < kLevels; ++k) {
      if (row[k] >> n_ & 1) return static_cast<int>(k);
    }
    return kLevels;
  }

  // The weighted cost of the word against entry, or kInfinity when above
  // max_cost: the same table as the rows, one cost a cell, for every cost,
  // and with one slip more, a letter moved over two others (fomr for from,
  // tyhe for they) at kMoved. REQUIRES: entry.size() <= kMaxRankedLength.
  // For a word of up to 15 bytes the table is worked out a row at a time,
  // a byte a cell (with SSE2), else a cell at a time (TableCost).
  static constexpr int kInfinity = 1000;
  int WeightedCost(std::string_view entry, int max_cost) const;

  // WeightedCost worked out a cell at a time, for a word of any length.
  // REQUIRES: as WeightedCost.
  int TableCost(std::string_view entry, int max_cost) const;

  // WeightedCost(entry, max_cost), worked out by the rows, and by the plain
  // table only when a letter may have moved. REQUIRES: max_cost <= kNearCost,
  // entry.size() <= kMaxRankedLength.
  int NearCost(std::string_view entry, int max_cost) const;

  // The weighted cost of entry, at most max_cost (else kInfinity), given
  // rows_cost, its rows' cost (kLevels when above every level): the plain
  // table is worked out only where a moved letter may cost less.
  int CostFromRows(std::string_view entry, int rows_cost, int max_cost) const;

  // Whether some three bytes of entry are three of the word's with a letter
  // moved (so that WeightedCost may be below the rows' cost).
  bool MayMoveLetter(std::string_view entry) const;

  // The length of the longest subsequence entry has in common with the
  // word.
  std::size_t LongestCommonSubsequence(std::string_view entry) const;

  // For each of entries, the fewest bytes inserted, dropped or replaced and
  // pairs of neighbours swapped that turn it into the word, no byte edited
  // twice: at most WeightedCost / kCheap, since each of its slips costs a
  // unit at least for each of these edits it makes. The entries are worked
  // out side by side: each step of one waits on its step before.
  // REQUIRES: every entry.size() <= kMaxRankedLength.
  static constexpr std::size_t kSideBySide = 4;
  std::array<std::size_t, kSideBySide> EditDistances(
      const std::array<std::string_view, kSideBySide>& entries) const;

 private:
  // What row d of the table takes from the entry's byte d-1: the cells it
  // matches, those it replaces cheaply, those where it ends a swap, and
  // whether leaving it out is cheap.
  struct RowMasks {
    Mask equal, cheap, swap;
    bool missing_cheap;
  };
  RowMasks MasksFor(std::string_view entry, std::size_t d) const {
    const std::size_t j = d - 1;
    const char c = entry[j];
    RowMasks m;
    m.equal = equal_[static_cast<unsigned char>(c)];
    m.cheap = cheap_[BaseIndex(c)] & ~m.equal;
    m.swap = 0;
    if (j > 0 && entry[j - 1] != c) {
      m.swap = equal_[static_cast<unsigned char>(entry[j - 1])] & (m.equal << 1);
    }
    m.missing_cheap = IsCheapToLeaveOut(entry, j);
    return m;
  }

  // The cells i where the word's bytes i-3 to i-1 are the entry's bytes d-3
  // to d-1 with the first moved to the end, or the last to the front.
  // REQUIRES: 3 <= d <= entry.size().
  Mask MovedCells(std::string_view entry, std::size_t d) const;

  // WeightedCost a row at a time, one byte a cell: no cost of a word this
  // short reaches a byte's limit. REQUIRES: n_ < kLaneCells.
  static constexpr std::size_t kLaneCells = 16;
  int LaneCost(std::string_view entry, int max_cost) const;
  // Fills lane_of_ and substitutes_. REQUIRES: n_ < kLaneCells.
  void FillSubstitutes();

  std::string_view word_;
  std::size_t n_;
  Mask full_ = 0;  // cells 0 to n
  std::array<Mask, 256> equal_{};
  // By base letter index: the cells whose word byte a byte of that base
  // replaces cheaply (bar equal bytes).
  std::array<Mask, kBaseIndices> cheap_{};
  Mask cheap_extra_ = 0;  // word bytes whose extra copy costs kCheap
  // By cell i, the cost of the word's byte i-1 when the entry lacks it.
  std::array<std::uint8_t, kMaxRankedLength + 1> extra_costs_{};
  // By cell i < kLaneCells, the costs of the word's first i bytes all
  // extra: row 0.
  std::array<std::uint8_t, kLaneCells> extra_sums_{};
  // For LaneCost, by cell, what putting a byte for the word's byte there
  // costs: substitutes_[lane_of_[c]] for byte c. A byte of the word has a
  // lane of its own past those of the base letter indices.
  std::array<std::uint8_t, 256> lane_of_;
  using LaneCosts = std::array<std::uint8_t, kLaneCells>;
  alignas(16) std::array<LaneCosts, kBaseIndices + kLaneCells> substitutes_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_EDIT_PATTERN_H_
