// The main word list: a fixed number of entries, stored in their single-byte
// form, and the two-byte prefix index over them.

#ifndef QUENVARSPELL_DICTIONARY_WORD_LIST_H_
#define QUENVARSPELL_DICTIONARY_WORD_LIST_H_

#include <bit>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_coding.h"
#include "base/zeroed_array.h"
#include "resources/word_list_capacity.h"

namespace quenvar {

// The number of entries of the main word list: the number of lines of two or
// more characters of the built-in list, counted from it at build time.
inline constexpr std::int32_t kDicCapacity = kBuiltInWordCount;

// The prefix key of a word's single-byte form: first byte plus 256 times the
// second. REQUIRES: bytes.size() >= 2.
inline std::uint32_t PrefixKey(std::string_view bytes) {
  return static_cast<unsigned char>(bytes[0]) +
         256u * static_cast<unsigned char>(bytes[1]);
}

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

// Each thread holds its own list. BucketContains and GroupCounts build what
// they need on first use, so neither may run on two threads at once, const
// as they are; the other const members may.
class MainWordList {
 public:
  // All entries empty, both tables zero. Takes no resident memory until
  // used.
  MainWordList();

  std::int32_t capacity() const { return kDicCapacity; }

  // Entry index in single-byte form. REQUIRES: 0 <= index < capacity().
  std::string_view Entry(std::int32_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return std::string_view(reinterpret_cast<const char*>(blob_.data()) + offsets_[i],
                            offsets_[i + 1] - offsets_[i]);
  }

  // The first and last index of the words of a prefix key, as the last load
  // left them (0 and 0 for a key no load has seen).
  std::int32_t PrefixStart(std::uint32_t key) const { return lPrefixStart[key]; }
  std::int32_t PrefixEnd(std::uint32_t key) const { return lPrefixEnd[key]; }

  // How many times Load has run: what was derived from the entries is stale
  // once it changes.
  std::uint64_t loads() const { return loads_; }

  // The group counts of the entries, one per entry, counted on the first
  // call after a load.
  std::span<const PackedGroupCounts> GroupCounts() const;

  // The index of the first entry between the start and end index of the
  // prefix key of bytes, both inclusive, that equals bytes, or -1 when none
  // does. REQUIRES: bytes.size() >= 2. Takes time independent of the size
  // of the key's range, but for the first call for a key after a load,
  // which indexes the range.
  std::int32_t BucketFind(std::string_view bytes) const;

  // True when BucketFind finds bytes.
  bool BucketContains(std::string_view bytes) const { return BucketFind(bytes) >= 0; }

  // Stores the lines of content (a word-list file) of two or more characters
  // from entry 0 upward, updating the prefix index as each word's key
  // changes, and stops once every entry is filled. Entries past the stored
  // words, and the table entries of keys the content lacks, keep their
  // values: words with the same prefix key are expected to stand together.
  // The entries are kept in content's own storage, without its line ends.
  // Throws Error, changing nothing, when the new and kept entries together
  // exceed 4 GiB.
  void Load(ByteArray content);

 private:
  // The hash table of the entries of key's range [start, end] whose own key
  // is key, each distinct word once, built on the first call for key since
  // the last load. REQUIRES: end - start >= kDirectRange.
  const std::uint32_t* KeyTable(std::uint32_t key, std::int32_t start,
                                std::int32_t end) const;

  // Ranges of this many entries or fewer are searched entry by entry.
  static constexpr std::int32_t kDirectRange = 8;

  // Entry i is blob_[offsets_[i], offsets_[i + 1]).
  ByteArray blob_;
  ZeroedArray<std::uint32_t> offsets_;  // capacity() + 1 of them
  // Indexed by prefix key; only the keys of the loaded words are touched.
  ZeroedArray<std::int32_t> lPrefixStart;
  ZeroedArray<std::int32_t> lPrefixEnd;
  // The hash tables of the keys, one after another in key_tables_: a key's
  // table starts at table_starts_[key] - 1, or is not built yet where that
  // is 0. A table of a range of n entries has n + n / 3 + 1 slots, so it is
  // never full; a slot holds an entry's index plus one in its low kIndexBits
  // bits and high bits of the entry's hash above them, or 0 when empty, so
  // a probe compares words only when those bits agree. Both are filled
  // while lookups run, and emptied by each load.
  mutable ZeroedArray<std::uint32_t> table_starts_;
  mutable std::vector<std::uint32_t> key_tables_;
  mutable std::vector<PackedGroupCounts> group_counts_;  // empty until used
  std::uint64_t loads_ = 0;
};

// This thread's main word list, created empty on first use.
MainWordList& ThreadDicWords();

// Fills this thread's main word list from the word-list file at path, read
// into storage's memory (a buffer as large as the file is reused without
// being allocated or cleared again). Throws std::system_error when the file
// cannot be read; the list is then unchanged.
void LoadWordList(const std::string& path, ByteArray storage);

// As above, from the start of the word-list file open as fd; name stands for
// the file in errors.
void LoadWordList(int fd, const std::string& name, ByteArray storage);

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_WORD_LIST_H_
