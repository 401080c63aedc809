// ASCII letter tests and case mapping. They take UTF-16 code units or bytes
// as unsigned char, never plain char, whose sign differs between platforms.

#ifndef QUENVARSPELL_BASE_ASCII_H_
#define QUENVARSPELL_BASE_ASCII_H_

#include <concepts>

namespace quenvar {

template <typename Char>
concept AsciiCodeUnit =
    std::same_as<Char, unsigned char> || std::same_as<Char, char16_t>;

template <AsciiCodeUnit Char>
constexpr bool IsAsciiUpper(Char c) {
  return c >= 'A' && c <= 'Z';
}

template <AsciiCodeUnit Char>
constexpr bool IsAsciiLower(Char c) {
  return c >= 'a' && c <= 'z';
}

template <AsciiCodeUnit Char>
constexpr bool IsAsciiLetter(Char c) {
  return IsAsciiUpper(c) || IsAsciiLower(c);
}

// c with A-Z mapped to a-z; every other value unchanged.
template <AsciiCodeUnit Char>
constexpr Char AsciiLower(Char c) {
  return IsAsciiUpper(c) ? static_cast<Char>(c + 32) : c;
}

// c with a-z mapped to A-Z; every other value unchanged.
template <AsciiCodeUnit Char>
constexpr Char AsciiUpper(Char c) {
  return IsAsciiLower(c) ? static_cast<Char>(c - 32) : c;
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_ASCII_H_
