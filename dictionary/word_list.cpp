#include "dictionary/word_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>

#include <quenvarspell/types.h>

#include "base/file_system.h"
#include "base/text_lines.h"

namespace quenvar {
namespace {

constexpr std::size_t kKeyCount = 256 * 256;
constexpr std::size_t kSlotCount =
    std::bit_ceil(2 * static_cast<std::size_t>(kDicCapacity));

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

std::size_t SlotOf(std::string_view bytes) {
  return std::hash<std::string_view>{}(bytes) & (kSlotCount - 1);
}

std::size_t NextSlot(std::size_t slot) { return (slot + 1) & (kSlotCount - 1); }

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
    : offsets_(kDicCapacity + 1, 0),
      lPrefixStart(kKeyCount, 0),
      lPrefixEnd(kKeyCount, 0),
      group_counts_(kDicCapacity),
      reachable_slots_(kSlotCount, 0) {}

bool MainWordList::BucketContains(std::string_view bytes) const {
  // An entry equal to bytes has bytes' prefix key, so it is in the key's
  // range exactly when it is in the table.
  for (std::size_t slot = SlotOf(bytes);; slot = NextSlot(slot)) {
    const std::uint32_t held = reachable_slots_[slot];
    if (held == 0) return false;
    if (Entry(static_cast<std::int32_t>(held - 1)) == bytes) return true;
  }
}

void MainWordList::IndexEntries() {
  std::vector<PackedGroupCounts> group_counts(kDicCapacity);
  std::vector<std::uint32_t> slots(kSlotCount, 0);
  for (std::int32_t i = 0; i < kDicCapacity; ++i) {
    const std::string_view entry = Entry(i);
    group_counts[static_cast<std::size_t>(i)] = PackedGroupCounts::Of(entry);
    if (entry.size() < 2) continue;
    const std::uint32_t key = PrefixKey(entry);
    if (i < lPrefixStart[key] || i > lPrefixEnd[key]) continue;
    for (std::size_t slot = SlotOf(entry);; slot = NextSlot(slot)) {
      if (slots[slot] == 0) {
        slots[slot] = static_cast<std::uint32_t>(i) + 1;
        break;
      }
      if (Entry(static_cast<std::int32_t>(slots[slot] - 1)) == entry) break;
    }
  }
  group_counts_ = std::move(group_counts);
  reachable_slots_ = std::move(slots);
}

void MainWordList::Load(std::string_view content) {
  // Offsets are 32-bit; the new entries and the kept old ones must fit.
  if (content.size() + blob_.size() > UINT32_MAX) {
    throw Error("word-list file too large");
  }
  std::string blob;
  blob.reserve(content.size());
  std::vector<std::uint32_t> offsets(kDicCapacity + 1, 0);
  std::int32_t count = 0;
  std::uint32_t previous_key = 0;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() < 2) return true;
    offsets[static_cast<std::size_t>(count)] =
        static_cast<std::uint32_t>(blob.size());
    blob.append(line);
    const std::uint32_t key = PrefixKey(line);
    if (key != previous_key) {
      lPrefixStart[key] = count;
      lPrefixEnd[previous_key] = count - 1;
      previous_key = key;
    }
    ++count;
    return count < kDicCapacity;
  });
  lPrefixEnd[previous_key] = count - 1;

  // Entries the content did not reach keep the words they held.
  for (std::int32_t i = count; i < kDicCapacity; ++i) {
    offsets[static_cast<std::size_t>(i)] =
        static_cast<std::uint32_t>(blob.size());
    blob.append(Entry(i));
  }
  offsets[kDicCapacity] = static_cast<std::uint32_t>(blob.size());
  blob.shrink_to_fit();
  blob_ = std::move(blob);
  offsets_ = std::move(offsets);
  IndexEntries();
  ++loads_;
}

void LoadWordList(const std::string& path) {
  const std::string content = ReadFile(ThreadFileSystem(), path);
  ThreadDicWords().Load(content);
}

}  // namespace quenvar
