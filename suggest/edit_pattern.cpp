#include "suggest/edit_pattern.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quenvar {
namespace {

// By base letter index, the indices of the base letters it replaces
// cheaply.
constexpr std::array<std::uint32_t, kBaseIndices> kCheapWith = [] {
  std::array<std::uint32_t, kBaseIndices> with{};
  for (std::size_t a = 1; a < with.size(); ++a) {
    for (std::size_t b = 1; b < with.size(); ++b) {
      if (IsCheapSubstitution(static_cast<char>('a' + a - 1), static_cast<char>('a' + b - 1))) {
        with[a] |= std::uint32_t{1} << b;
      }
    }
  }
  return with;
}();

}  // namespace

EditPattern::EditPattern(std::string_view word) : word_(word), n_(word.size()) {
  static_assert(kMaxRankedLength < 64);
  full_ = (Mask{2} << n_) - 1;
  std::array<Mask, kBaseIndices> by_base{};  // the word's cells by base letter index
  for (std::size_t i = 0; i < n_; ++i) {
    const Mask bit = Mask{2} << i;  // cell i + 1
    equal_[static_cast<unsigned char>(word[i])] |= bit;
    by_base[BaseIndex(word[i])] |= bit;
    extra_costs_[i + 1] = static_cast<std::uint8_t>(ExtraCost(word, i));
    if (extra_costs_[i + 1] == kCheap) cheap_extra_ |= bit;
  }
  for (std::size_t letter = 1; letter < cheap_.size(); ++letter) {
    for (std::uint32_t with = kCheapWith[letter]; with != 0; with &= with - 1) {
      cheap_[letter] |= by_base[static_cast<std::size_t>(std::countr_zero(with))];
    }
  }
  for (std::size_t i = 1; i < kLaneCells && i <= n_; ++i) {
    extra_sums_[i] = static_cast<std::uint8_t>(extra_sums_[i - 1] + extra_costs_[i]);
  }
#if defined(__SSE2__)
  if (n_ < kLaneCells) FillSubstitutes();
#endif
}

int EditPattern::WeightedCost(std::string_view entry, int max_cost) const {
#if defined(__SSE2__)
  if (n_ < kLaneCells) return LaneCost(entry, max_cost);
#endif
  return TableCost(entry, max_cost);
}

#if defined(__SSE2__)
namespace {

// A byte of 0xFF for each of the low sixteen bits of m that is set, else 0.
__m128i ByteMask(EditPattern::Mask m) {
  constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
  const __m128i bits = _mm_set1_epi64x(static_cast<long long>(0x8040201008040201u));
  const __m128i spread = _mm_set_epi64x(static_cast<long long>((m >> 8 & 0xFF) * kEveryByte),
                                        static_cast<long long>((m & 0xFF) * kEveryByte));
  return _mm_cmpeq_epi8(_mm_and_si128(spread, bits), bits);
}

// The least of the first `cells` bytes of v. REQUIRES: 1 <= cells <= 16.
int LeastOf(__m128i v, std::size_t cells) {
  alignas(16) static constexpr std::uint8_t kPastCells[32] = {
      0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
      0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  v = _mm_or_si128(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPastCells + 16 - cells)));
  v = _mm_min_epu8(v, _mm_srli_si128(v, 8));
  v = _mm_min_epu8(v, _mm_srli_si128(v, 4));
  v = _mm_min_epu8(v, _mm_srli_si128(v, 2));
  v = _mm_min_epu8(v, _mm_srli_si128(v, 1));
  return _mm_cvtsi128_si32(v) & 0xFF;
}

}  // namespace

// A byte costs kEdit in place of another, a unit less where cheap and
// nothing where equal; bytes that are not the word's cost by their base
// letter alone.
void EditPattern::FillSubstitutes() {
  const __m128i ones = _mm_set1_epi8(1);
  const auto fill = [&](std::size_t lane, Mask at_most_cheap, Mask equal) {
    const __m128i cheap = _mm_and_si128(ByteMask(at_most_cheap), ones);
    const __m128i cost = _mm_sub_epi8(_mm_sub_epi8(_mm_set1_epi8(kEdit), cheap),
                                      _mm_and_si128(ByteMask(equal), ones));
    _mm_store_si128(reinterpret_cast<__m128i*>(substitutes_[lane].data()), cost);
  };
  std::copy(kBaseIndex.begin(), kBaseIndex.end(), lane_of_.begin());
  for (std::size_t b = 0; b < kBaseIndices; ++b) fill(b, cheap_[b], 0);
  std::size_t lanes = kBaseIndices;
  for (const char c : word_) {
    const auto byte = static_cast<unsigned char>(c);
    if (lane_of_[byte] >= kBaseIndices) continue;
    fill(lanes, cheap_[lane_of_[byte]] | equal_[byte], equal_[byte]);
    lane_of_[byte] = static_cast<std::uint8_t>(lanes++);
  }
}

// The same recurrences as TableCost's, a byte a cell i. A cell but for the
// word's extra byte takes the least of the cells above it; the extra bytes
// then chain along the row: cell i is the least over k <= i of v[k] plus
// the extra costs of the word's bytes k to i-1, which with the sums S of
// row 0 is S[i] plus the least over k <= i of v[k] - S[k], a running least
// worked out in four shifts (as a running most of the complements, which
// the shifts' zeros do not disturb). Costs stay below 160 (two units for
// each of at most 15 + kMaxRankedLength bytes), so no byte overflows.
int EditPattern::LaneCost(std::string_view entry, int max_cost) const {
  const __m128i every = _mm_set1_epi8(-1);
  // Keeps v[k] - S[k] from going below zero.
  const __m128i offset = _mm_set1_epi8(static_cast<char>(2 * kLaneCells));
  const __m128i sums = _mm_loadu_si128(reinterpret_cast<const __m128i*>(extra_sums_.data()));
  const __m128i no_cell_before = _mm_cvtsi32_si128(0xFF);
  const std::size_t cells = n_ + 1;
  __m128i back3 = every, back2 = every, up = sums;
  int up_least = 0, back2_least = kInfinity;
  for (std::size_t d = 1; d <= entry.size(); ++d) {
    const RowMasks m = MasksFor(entry, d);
    const Mask moved = d >= 3 ? MovedCells(entry, d) : 0;
    const __m128i substitute = _mm_load_si128(reinterpret_cast<const __m128i*>(
        substitutes_[lane_of_[static_cast<unsigned char>(entry[d - 1])]].data()));
    const __m128i diagonal = _mm_or_si128(_mm_slli_si128(up, 1), no_cell_before);
    __m128i v = _mm_min_epu8(
        _mm_adds_epu8(diagonal, substitute),
        _mm_adds_epu8(up, _mm_set1_epi8(static_cast<char>(m.missing_cheap ? kCheap : kEdit))));
    if (m.swap != 0) [[unlikely]] {
      const __m128i swapped = _mm_adds_epu8(_mm_slli_si128(back2, 2), _mm_set1_epi8(kSwap));
      v = _mm_min_epu8(v, _mm_or_si128(swapped, _mm_andnot_si128(ByteMask(m.swap), every)));
    }
    if (moved != 0) [[unlikely]] {
      const __m128i shifted = _mm_adds_epu8(_mm_slli_si128(back3, 3), _mm_set1_epi8(kMoved));
      v = _mm_min_epu8(v, _mm_or_si128(shifted, _mm_andnot_si128(ByteMask(moved), every)));
    }
    __m128i most = _mm_xor_si128(_mm_subs_epu8(_mm_adds_epu8(v, offset), sums), every);
    most = _mm_max_epu8(most, _mm_slli_si128(most, 1));
    most = _mm_max_epu8(most, _mm_slli_si128(most, 2));
    most = _mm_max_epu8(most, _mm_slli_si128(most, 4));
    most = _mm_max_epu8(most, _mm_slli_si128(most, 8));
    const __m128i row = _mm_subs_epu8(_mm_adds_epu8(_mm_xor_si128(most, every), sums), offset);
    const int least = LeastOf(row, cells);
    // No row below gets under the least of this row, the row before plus a
    // swap, or the one before that plus a move.
    if (least > max_cost && up_least + kSwap > max_cost && back2_least + kMoved > max_cost) {
      return kInfinity;
    }
    back2_least = up_least;
    up_least = least;
    back3 = back2;
    back2 = up;
    up = row;
  }
  alignas(16) std::array<std::uint8_t, kLaneCells> last;
  _mm_store_si128(reinterpret_cast<__m128i*>(last.data()), up);
  const int cost = last[n_];
  return cost <= max_cost ? cost : kInfinity;
}
#endif

int EditPattern::TableCost(std::string_view entry, int max_cost) const {
  using Cost = int;
  std::array<std::array<Cost, kMaxRankedLength + 1>, 4> ring;
  Cost* back3 = ring[0].data();  // row d-3
  Cost* back2 = ring[1].data();  // row d-2
  Cost* up = ring[2].data();     // row d-1
  Cost* row = ring[3].data();    // row d
  up[0] = 0;
  for (std::size_t i = 1; i <= n_; ++i) up[i] = static_cast<Cost>(up[i - 1] + extra_costs_[i]);
  Cost up_least = 0, back2_least = kInfinity;
  for (std::size_t d = 1; d <= entry.size(); ++d) {
    const RowMasks m = MasksFor(entry, d);
    const Mask moved = d >= 3 ? MovedCells(entry, d) : 0;
    const auto missing = static_cast<Cost>(m.missing_cheap ? kCheap : kEdit);
    row[0] = static_cast<Cost>(up[0] + missing);
    Cost least = row[0];
    // A substitution costs kEdit, a unit less where cheap and nothing where
    // equal: at_most_cheap holds both.
    const Mask at_most_cheap = m.cheap | m.equal;
    const Mask swap_or_move = m.swap | moved;
    for (std::size_t i = 1; i <= n_; ++i) {
      const auto substitute = static_cast<Cost>(kEdit - static_cast<int>(at_most_cheap >> i & 1) -
                                                static_cast<int>(m.equal >> i & 1));
      Cost v = std::min<Cost>(static_cast<Cost>(up[i - 1] + substitute),
                              static_cast<Cost>(up[i] + missing));
      v = std::min<Cost>(v, static_cast<Cost>(row[i - 1] + extra_costs_[i]));
      if (swap_or_move >> i & 1) [[unlikely]] {
        if (m.swap >> i & 1) {  // only for i >= 2
          v = std::min<Cost>(v, static_cast<Cost>(back2[i - 2] + kSwap));
        }
        if (moved >> i & 1) {  // only for i >= 3
          v = std::min<Cost>(v, static_cast<Cost>(back3[i - 3] + kMoved));
        }
      }
      row[i] = v;
      least = std::min(least, v);
    }
    // No row below gets under the least of this row, the row before plus a
    // swap, or the one before that plus a move.
    if (least > max_cost && up_least + kSwap > max_cost &&
        back2_least + kMoved > max_cost) {
      return kInfinity;
    }
    back2_least = up_least;
    up_least = least;
    std::swap(back3, back2);
    std::swap(back2, up);
    std::swap(up, row);
  }
  return up[n_] <= max_cost ? up[n_] : kInfinity;
}

int EditPattern::NearCost(std::string_view entry, int max_cost) const {
  std::array<Levels, kMaxRankedLength + 1> rows;
  FirstRow(rows[0]);
  int cost = kLevels;
  for (std::size_t d = 1; d <= entry.size(); ++d) {
    NextRow(entry, d, rows.data());
    // Once a row has no cell within kNearCost and the row before none
    // within a swap of it, no row below has one.
    if (rows[d][kNearCost] == 0 && rows[d - 1][kNearCost - kSwap] == 0) break;
    if (d == entry.size()) cost = Final(rows[d]);
  }
  if (entry.empty()) cost = Final(rows[0]);
  return CostFromRows(entry, cost, max_cost);
}

int EditPattern::CostFromRows(std::string_view entry, int rows_cost, int max_cost) const {
  int cost = rows_cost;
  // The rows take a moved letter for two edits, so a cost from three units
  // up may be less.
  if (cost > kEdit && MayMoveLetter(entry)) {
    cost = std::min(cost, WeightedCost(entry, std::min(cost - 1, max_cost)));
  }
  return cost <= max_cost ? cost : kInfinity;
}

EditPattern::Mask EditPattern::MovedCells(std::string_view entry, std::size_t d) const {
  const Mask x = equal_[static_cast<unsigned char>(entry[d - 3])];
  const Mask y = equal_[static_cast<unsigned char>(entry[d - 2])];
  const Mask z = equal_[static_cast<unsigned char>(entry[d - 1])];
  return ((y << 2) & (z << 1) & x) | ((z << 2) & (x << 1) & y);
}

bool EditPattern::MayMoveLetter(std::string_view entry) const {
  for (std::size_t d = 3; d <= entry.size(); ++d) {
    if (MovedCells(entry, d) != 0) return true;
  }
  return false;
}

// The bit-parallel method of Allison and Dix, as Hyyrö states it.
std::size_t EditPattern::LongestCommonSubsequence(std::string_view entry) const {
  const Mask low = full_ >> 1;  // cells 1 to n, as bits 0 to n-1
  Mask v = low;
  for (const char ch : entry) {
    const Mask u = v & (equal_[static_cast<unsigned char>(ch)] >> 1);
    v = ((v + u) | (v - u)) & low;
  }
  return n_ - static_cast<std::size_t>(std::popcount(v));
}

namespace {

// One 64-bit mask a lane, for kSideBySide entries.
using Lanes = EditPattern::Mask
    __attribute__((vector_size(sizeof(EditPattern::Mask) * EditPattern::kSideBySide)));

// The bit-parallel method of Myers with Hyyrö's swaps, a column a byte of
// an entry, one entry a lane: bit i of vp (vn) set when cell i + 1 of the
// column is one more (less) than cell i, and the last cell, n, followed
// down the entry. An entry's distance is taken at its last byte; the
// columns after it are not used. equal: the cells each byte matches.
[[gnu::always_inline]] inline std::array<std::size_t, EditPattern::kSideBySide> SideBySide(
    const std::array<EditPattern::Mask, 256>& equal, std::size_t n,
    const std::array<std::string_view, EditPattern::kSideBySide>& entries) {
  Lanes vp = Lanes{} + ((EditPattern::Mask{2} << (n - 1)) - 1), vn{}, d0{}, before{};
  Lanes distance = Lanes{} + n;
  Lanes at_end = distance;
  Lanes sizes;
  std::size_t longest = 0;
  for (std::size_t e = 0; e < EditPattern::kSideBySide; ++e) {
    sizes[e] = entries[e].size();
    longest = std::max(longest, entries[e].size());
  }
  for (std::size_t j = 0; j < longest; ++j) {
    Lanes match;
    for (std::size_t e = 0; e < EditPattern::kSideBySide; ++e) {
      match[e] = j < entries[e].size() ? equal[static_cast<unsigned char>(entries[e][j])] >> 1 : 0;
    }
    const Lanes swap = ((~d0 & match) << 1) & before;
    d0 = (((match & vp) + vp) ^ vp) | match | vn | swap;
    Lanes hp = vn | ~(d0 | vp);
    Lanes hn = vp & d0;
    distance += (hp >> (n - 1)) & 1;
    distance -= (hn >> (n - 1)) & 1;
    hp = hp << 1 | 1;
    hn <<= 1;
    vp = hn | ~(d0 | hp);
    vn = hp & d0;
    before = match;
    const auto ends = reinterpret_cast<Lanes>(sizes == j + 1);
    at_end = (distance & ends) | (at_end & ~ends);
  }
  std::array<std::size_t, EditPattern::kSideBySide> distances;
  for (std::size_t e = 0; e < EditPattern::kSideBySide; ++e) distances[e] = at_end[e];
  return distances;
}

#if defined(__x86_64__)
// SideBySide in AVX2's wide registers, chosen at the call.
[[gnu::target("avx2")]] std::array<std::size_t, EditPattern::kSideBySide> SideBySideWide(
    const std::array<EditPattern::Mask, 256>& equal, std::size_t n,
    const std::array<std::string_view, EditPattern::kSideBySide>& entries) {
  return SideBySide(equal, n, entries);
}
#endif

}  // namespace

std::array<std::size_t, EditPattern::kSideBySide> EditPattern::EditDistances(
    const std::array<std::string_view, kSideBySide>& entries) const {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx2")) return SideBySideWide(equal_, n_, entries);
#endif
  return SideBySide(equal_, n_, entries);
}

}  // namespace quenvar
