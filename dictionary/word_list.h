// The main word list: a fixed number of entries, stored in their single-byte
// form, and the two-byte prefix index over them.

#ifndef QUENVARSPELL_DICTIONARY_WORD_LIST_H_
#define QUENVARSPELL_DICTIONARY_WORD_LIST_H_

#include <cstdint>
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

// Each thread holds its own list. BucketContains builds a key's table on its
// first lookup, so it may not run on two threads at once, const as it is;
// the other const members may.
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

  // True when an entry between the start and end index of the prefix key of
  // bytes, both inclusive, equals bytes. REQUIRES: bytes.size() >= 2.
  // Takes time independent of the size of the key's range, but for the first
  // call for a key after a load, which indexes the range.
  bool BucketContains(std::string_view bytes) const;

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
  std::uint64_t loads_ = 0;
};

// This thread's main word list, created empty on first use.
MainWordList& ThreadDicWords();

// Fills this thread's main word list from the word-list file at path, read
// into storage's memory (a buffer as large as the file is reused without
// being allocated or cleared again). Throws std::system_error when the file
// cannot be read; the list is then unchanged.
void LoadWordList(const std::string& path, ByteArray storage);

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_WORD_LIST_H_
