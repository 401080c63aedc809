#include "suggest/sound_index.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "dictionary/word_list.h"
#include "suggest/error_model.h"

namespace quenvar {
namespace {

std::uint32_t HashKey(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (const char c : key) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h ^ (h >> 15);
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
  hash_of.reserve(sorted.size());
  ids.reserve(sorted.size());
  starts_.assign(buckets + 1, 0);
  for (std::size_t p = sorted.ByteStart(0); p < sorted.size(); ++p) {
    const std::string_view e = sorted.Entry(p);
    if (e.size() > kMaxRankedLength || sorted.IsDuplicate(p)) continue;
    const std::uint32_t h = ComparedHash(KeyOf(e).view());
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
}

std::uint32_t SoundIndex::ComparedHash(std::string_view key) const {
  return HashKey(key) & ((std::uint32_t{1} << (shift_ + kTagBits)) - 1);
}

std::vector<SoundAlike> SoundIndex::Find(const SoundKey& key) const {
  if (key.size == 0) return {};
  // The key and its near keys are hashed first, then their buckets' bounds
  // read, then the buckets: the reads of each step do not wait on each
  // other, so their cache misses overlap.
  const NearKeys near = NearKeysOf(key);
  const std::size_t variants = near.size + 1;
  std::array<std::uint32_t, 2 * SoundKey::kMaxSymbols + 1> hashes{}, from{}, to{};
  hashes[0] = ComparedHash(key.view());
  for (std::size_t v = 1; v < variants; ++v) hashes[v] = ComparedHash(near.keys[v - 1].view());
  for (std::size_t v = 0; v < variants; ++v) {
    const std::uint32_t bucket = hashes[v] & mask_;
    from[v] = starts_[bucket];
    to[v] = starts_[bucket + 1];
  }
  // Each find as id * 2 + 0 for the same key, + 1 for a near one, so that
  // sorting puts an entry's finds together, its best first.
  std::vector<std::uint32_t> found;
  found.reserve(128);
  for (std::size_t v = 0; v < variants; ++v) {
    const std::uint32_t tag = hashes[v] >> shift_;
    for (std::uint32_t slot = from[v]; slot < to[v]; ++slot) {
      const std::uint32_t held = ids_[slot];
      if (held >> kIdBits == tag) found.push_back((held & kIdMask) << 1 | (v > 0));
    }
  }
  std::sort(found.begin(), found.end());
  std::vector<SoundAlike> alikes;
  alikes.reserve(found.size());
  for (std::size_t f = 0; f < found.size(); ++f) {
    if (f > 0 && found[f] >> 1 == found[f - 1] >> 1) continue;
    alikes.push_back({static_cast<std::int32_t>(found[f] >> 1),
                      static_cast<std::uint8_t>(2 - (found[f] & 1))});
  }
  return alikes;
}

}  // namespace quenvar
