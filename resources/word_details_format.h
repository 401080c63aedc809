// The layout of the built-in list's details, the component's "DIC" resource
// 102: how common each entry is, how it is written and which spellings of
// English hold it. embed_word_list writes it from word_details.txt; the
// ranked suggestions and the checks for a spelling read it.
//
// One byte for each entry of the main list (each line of two or more
// characters of the built-in list), in list order: the size code in bits 0-2,
// the WrittenCase in bits 3-4 and the spellings code in bits 5-7. Then
// kSpellingsCodes bytes: the spellings byte of each code (SpellingBit(s) set
// for each spelling s that holds the entry), the seven commonest spellings
// bytes of the entries; code kListedSpellings instead says the entry is
// listed next. Then the count of listed entries (4 bytes, low byte first)
// and, in list order, for each, its index (4 bytes, low byte first) and its
// spellings byte. Then, for each entry of case kOwnForm, in list order, a
// record: the entry's index (4 bytes, low byte first), its form's
// Windows-1252 bytes, one zero byte.
//
// So a check for a spelling reads the byte the ranked suggestions read for
// the entry, and seldom more.

#ifndef QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_
#define QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include <quenvarspell/types.h>

#include "base/byte_coding.h"

namespace quenvar {

// The SCOWL size classes, commonest words first; an entry's size code is
// its smallest class's position here.
inline constexpr std::array<int, 7> kSizeClasses = {10, 20, 35, 40, 50, 55, 60};

inline constexpr std::uint8_t kSizeCodeMask = 0x07;
inline constexpr int kWrittenCaseShift = 3;

enum class WrittenCase : std::uint8_t {
  kLower = 0,        // as the list holds it
  kCapitalFirst = 1, // britain: Britain
  kAllCapitals = 2,  // nasa: NASA
  kOwnForm = 3,      // iphone: iPhone, from the records after the bytes
};

// The bit of a spelling other than kEnglish in an entry's spellings byte.
// kEnglish has none: it holds every entry.
constexpr std::uint8_t SpellingBit(Spelling spelling) {
  if (spelling == Spelling::kEnglish) return 0;
  return static_cast<std::uint8_t>(1u << (static_cast<unsigned>(spelling) - 1));
}

inline constexpr int kSpellingsShift = 5;
inline constexpr std::size_t kSpellingsCodes = 8;
inline constexpr std::uint8_t kListedSpellings = 7;
// A listed entry: its index, then its spellings byte.
inline constexpr std::size_t kListedEntrySize = kLengthPrefixSize + 1;

// The parts of the details of a list of entries entries that follow the
// spellings codes' bytes; both empty when the details are shorter than the
// layout says.
struct DetailsTail {
  std::span<const std::uint8_t> listed;   // the listed entries
  std::span<const std::uint8_t> records;  // the kOwnForm records
};
inline DetailsTail SplitDetailsTail(std::span<const std::uint8_t> details, std::size_t entries) {
  const std::size_t count_at = entries + kSpellingsCodes;
  if (details.size() < count_at + kLengthPrefixSize) return {};
  const std::size_t at = count_at + kLengthPrefixSize;
  const std::size_t size = DecodeLengthPrefix(details.subspan(count_at)) * kListedEntrySize;
  if (details.size() - at < size) return {};
  return {details.subspan(at, size), details.subspan(at + size)};
}

// The spellings byte of an entry that every spelling holds.
inline constexpr std::uint8_t kEverySpelling =
    SpellingBit(Spelling::kAmerican) | SpellingBit(Spelling::kBritish) |
    SpellingBit(Spelling::kBritishIze) | SpellingBit(Spelling::kCanadian) |
    SpellingBit(Spelling::kAustralian);

}  // namespace quenvar

#endif  // QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_
