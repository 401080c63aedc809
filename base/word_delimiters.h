// The characters that end a word of a text, for the text walk and for the
// tool, which splits lines the same way.

#ifndef QUENVARSPELL_BASE_WORD_DELIMITERS_H_
#define QUENVARSPELL_BASE_WORD_DELIMITERS_H_

#include <array>
#include <string_view>

namespace quenvar {
namespace word_delimiters_internal {

constexpr std::array<bool, 128> MakeTable() {
  std::array<bool, 128> table{};
  for (char c : std::string_view("\t\n\r \"/?.;:,\\()[]{}<>|!")) {
    table[static_cast<unsigned char>(c)] = true;
  }
  return table;
}
inline constexpr std::array<bool, 128> kTable = MakeTable();

}  // namespace word_delimiters_internal

// True for the 22 delimiters: tab, LF, CR and " /?.;:,\()[]{}<>|!" with the
// double quote. Apostrophes, hyphens and digits belong to words.
constexpr bool IsWordDelimiter(char16_t c) {
  return c < 128 && word_delimiters_internal::kTable[c];
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_WORD_DELIMITERS_H_
