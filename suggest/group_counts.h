// How many bytes of a word fall in each of a few groups of letters: a quick
// upper bound of the letters two words share, which rules most entries out
// before their similarity is scored.

#ifndef QUENVARSPELL_SUGGEST_GROUP_COUNTS_H_
#define QUENVARSPELL_SUGGEST_GROUP_COUNTS_H_

#include <bit>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quenvar {

// How many bytes of a word fall in each of 16 groups, four bits a count: one
// group for each of the 14 letters most frequent in English words
// (e s i a r n t o l c d u g p), in either case, one for every other ASCII
// byte and one for the bytes 0x80 and up. A count of 15 stands for 15 or
// more.
class PackedGroupCounts {
 public:
  // The counts of the groups of bytes.
  static PackedGroupCounts Of(std::string_view bytes);

  // True when some byte is 0x80 or more.
  bool HasNonAscii() const { return (bits_ >> 60) != 0; }

  // True when every count is below 15, so each is the exact count.
  bool IsExact() const {
    const std::uint64_t full = bits_ & bits_ >> 1 & bits_ >> 2 & bits_ >> 3;
    return (full & 0x1111111111111111) == 0;
  }

  // An upper bound of the bytes a word and an entry have in common, counted
  // with repetition and with ASCII letter case ignored: never below the true
  // number. REQUIRES: word.IsExact().
  friend std::uint32_t CommonBytesBound(const PackedGroupCounts& word,
                                        const PackedGroupCounts& entry) {
    // Where the entry's count is 15 its true count may be higher, but the
    // word's exact count, below 15, is then the smaller one. The sixteen
    // minima are taken at once in a vector of the compilers' extension.
    const Counts16 a = word.Unpacked();
    const Counts16 b = entry.Unpacked();
    const Counts16 a_smaller = a < b;
    const auto minima = std::bit_cast<Halves>((a & a_smaller) | (b & ~a_smaller));
    // The sum of the bytes of a 64-bit value whose bytes add up below 256
    // lands in its top byte when multiplied by 0x0101...01.
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    return static_cast<std::uint32_t>(((minima[0] + minima[1]) * kOnes) >> 56);
  }

 private:
  using Counts16 = std::uint8_t __attribute__((vector_size(16)));
  using Halves = std::uint64_t __attribute__((vector_size(16)));

  // The counts one a byte, group g at index g.
  Counts16 Unpacked() const {
    constexpr std::uint64_t kLowNibbles = 0x0F0F0F0F0F0F0F0F;
    return std::bit_cast<Counts16>(
        Halves{bits_ & kLowNibbles, bits_ >> 4 & kLowNibbles});
  }

  // Group g in byte g % 8: in its low four bits for g < 8, in its high four
  // bits for the others.
  std::uint64_t bits_ = 0;
};

// The group counts of this thread's main list, one per entry, counted on
// the first call and again after the list has been reloaded.
std::span<const PackedGroupCounts> ThreadEntryGroupCounts();

// This thread's group counts and the load of the main list they were
// counted from.
struct GroupCountsState {
  std::uint64_t list_loads = 0;
  std::vector<PackedGroupCounts> counts;
};
GroupCountsState& ThreadGroupCountsState();

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_GROUP_COUNTS_H_
