// The layout of the built-in list's details, the component's "DIC" resource
// 102: how common each entry is and how it is written. embed_word_list
// writes it from word_details.txt; the ranked suggestions read it.
//
// One byte for each entry of the main list (each line of two or more
// characters of the built-in list), in list order: the size code in bits 0-2
// and the WrittenCase in bits 3-4. Then, for each entry of case kOwnForm,
// in list order, a record: the entry's index (4 bytes, low byte first), its
// form's Windows-1252 bytes, one zero byte.

#ifndef QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_
#define QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_

#include <array>
#include <cstdint>

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

}  // namespace quenvar

#endif  // QUENVARSPELL_RESOURCES_WORD_DETAILS_FORMAT_H_
