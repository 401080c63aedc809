// The far misspellings (the corpus's hard_misspellings.tab) are halved by
// their correction, so that every misspelling of a word falls in the same
// half: the ranking's weights are tuned on one half, and the comparison and
// the quality floor read the other.

#ifndef QUENVARSPELL_BENCH_FAR_HALF_H_
#define QUENVARSPELL_BENCH_FAR_HALF_H_

#include <cstdint>
#include <string_view>

namespace quenvar::bench {

// Whether the misspellings of correction (its UTF-8 bytes) are held out
// from the tuning: its FNV-1a hash is odd.
inline bool IsHeldOut(std::string_view correction) {
  std::uint32_t h = 2166136261u;
  for (const char c : correction) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return (h & 1) != 0;
}

}  // namespace quenvar::bench

#endif  // QUENVARSPELL_BENCH_FAR_HALF_H_
