// The main word list: a fixed number of entries, stored in their single-byte
// form, and the two-byte prefix index over them.

#ifndef QUENVARSPELL_DICTIONARY_WORD_LIST_H_
#define QUENVARSPELL_DICTIONARY_WORD_LIST_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// How many bytes of a word fall in each of 16 groups: one for each of the 14
// letters most frequent in English words (e s i a r n t o l c d u g p), in
// either case, one for every other ASCII byte and one for the bytes 0x80 and
// up. Each count stops at 255.
struct ByteGroupCounts {
  std::array<std::uint8_t, 16> counts{};

  // True when some byte is 0x80 or more.
  bool HasNonAscii() const { return counts[15] != 0; }
};

// The group counts of bytes.
ByteGroupCounts CountByteGroups(std::string_view bytes);

// An upper bound of the bytes two words have in common, counted with
// repetition and with ASCII letter case ignored, from their group counts:
// never below the true number when at least one word has at most 255 bytes.
inline std::uint32_t CommonBytesBound(const ByteGroupCounts& a,
                                      const ByteGroupCounts& b) {
  std::uint32_t bound = 0;
  for (std::size_t g = 0; g < a.counts.size(); ++g) {
    bound += a.counts[g] < b.counts[g] ? a.counts[g] : b.counts[g];
  }
  return bound;
}

class MainWordList {
 public:
  // All entries empty, both tables zero.
  MainWordList();

  std::int32_t capacity() const { return kDicCapacity; }

  // Entry index in single-byte form. REQUIRES: 0 <= index < capacity().
  std::string_view Entry(std::int32_t index) const {
    return std::string_view(blob_).substr(
        offsets_[index], offsets_[index + 1] - offsets_[index]);
  }

  // The first and last index of the words of a prefix key, as the last load
  // left them (0 and 0 for a key no load has seen).
  std::int32_t PrefixStart(std::uint32_t key) const { return lPrefixStart[key]; }
  std::int32_t PrefixEnd(std::uint32_t key) const { return lPrefixEnd[key]; }

  // The group counts of entry index. REQUIRES: 0 <= index < capacity().
  const ByteGroupCounts& GroupCounts(std::int32_t index) const {
    return group_counts_[index];
  }

  // True when an entry between the start and end index of the prefix key of
  // bytes, both inclusive, equals bytes. REQUIRES: bytes.size() >= 2.
  // Takes time independent of the size of the key's range.
  bool BucketContains(std::string_view bytes) const;

  // Stores the lines of content (a word-list file) of two or more characters
  // from entry 0 upward, updating the prefix index as each word's key
  // changes, and stops once every entry is filled. Entries past the stored
  // words, and the table entries of keys the content lacks, keep their
  // values: words with the same prefix key are expected to stand together.
  void Load(std::string_view content);

 private:
  // Fills group_counts_ and reachable_slots_ from the entries and the prefix
  // tables.
  void IndexEntries();

  // Entry i is blob_[offsets_[i], offsets_[i + 1]).
  std::string blob_;
  std::vector<std::uint32_t> offsets_;
  std::vector<std::int32_t> lPrefixStart;
  std::vector<std::int32_t> lPrefixEnd;
  std::vector<ByteGroupCounts> group_counts_;  // one per entry
  // An open-addressing hash table of the entries BucketContains can find,
  // those within the range of their own prefix key, each distinct word once:
  // a slot holds an entry's index plus one, or 0 when empty. It has at least
  // twice as many slots as entries, a power of two.
  std::vector<std::uint32_t> reachable_slots_;
};

// Fills this thread's main word list from the word-list file at path.
// Throws std::system_error when the file cannot be read; the list is then
// unchanged.
void LoadWordList(const std::string& path);

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_WORD_LIST_H_
