// Sound-alike keys in the manner of Metaphone: letters that sound alike
// map to one symbol, vowels count only at the start, silent letters drop,
// and a symbol is not repeated. The ranking takes words whose keys are
// equal to sound alike (nite, nt, for night), and in its wider stage those
// a symbol edit or two apart (thorts, 0rts, for thoughts, 0ts).

#ifndef QUENVARSPELL_SUGGEST_SOUND_KEY_H_
#define QUENVARSPELL_SUGGEST_SOUND_KEY_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quenvar {

struct SoundKey {
  static constexpr std::size_t kMaxSymbols = 12;
  std::array<char, kMaxSymbols> symbols{};
  std::uint8_t size = 0;

  std::string_view view() const { return {symbols.data(), size}; }
  // Appends s unless the key is full or already ends with s.
  void Push(char s) {
    if (size < kMaxSymbols && (size == 0 || symbols[size - 1u] != s)) {
      symbols[size++] = s;
    }
  }
};

// The key of bytes: of their base letters, the first kMaxRankedLength, the
// other bytes dropped; at most SoundKey::kMaxSymbols symbols.
SoundKey KeyOf(std::string_view bytes);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SOUND_KEY_H_
