#include "suggest/sound_index.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

#include "dictionary/word_list.h"
#include "suggest/error_model.h"

namespace quenvar {
namespace {

std::uint32_t HashKey(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (const char c : key) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h ^ (h >> 15);
}

// The distances of a key's prefix from a key as optimal string alignment
// counts them (a symbol inserted, dropped or replaced, or two neighbours
// swapped, one each), as bit vectors: bit i of level k is set when the
// prefix is at most k from the key's first i symbols.
constexpr std::size_t kMostLevels = 3;
using DistanceLevels = std::array<std::uint32_t, kMostLevels>;
static_assert(SoundKey::kMaxSymbols < 32);

// The levels of the prefix path[0, d) against a key, whose cells each
// symbol matches are equal, from those of path[0, d-1) and path[0, d-2): a
// cell gets level k by a match from level k above, and from level k - 1 by
// a symbol replaced (up and left), dropped (up) or inserted (left) or a
// swap (two up and left).
// REQUIRES: 1 <= d <= SoundKey::kMaxSymbols, levels < kMostLevels, rows up
// to d-1 worked out, full the cells 0 to the key's size.
void NextDistanceLevels(const std::array<std::uint32_t, 256>& equal, const char* path,
                        std::size_t d, std::size_t levels, std::uint32_t full,
                        DistanceLevels* rows) {
  const std::uint32_t match = equal[static_cast<unsigned char>(path[d - 1])];
  // Cell i ends a swap when the key's symbols i-2 and i-1 are the path's
  // last two the other way round.
  const std::uint32_t swap =
      d >= 2 && path[d - 2] != path[d - 1]
          ? (match << 1) & equal[static_cast<unsigned char>(path[d - 2])]
          : 0;
  const DistanceLevels& up = rows[d - 1];
  const DistanceLevels& up2 = rows[d >= 2 ? d - 2 : 0];
  DistanceLevels& row = rows[d];
  for (std::size_t k = 0; k <= levels; ++k) {
    std::uint32_t cells = (up[k] << 1) & match;
    if (k > 0) {
      cells |= row[k - 1] | row[k - 1] << 1 | up[k - 1] << 1 | up[k - 1] |
               ((up2[k - 1] << 2) & swap);
    }
    if (d <= k) cells |= 1;  // the prefix against no symbol
    row[k] = cells & full;
  }
}

// A key's symbols, padded with zero bytes (no symbol is one), read as two
// big-endian numbers, which sort as the keys do; and back.
static_assert(SoundKey::kMaxSymbols == 12);
SoundIndex::KeyNumber NumberOf(const SoundKey& key) {
  SoundIndex::KeyNumber number{};
  for (std::size_t i = 0; i < 8; ++i) {
    number.first = number.first << 8 | static_cast<unsigned char>(key.symbols[i]);
  }
  for (std::size_t i = 8; i < 12; ++i) {
    number.second = number.second << 8 | static_cast<unsigned char>(key.symbols[i]);
  }
  return number;
}

SoundKey KeyOfNumber(const SoundIndex::KeyNumber& number) {
  SoundKey key;
  for (std::size_t i = 0; i < 8; ++i) {
    key.symbols[i] = static_cast<char>(number.first >> (56 - 8 * i));
  }
  for (std::size_t i = 8; i < 12; ++i) {
    key.symbols[i] = static_cast<char>(number.second >> (88 - 8 * i));
  }
  key.size = static_cast<std::uint8_t>(std::find(key.symbols.begin(), key.symbols.end(), 0) -
                                       key.symbols.begin());
  return key;
}

}  // namespace

SoundIndex::SoundIndex(const SortedEntries& sorted) {
  // Four to eight entries a bucket: a quarter of the power of two, 1024 at
  // least, that gives each of half the entries a bucket. The tags tell the
  // entries of a bucket apart.
  static_assert(kDicCapacity <= kIdMask);
  std::size_t buckets = 1024;
  int bits = 10;
  while (buckets < sorted.size() / 2) {
    buckets *= 2;
    ++bits;
  }
  buckets /= 4;
  mask_ = static_cast<std::uint32_t>(buckets - 1);
  shift_ = bits - 2;
  // Each distinct entry once, in byte order, so a duplicate's lowest index
  // stands for it; empty entries, sorted first, are no words.
  std::vector<std::uint32_t> hash_of;
  std::vector<std::uint32_t> ids;
  std::vector<KeyNumber> keys;
  key_starts_.fill(kNoStart);
  hash_of.reserve(sorted.size());
  ids.reserve(sorted.size());
  keys.reserve(sorted.size());
  starts_.assign(buckets + 1, 0);
  for (std::size_t p = sorted.ByteStart(0); p < sorted.size(); ++p) {
    const std::string_view e = sorted.Entry(p);
    if (e.size() > kMaxRankedLength || sorted.IsDuplicate(p)) continue;
    const SoundKey key = KeyOf(e);
    keys.push_back(NumberOf(key));
    const std::uint32_t h = ComparedHash(key.view());
    hash_of.push_back(h);
    ids.push_back(static_cast<std::uint32_t>(sorted.Index(p)));
    ++starts_[(h & mask_) + 1];
  }
  for (std::size_t b = 0; b < buckets; ++b) starts_[b + 1] += starts_[b];
  ids_.resize(ids.size());
  std::vector<std::uint32_t> fill(starts_.begin(), starts_.end() - 1);
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const std::uint32_t slot = fill[hash_of[k] & mask_]++;
    ids_[slot] = hash_of[k] >> shift_ << kIdBits | ids[k];
  }
  KeepKeys(std::move(keys));
}

void SoundIndex::KeepKeys(std::vector<KeyNumber> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  static_assert(SoundKey::kMaxSymbols < 16);
  SoundKey before;
  for (const KeyNumber& number : numbers) {
    const SoundKey key = KeyOfNumber(number);
    const std::string_view k = key.view();
    if (k.empty()) continue;
    std::size_t shared = 0;
    while (shared < before.size && shared < k.size() && before.symbols[shared] == k[shared]) {
      ++shared;
    }
    if (shared == 0) key_starts_[static_cast<unsigned char>(k[0])] = keys_.size();
    keys_.push_back(static_cast<char>(shared << 4 | (k.size() - shared)));
    keys_.insert(keys_.end(), k.begin() + static_cast<std::ptrdiff_t>(shared), k.end());
    before = key;
  }
  keys_.shrink_to_fit();
  // A first symbol no key has starts where the next one does.
  key_starts_.back() = keys_.size();
  for (std::size_t b = key_starts_.size() - 1; b-- > 0;) {
    if (key_starts_[b] == kNoStart) key_starts_[b] = key_starts_[b + 1];
  }
}

void SoundIndex::AddBucket(std::uint32_t hash, std::vector<std::int32_t>& found) const {
  const std::uint32_t tag = hash >> shift_;
  const std::uint32_t bucket = hash & mask_;
  for (std::uint32_t slot = starts_[bucket]; slot < starts_[bucket + 1]; ++slot) {
    if (ids_[slot] >> kIdBits == tag) {
      found.push_back(static_cast<std::int32_t>(ids_[slot] & kIdMask));
    }
  }
}

// The keys of the first symbol are walked as a trie: the rows of a prefix
// serve every key that starts with it, and a prefix whose row and the row
// before are both beyond max_distance is passed over with all its keys.
std::vector<std::int32_t> SoundIndex::FindWithin(const SoundKey& key, int max_distance) const {
  if (key.size == 0) return {};
  const std::string_view word = key.view();
  const auto limit = static_cast<std::size_t>(max_distance);
  std::array<std::uint32_t, 256> equal{};
  for (std::size_t i = 0; i < word.size(); ++i) {
    equal[static_cast<unsigned char>(word[i])] |= std::uint32_t{1} << (i + 1);
  }
  const std::uint32_t full = (std::uint32_t{2} << word.size()) - 1;
  std::array<DistanceLevels, SoundKey::kMaxSymbols + 1> rows;
  for (std::size_t k = 0; k <= limit; ++k) rows[0][k] = ((std::uint32_t{2} << k) - 1) & full;
  std::array<char, SoundKey::kMaxSymbols> path{};
  std::vector<std::int32_t> found;
  std::size_t pruned_at = SIZE_MAX;  // keys sharing this many symbols are out of reach
  const auto first = static_cast<unsigned char>(word[0]);
  const std::size_t end = key_starts_[first + 1u];
  for (std::size_t p = key_starts_[first]; p < end;) {
    const auto head = static_cast<unsigned char>(keys_[p]);
    const std::size_t shared = head >> 4, size = shared + (head & 15);
    const char* rest = keys_.data() + p + 1;
    p += 1 + (head & 15);
    if (shared >= pruned_at) continue;
    pruned_at = SIZE_MAX;
    std::size_t d = shared;
    while (d < size && pruned_at == SIZE_MAX) {
      path[d] = rest[d - shared];
      ++d;
      NextDistanceLevels(equal, path.data(), d, limit, full, rows.data());
      // A row below gets no cell within limit unless this row has one, or
      // the row before one within a swap of it.
      if (rows[d][limit] == 0 && (limit == 0 || rows[d - 1][limit - 1] == 0)) pruned_at = d;
    }
    if (pruned_at == SIZE_MAX && (rows[size][limit] >> word.size() & 1) != 0) {
      AddBucket(ComparedHash({path.data(), size}), found);
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

std::uint32_t SoundIndex::ComparedHash(std::string_view key) const {
  return HashKey(key) & ((std::uint32_t{1} << (shift_ + kTagBits)) - 1);
}

std::vector<std::int32_t> SoundIndex::Find(const SoundKey& key) const {
  if (key.size == 0) return {};
  std::vector<std::int32_t> found;
  AddBucket(ComparedHash(key.view()), found);
  // A bucket holds its entries in byte order, which is the order of their
  // indices only when the list is sorted.
  std::sort(found.begin(), found.end());
  return found;
}

}  // namespace quenvar
