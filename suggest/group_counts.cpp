#include "suggest/group_counts.h"

#include <array>

#include "dictionary/word_list.h"

namespace quenvar {
namespace {

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

std::span<const PackedGroupCounts> ThreadEntryGroupCounts() {
  GroupCountsState& state = ThreadGroupCountsState();
  const MainWordList& list = ThreadDicWords();
  if (state.counts.empty() || state.list_loads != list.loads()) {
    std::vector<PackedGroupCounts> counts(static_cast<std::size_t>(list.capacity()));
    for (std::int32_t i = 0; i < list.capacity(); ++i) {
      counts[static_cast<std::size_t>(i)] = PackedGroupCounts::Of(list.Entry(i));
    }
    state.counts = std::move(counts);
    state.list_loads = list.loads();
  }
  return state.counts;
}

}  // namespace quenvar
