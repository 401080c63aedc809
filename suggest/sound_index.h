// The entries of a word list grouped by the hashes of their sound-alike
// keys, so that the entries sounding like a word, or nearly, are found
// without working out their keys.

#ifndef QUENVARSPELL_SUGGEST_SOUND_INDEX_H_
#define QUENVARSPELL_SUGGEST_SOUND_INDEX_H_

#include <cstdint>
#include <vector>

#include "suggest/sorted_entries.h"
#include "suggest/sound_key.h"

namespace quenvar {

// An entry that sounds like the word: level 2 for the same key, 1 for a
// key one edit apart.
struct SoundAlike {
  std::int32_t entry;
  std::uint8_t level;
};

class SoundIndex {
 public:
  // Indexes each distinct entry of sorted, by its lowest index, but those
  // longer than kMaxRankedLength.
  explicit SoundIndex(const SortedEntries& sorted);

  // The entries whose keys hash as key (level 2) or one of its NearKeysOf
  // (level 1), each once at its best level, ascending by entry. Keys are
  // told apart by the bits of their hashes the index compares, so an entry
  // of another key may be among them, seldom.
  std::vector<SoundAlike> Find(const SoundKey& key) const;

 private:
  static constexpr int kTagBits = 10;
  static constexpr int kIdBits = 32 - kTagBits;
  static constexpr std::uint32_t kIdMask = (std::uint32_t{1} << kIdBits) - 1;

  std::uint32_t TagOf(std::uint32_t hash) const {
    return hash >> shift_ & ((std::uint32_t{1} << kTagBits) - 1);
  }

  // The entries of bucket b are held in ids_[starts_[b], starts_[b + 1]),
  // each as its index in the low kIdBits bits and kTagBits more bits of its
  // hash above them, so entries of other keys in the bucket are passed over
  // without working out their keys. The bucket and the tag together compare
  // the low (bucket bits + kTagBits) bits of the hashes.
  std::vector<std::uint32_t> starts_;
  std::vector<std::uint32_t> ids_;
  std::uint32_t mask_ = 0;
  int shift_ = 0;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SOUND_INDEX_H_
