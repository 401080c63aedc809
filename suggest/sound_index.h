// The entries of a word list grouped by the hashes of their sound-alike
// keys, so that the entries sounding like a word, or nearly, are found
// without working out their keys.

#ifndef QUENVARSPELL_SUGGEST_SOUND_INDEX_H_
#define QUENVARSPELL_SUGGEST_SOUND_INDEX_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "suggest/sorted_entries.h"
#include "suggest/sound_key.h"

namespace quenvar {

class SoundIndex {
 public:
  // Indexes each distinct entry of sorted, by its lowest index, but empty
  // ones and those longer than kMaxRankedLength.
  explicit SoundIndex(const SortedEntries& sorted);

  // The entries whose keys' compared hashes equal key's, ascending: all
  // entries of that key and, seldom, one of another key. None for an empty
  // key.
  std::vector<std::int32_t> Find(const SoundKey& key) const;

  // The entries whose keys' compared hashes equal that of a key of some
  // entry that starts with key's first symbol and is within max_distance of
  // key (symbols inserted, dropped, replaced or two neighbours swapped, each
  // one edit), ascending. None for an empty key.
  // REQUIRES: 0 <= max_distance <= 2.
  std::vector<std::int32_t> FindWithin(const SoundKey& key, int max_distance) const;

  // The bits of the hash of key by which the index tells keys apart: those
  // of its bucket and, above them, kTagBits more.
  std::uint32_t ComparedHash(std::string_view key) const;

  // A key as two numbers that sort as the keys do.
  using KeyNumber = std::pair<std::uint64_t, std::uint32_t>;

 private:
  static constexpr int kTagBits = 10;
  static constexpr int kIdBits = 32 - kTagBits;
  static constexpr std::uint32_t kIdMask = (std::uint32_t{1} << kIdBits) - 1;

  // The entries of bucket b are held in ids_[starts_[b], starts_[b + 1]),
  // each as its index in the low kIdBits bits and the tag of its compared
  // hash (the bits above the bucket's) above them, so entries of other
  // keys in the bucket are passed over without working out their keys.
  std::vector<std::uint32_t> starts_;
  std::vector<std::uint32_t> ids_;
  std::uint32_t mask_ = 0;  // the bucket bits
  int shift_ = 0;           // their count
  // The distinct keys of the entries in byte order, each as a byte of the
  // symbols it shares with the one before (high four bits) and of the
  // symbols after those (low four), then those symbols.
  std::vector<char> keys_;
  // Where the keys of each first symbol start in keys_, and end (256).
  static constexpr std::size_t kNoStart = SIZE_MAX;
  std::array<std::size_t, 257> key_starts_;

  void KeepKeys(std::vector<KeyNumber> keys);
  void AddBucket(std::uint32_t hash, std::vector<std::int32_t>& found) const;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SOUND_INDEX_H_
