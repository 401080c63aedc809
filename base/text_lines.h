// Line splitting for the word-list and custom-dictionary files.

#ifndef QUENVARSPELL_BASE_TEXT_LINES_H_
#define QUENVARSPELL_BASE_TEXT_LINES_H_

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace quenvar {

// The first CR or LF of [p, end), or end when there is none. Looks at eight
// bytes at a time: a byte equal to c turns into a zero byte of word ^ c, and
// the lowest byte the zero-byte test flags is always a true zero (a wrong
// flag needs a borrow from a true zero below it).
inline const char* FindLineEnd(const char* p, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const auto zero_bytes = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t found =
        zero_bytes(word ^ (kOnes * '\n')) | zero_bytes(word ^ (kOnes * '\r'));
    if (found != 0) {
      const int bit = std::endian::native == std::endian::little ? std::countr_zero(found)
                                                                 : std::countl_zero(found);
      return p + bit / 8;
    }
    p += 8;
  }
  while (p < end && *p != '\n' && *p != '\r') ++p;
  return p;
}

// Calls on_line(line) for each line of content, in order, and stops early
// when on_line answers false. A line ends at CR LF, at a lone LF or at a lone
// CR (files edited on Linux end lines with LF alone); the last line needs no
// line end, and a line end at the very end of content starts no extra line.
// Each byte is looked at a bounded number of times, whatever the line ends.
template <typename OnLine>
void ForEachLine(std::string_view content, OnLine on_line) {
  const char* const data = content.data();
  const char* const end = data + content.size();
  const char* start = data;
  while (start < end) {
    const char* const line_end = FindLineEnd(start, end);
    if (!on_line(std::string_view(start, static_cast<std::size_t>(line_end - start)))) {
      return;
    }
    start = line_end;
    if (start < end && *start == '\r') ++start;
    if (start < end && *start == '\n') ++start;
  }
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_TEXT_LINES_H_
