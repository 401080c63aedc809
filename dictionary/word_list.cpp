#include "dictionary/word_list.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <quenvarspell/types.h>

#include "base/file_system.h"
#include "base/text_lines.h"

namespace quenvar {
namespace {

constexpr std::size_t kKeyCount = 256 * 256;

// A slot keeps an entry's index plus one in its low kIndexBits bits and the
// top bits of the entry's hash in the others.
constexpr int kIndexBits = std::bit_width(static_cast<std::uint32_t>(kDicCapacity));
static_assert(kIndexBits <= 24, "too few bits left for the hash");
constexpr std::uint32_t kIndexMask = (std::uint32_t{1} << kIndexBits) - 1;

std::uint32_t TableSize(std::int32_t start, std::int32_t end) {
  const auto n = static_cast<std::uint32_t>(end - start + 1);
  return n + n / 3 + 1;
}

// Where the probe for bytes starts in a table of size slots, and the hash
// bits its slot holds.
struct Probe {
  std::uint32_t slot;
  std::uint32_t hash_bits;
};

Probe ProbeOf(std::string_view bytes, std::uint32_t size) {
  const XXH64_hash_t hash = XXH3_64bits(bytes.data(), bytes.size());
  return {static_cast<std::uint32_t>(((hash & 0xFFFFFFFF) * size) >> 32),
          static_cast<std::uint32_t>(hash >> (32 + kIndexBits)) << kIndexBits};
}

std::uint32_t NextSlot(std::uint32_t slot, std::uint32_t size) {
  return slot + 1 == size ? 0 : slot + 1;
}

// The slot of a key's table (size slots) of list that holds an entry equal
// to bytes, or else the empty slot where the probe for bytes ends.
std::uint32_t FindSlot(const MainWordList& list, const std::uint32_t* table, std::uint32_t size,
                       Probe probe, std::string_view bytes) {
  for (std::uint32_t slot = probe.slot;; slot = NextSlot(slot, size)) {
    const std::uint32_t held = table[slot];
    if (held == 0) return slot;
    if ((held & ~kIndexMask) == probe.hash_bits &&
        list.Entry(static_cast<std::int32_t>((held & kIndexMask) - 1)) == bytes) {
      return slot;
    }
  }
}

// For each byte value, the place of its group's count in PackedGroupCounts.
constexpr std::array<std::uint8_t, 256> MakeGroupShifts() {
  auto shift_of_group = [](std::size_t g) {
    return static_cast<std::uint8_t>(8 * (g % 8) + 4 * (g / 8));
  };
  std::array<std::uint8_t, 256> shifts{};
  for (std::size_t byte = 0; byte < 256; ++byte) {
    shifts[byte] = shift_of_group(byte < 0x80 ? 14 : 15);
  }
  const std::string_view frequent = "esiarntolcdugp";
  for (std::size_t g = 0; g < frequent.size(); ++g) {
    const auto letter = static_cast<unsigned char>(frequent[g]);
    shifts[letter] = shift_of_group(g);
    shifts[letter - 32] = shift_of_group(g);  // its capital
  }
  return shifts;
}
constexpr std::array<std::uint8_t, 256> kGroupShift = MakeGroupShifts();

}  // namespace

PackedGroupCounts PackedGroupCounts::Of(std::string_view bytes) {
  PackedGroupCounts groups;
  for (char b : bytes) {
    const unsigned shift = kGroupShift[static_cast<unsigned char>(b)];
    if (((groups.bits_ >> shift) & 0xF) != 0xF) {
      groups.bits_ += std::uint64_t{1} << shift;
    }
  }
  return groups;
}

MainWordList::MainWordList()
    : offsets_(kDicCapacity + 1),
      lPrefixStart(kKeyCount),
      lPrefixEnd(kKeyCount),
      table_starts_(kKeyCount) {}

std::int32_t MainWordList::BucketFind(std::string_view bytes) const {
  const std::uint32_t key = PrefixKey(bytes);
  const std::int32_t start = lPrefixStart[key];
  const std::int32_t end = lPrefixEnd[key];
  if (end - start < kDirectRange) {
    for (std::int32_t i = start; i <= end; ++i) {
      if (Entry(i) == bytes) return i;
    }
    return -1;
  }
  // An entry equal to bytes has bytes' prefix key, so it is in the key's
  // range exactly when it is in the key's table, which holds the first of
  // equal entries.
  const std::uint32_t* table = KeyTable(key, start, end);
  const std::uint32_t size = TableSize(start, end);
  const std::uint32_t held = table[FindSlot(*this, table, size, ProbeOf(bytes, size), bytes)];
  return static_cast<std::int32_t>(held & kIndexMask) - 1;
}

const std::uint32_t* MainWordList::KeyTable(std::uint32_t key, std::int32_t start,
                                            std::int32_t end) const {
  if (table_starts_[key] != 0) return key_tables_.data() + table_starts_[key] - 1;
  const std::size_t first = key_tables_.size();
  const std::uint32_t size = TableSize(start, end);
  key_tables_.resize(first + size, 0);
  std::uint32_t* const table = key_tables_.data() + first;
  for (std::int32_t i = start; i <= end; ++i) {
    const std::string_view entry = Entry(i);
    if (entry.size() < 2 || PrefixKey(entry) != key) continue;
    const Probe probe = ProbeOf(entry, size);
    std::uint32_t& slot = table[FindSlot(*this, table, size, probe, entry)];
    if (slot == 0) slot = probe.hash_bits | (static_cast<std::uint32_t>(i) + 1);
  }
  table_starts_[key] = static_cast<std::uint32_t>(first) + 1;
  return table;
}

std::span<const PackedGroupCounts> MainWordList::GroupCounts() const {
  if (group_counts_.empty()) {
    group_counts_.resize(static_cast<std::size_t>(kDicCapacity));
    for (std::int32_t i = 0; i < kDicCapacity; ++i) {
      group_counts_[static_cast<std::size_t>(i)] = PackedGroupCounts::Of(Entry(i));
    }
  }
  return group_counts_;
}

void MainWordList::Load(ByteArray content) {
  // Offsets are 32-bit; the new entries and the kept old ones must fit.
  if (content.size() + blob_.size() > UINT32_MAX) {
    throw Error("word-list file too large");
  }
  ZeroedArray<std::uint32_t> offsets(kDicCapacity + 1);
  // The keys' tables are built as lookups need them. Room for the tables of
  // a list of distinct words is reserved, not touched, so that building a
  // table seldom moves the others.
  ZeroedArray<std::uint32_t> table_starts(kKeyCount);
  std::vector<std::uint32_t> key_tables;
  key_tables.reserve(static_cast<std::size_t>(TableSize(0, kDicCapacity - 1)) +
                     kKeyCount / 16);
  // The entries are moved down to the front of content as they are found:
  // those stored so far end at or before the start of the line being read,
  // so a move overwrites only bytes already read.
  std::uint8_t* const bytes = content.data();
  std::uint32_t stored = 0;
  std::int32_t count = 0;
  std::uint32_t previous_key = 0;
  ForEachLine(std::string_view(reinterpret_cast<const char*>(bytes), content.size()),
              [&](std::string_view line) {
    if (line.size() < 2) return true;
    const std::uint32_t key = PrefixKey(line);
    offsets[static_cast<std::size_t>(count)] = stored;
    std::memmove(bytes + stored, line.data(), line.size());  // line is stale now
    stored += static_cast<std::uint32_t>(line.size());
    if (key != previous_key) {
      lPrefixStart[key] = count;
      lPrefixEnd[previous_key] = count - 1;
      previous_key = key;
    }
    ++count;
    return count < kDicCapacity;
  });
  lPrefixEnd[previous_key] = count - 1;
  content.resize(stored);

  // Entries the content did not reach keep the words they held.
  for (std::int32_t i = count; i < kDicCapacity; ++i) {
    offsets[static_cast<std::size_t>(i)] =
        static_cast<std::uint32_t>(content.size());
    const std::string_view entry = Entry(i);
    content.insert(content.end(), entry.begin(), entry.end());
  }
  offsets[kDicCapacity] = static_cast<std::uint32_t>(content.size());
  blob_ = std::move(content);
  offsets_ = std::move(offsets);
  table_starts_ = std::move(table_starts);
  key_tables_ = std::move(key_tables);
  group_counts_.clear();
  group_counts_.shrink_to_fit();
  ++loads_;
}

void LoadWordList(const std::string& path, ByteArray storage) {
  ReadFile(ThreadFileSystem(), path, storage);
  ThreadDicWords().Load(std::move(storage));
}

void LoadWordList(int fd, const std::string& name, ByteArray storage) {
  ReadFile(ThreadFileSystem(), fd, name, storage);
  ThreadDicWords().Load(std::move(storage));
}

}  // namespace quenvar
