// Line splitting for the word-list and custom-dictionary files.

#ifndef QUENVARSPELL_BASE_TEXT_LINES_H_
#define QUENVARSPELL_BASE_TEXT_LINES_H_

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quenvar {

// Bit i of the result is set when byte i of the eight at p is CR or LF.
// A byte equal to c is a zero byte of word ^ c; the zero test below is exact
// (no borrow crosses bytes), and the multiplication gathers the eight flags,
// one at bit 8i, into the top byte.
inline unsigned LineEndBits(const char* p) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kLows = 0x7F7F7F7F7F7F7F7F;
  std::uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  const auto zero_bytes = [](std::uint64_t v) { return ~(((v & kLows) + kLows) | v) >> 7 & kOnes; };
  const std::uint64_t flags = zero_bytes(word ^ (kOnes * '\n')) | zero_bytes(word ^ (kOnes * '\r'));
  return static_cast<unsigned>((flags * 0x0102040810204080) >> 56);
}

// Calls on_line(line) for each line of content, in order, and stops early
// when on_line answers false. A line ends at CR LF, at a lone LF or at a lone
// CR (files edited on Linux end lines with LF alone); the last line needs no
// line end, and a line end at the very end of content starts no extra line.
// on_line may overwrite the bytes of content before the end of the line it
// is given: nothing before that is read again. Line ends are found 64 bytes
// at a time, as a mask whose set bits are visited in order.
template <typename OnLine>
void ForEachLine(std::string_view content, OnLine on_line) {
  const char* const data = content.data();
  const std::size_t size = content.size();
  std::size_t start = 0;  // of the line not yet given
  for (std::size_t block = 0; block < size; block += 64) {
    std::uint64_t ends = 0;
    if (size - block >= 64) {
      for (std::size_t i = 0; i < 64; i += 8) {
        ends |= std::uint64_t{LineEndBits(data + block + i)} << i;
      }
    } else {
      for (std::size_t i = 0; block + i < size; ++i) {
        const char c = data[block + i];
        if (c == '\n' || c == '\r') ends |= std::uint64_t{1} << i;
      }
    }
    for (; ends != 0; ends &= ends - 1) {
      const std::size_t end = block + static_cast<std::size_t>(std::countr_zero(ends));
      if (end < start) continue;  // the LF of a CR LF
      const bool crlf = data[end] == '\r' && end + 1 < size && data[end + 1] == '\n';
      if (!on_line(content.substr(start, end - start))) return;
      start = end + (crlf ? 2 : 1);
    }
  }
  if (start < size) on_line(content.substr(start));
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_TEXT_LINES_H_
