// The entries of a main word list in byte order, with the tables that let
// the walk share the rows of a prefix among the entries starting with it
// and pass over a prefix's entries without reading them, and let an entry
// be looked up without a search of the whole list.

#ifndef QUENVARSPELL_SUGGEST_SORTED_ENTRIES_H_
#define QUENVARSPELL_SUGGEST_SORTED_ENTRIES_H_

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "dictionary/word_list.h"

namespace quenvar {

// The entries of a main word list, indexed as the list indexes them.
class WordListEntries {
 public:
  explicit WordListEntries(const MainWordList& list) : list_(&list) {}
  std::size_t size() const { return static_cast<std::size_t>(list_->capacity()); }
  std::string_view operator[](std::size_t i) const {
    return list_->Entry(static_cast<std::int32_t>(i));
  }

 private:
  const MainWordList* list_;
};

// Built over entries in any order, duplicates and empty entries allowed;
// equal entries keep their order, so the first of them has the lowest
// index. Keeps a reference to entries, whose list must outlive it and stay
// unchanged.
class SortedEntries {
 public:
  explicit SortedEntries(const WordListEntries& entries);

  std::size_t size() const { return entries_.size(); }
  // The entry at a sorted position, and its index in the list.
  std::string_view Entry(std::size_t position) const {
    return entries_[order_.empty() ? position : order_[position]];
  }
  std::int32_t Index(std::size_t position) const {
    return static_cast<std::int32_t>(order_.empty() ? position : order_[position]);
  }

  // The positions of the entries whose first byte is b are
  // [ByteStart(b), ByteStart(b + 1)). Empty entries belong to no byte.
  std::size_t ByteStart(std::size_t b) const { return first_byte_starts_[b]; }

  // Whether the entry at position, not an empty one, equals the one before
  // it; else how many bytes it shares with that one (capped at kSharedCap),
  // and the first byte it does not share.
  static constexpr std::size_t kSharedCap = 127;
  bool IsDuplicate(std::size_t position) const { return (shared_[position] & kDuplicate) != 0; }
  std::size_t SharedBytes(std::size_t position) const { return shared_[position]; }
  char Branch(std::size_t position) const { return static_cast<char>(branches_[position] & 0xFF); }

  // The first position after q, and at most end, whose entry does not start
  // with the first SharedBytes(q) + 1 bytes of q's: SkipPrefix(q,
  // SharedBytes(q) + 1, end) looked up. REQUIRES: !IsDuplicate(q).
  std::size_t SkipBranch(std::size_t q, std::size_t end) const {
    return std::min<std::size_t>(branches_[q] >> 8, end);
  }

  // The first position after q, and at most end, whose entry does not start
  // with the first d bytes of q's. REQUIRES: 1 <= d <= kSharedCap.
  std::size_t SkipPrefix(std::size_t q, std::size_t d, std::size_t end) const {
    // Those that start with the prefix share at least d bytes with the one
    // before; sixteen shared lengths are tested at once, or eight without
    // SSE2.
    const std::uint8_t* shared = shared_.data();
    ++q;
#if defined(__SSE2__)
    // Unsigned, a byte is below d when the lesser of it and d - 1 is itself.
    const __m128i most = _mm_set1_epi8(static_cast<char>(d - 1));
    while (q + 16 <= end) {
      const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(shared + q));
      const auto below = static_cast<unsigned>(
          _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(sixteen, most), sixteen)));
      if (below != 0) return q + static_cast<std::size_t>(std::countr_zero(below));
      q += 16;
    }
#endif
    while (q + 8 <= end) {
      std::uint64_t eight;
      std::memcpy(&eight, shared + q, 8);
      const std::uint64_t below = BytesBelow(eight, d);
      if (below != 0) {
        if constexpr (std::endian::native == std::endian::little) {
          return q + static_cast<std::size_t>(std::countr_zero(below)) / 8;
        }
        break;
      }
      q += 8;
    }
    while (q < end && shared[q] >= d) ++q;
    return q;
  }

  // The sorted position of the entry head + rest (the first of equal ones),
  // or kNotFound. A rest looked up after many heads is prepared once.
  static constexpr std::size_t kNotFound = SIZE_MAX;
  struct Rest {
    std::string_view bytes;
    std::uint64_t hash;
  };
  static Rest PrepareRest(std::string_view rest);
  std::size_t Find(std::uint8_t head, const Rest& rest) const;
  std::size_t Find(std::uint8_t head, std::string_view rest) const {
    return Find(head, PrepareRest(rest));
  }
  // REQUIRES: !entry.empty().
  std::size_t Find(std::string_view entry) const {
    return Find(static_cast<std::uint8_t>(entry[0]), entry.substr(1));
  }

 private:
  // Marks in shared_ an entry equal to the one before; shared lengths are
  // capped below it so that eight of them can be tested against a depth at
  // once.
  static constexpr std::uint8_t kDuplicate = 0x80;
  // The class of an entry's second byte by which pair_starts_ groups the
  // entries of each first letter a to z: 0 below a (or no second byte), 1
  // to 26 for a to z, 27 above z, so in byte order.
  static constexpr std::size_t kSecondClasses = 28;
  static std::size_t SecondClass(std::uint8_t b) {
    return b < 'a' ? 0 : b <= 'z' ? static_cast<std::size_t>(b - 'a' + 1) : kSecondClasses - 1;
  }
  // A top bit set in each of the eight bytes of x below n, and perhaps in
  // bytes after the first such: subtracting n from each byte borrows into
  // its top bit when it is below n, or when a byte before it borrowed. So
  // the lowest set bit (the first byte in memory on a little-endian
  // machine) is exact. REQUIRES: n <= 128; bytes of 128 or more count as
  // not below n.
  static std::uint64_t BytesBelow(std::uint64_t x, std::size_t n) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    return (x - kOnes * n) & ~x & (kOnes << 7);
  }
  void FillByteStarts(std::size_t empty);
  void FillPrefixTables();

  WordListEntries entries_;
  // Entry indices in byte order of the entries; empty when the entries are
  // already in that order.
  std::vector<std::uint32_t> order_;
  // For each sorted position, the bytes its entry shares with the one
  // before (the top bit marks an entry equal to it); and, in one number as
  // the walk reads them together, SkipBranch's answer without an end (from
  // bit 8 up) and the entry's first byte not shared (the low eight bits).
  std::vector<std::uint8_t> shared_;
  std::vector<std::uint32_t> branches_;
  std::array<std::uint32_t, 257> first_byte_starts_{};
  // Likewise by first letter a to z and second byte class: row f * 29 for
  // letter f, 29 bounds a row.
  std::array<std::uint32_t, 26 * (kSecondClasses + 1)> pair_starts_{};
  // Bits set by a hash of each entry, a few in one word, so that most
  // lookups of bytes that are no entry end without a search.
  struct FilterBits {
    std::size_t word;
    std::uint64_t bits;
  };
  static FilterBits FilterBitsOf(std::uint8_t head, const Rest& rest);
  std::vector<std::uint64_t> filter_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SORTED_ENTRIES_H_
