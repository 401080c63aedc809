#include "dictionary/word_list.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>

#include <quenvarspell/spell_check.h>

#include "component/file_io.h"
#include "component/thread_state.h"
#include "dictionary/text_lines.h"

namespace quenvar {
namespace {

constexpr std::size_t kKeyCount = 256 * 256;
constexpr std::size_t kSlotCount =
    std::bit_ceil(2 * static_cast<std::size_t>(kDicCapacity));

constexpr std::array<std::uint8_t, 256> MakeByteGroups() {
  std::array<std::uint8_t, 256> groups{};
  for (std::size_t byte = 0; byte < 256; ++byte) {
    groups[byte] = byte < 0x80 ? 14 : 15;
  }
  const std::string_view frequent = "esiarntolcdugp";
  for (std::size_t g = 0; g < frequent.size(); ++g) {
    const auto letter = static_cast<unsigned char>(frequent[g]);
    groups[letter] = static_cast<std::uint8_t>(g);
    groups[letter - 32] = static_cast<std::uint8_t>(g);  // its capital
  }
  return groups;
}
constexpr std::array<std::uint8_t, 256> kByteGroup = MakeByteGroups();

std::size_t SlotOf(std::string_view bytes) {
  return std::hash<std::string_view>{}(bytes) & (kSlotCount - 1);
}

std::size_t NextSlot(std::size_t slot) { return (slot + 1) & (kSlotCount - 1); }

}  // namespace

ByteGroupCounts CountByteGroups(std::string_view bytes) {
  ByteGroupCounts groups;
  // No count of a word of up to 255 bytes can pass 255.
  const bool may_pass_255 = bytes.size() > 255;
  for (char b : bytes) {
    std::uint8_t& count =
        groups.counts[kByteGroup[static_cast<unsigned char>(b)]];
    if (!may_pass_255 || count < 255) ++count;
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
  std::vector<ByteGroupCounts> group_counts(kDicCapacity);
  std::vector<std::uint32_t> slots(kSlotCount, 0);
  for (std::int32_t i = 0; i < kDicCapacity; ++i) {
    const std::string_view entry = Entry(i);
    group_counts[i] = CountByteGroups(entry);
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
    offsets[count] = static_cast<std::uint32_t>(blob.size());
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
    offsets[i] = static_cast<std::uint32_t>(blob.size());
    blob.append(Entry(i));
  }
  offsets[kDicCapacity] = static_cast<std::uint32_t>(blob.size());
  blob.shrink_to_fit();
  blob_ = std::move(blob);
  offsets_ = std::move(offsets);
  IndexEntries();
}

void LoadWordList(const std::string& path) {
  const std::string content = ReadFile(path);
  State().sDicWords.Load(content);
}

}  // namespace quenvar
