// Letters as the ranked suggestions compare them: the base letter of each
// Windows-1252 byte, so that an accented letter counts as its plain one,
// and the vowels among the base letters.

#ifndef QUENVARSPELL_SUGGEST_LETTERS_H_
#define QUENVARSPELL_SUGGEST_LETTERS_H_

#include <array>
#include <cstddef>
#include <cstdint>

namespace quenvar {

// The base letter of each byte: a to z for the ASCII letters of either case
// and the accented letters (e for é, s for ß), 0 for the rest.
inline constexpr std::array<char, 256> kBaseLetters = [] {
  std::array<char, 256> base{};
  for (int c = 'a'; c <= 'z'; ++c) {
    base[static_cast<std::size_t>(c)] = static_cast<char>(c);
    base[static_cast<std::size_t>(c - 'a' + 'A')] = static_cast<char>(c);
  }
  const auto set = [&base](int first, int last, char letter) {
    for (int c = first; c <= last; ++c) {
      base[static_cast<std::size_t>(c)] = letter;
      base[static_cast<std::size_t>(c + 0x20)] = letter;  // lower case
    }
  };
  set(0xC0, 0xC6, 'a');
  set(0xC7, 0xC7, 'c');
  set(0xC8, 0xCB, 'e');
  set(0xCC, 0xCF, 'i');
  set(0xD0, 0xD0, 'd');
  set(0xD1, 0xD1, 'n');
  set(0xD2, 0xD6, 'o');
  set(0xD8, 0xD8, 'o');
  set(0xD9, 0xDC, 'u');
  set(0xDD, 0xDD, 'y');
  set(0xDE, 0xDE, 't');
  base[0xDF] = 's';
  base[0xFF] = 'y';
  base[0x8A] = base[0x9A] = 's';
  base[0x8C] = base[0x9C] = 'o';
  base[0x8E] = base[0x9E] = 'z';
  base[0x9F] = 'y';
  return base;
}();

inline char BaseLetter(char c) { return kBaseLetters[static_cast<unsigned char>(c)]; }

// 1 to 26 for a byte whose base letter is a to z, 0 for the rest; and how
// many such indices there are.
inline constexpr std::size_t kBaseIndices = 27;
inline constexpr std::array<unsigned char, 256> kBaseIndex = [] {
  std::array<unsigned char, 256> index{};
  for (std::size_t b = 0; b < 256; ++b) {
    if (kBaseLetters[b] != 0) {
      index[b] = static_cast<unsigned char>(kBaseLetters[b] - 'a' + 1);
    }
  }
  return index;
}();

inline std::size_t BaseIndex(char c) { return kBaseIndex[static_cast<unsigned char>(c)]; }

// Whether a base letter is a vowel; y counts as one.
constexpr bool IsVowel(char base) {
  constexpr std::uint32_t kVowels = 1u << ('a' - 'a') | 1u << ('e' - 'a') | 1u << ('i' - 'a') |
                                    1u << ('o' - 'a') | 1u << ('u' - 'a') | 1u << ('y' - 'a');
  const unsigned letter = static_cast<unsigned char>(base) - unsigned{'a'};
  return letter < 26 && (kVowels >> letter & 1) != 0;
}

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_LETTERS_H_
