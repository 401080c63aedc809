// Line splitting for the word-list and custom-dictionary files.

#ifndef QUENVARSPELL_BASE_TEXT_LINES_H_
#define QUENVARSPELL_BASE_TEXT_LINES_H_

#include <cstring>
#include <string_view>

namespace quenvar {

// Calls on_line(line) for each line of content, in order, and stops early
// when on_line answers false. A line ends at CR LF, at a lone LF or at a lone
// CR (files edited on Linux end lines with LF alone); the last line needs no
// line end, and a line end at the very end of content starts no extra line.
template <typename OnLine>
void ForEachLine(std::string_view content, OnLine on_line) {
  // memchr finds line ends many bytes at a time. The next LF is kept until
  // the walk reaches it, so every byte is searched for LF only once, and each
  // search for CR stops at that LF: the walk stays linear whatever the line
  // ends are.
  const char* const data = content.data();
  const std::size_t size = content.size();
  const auto Offset = [data](const void* found) {
    return static_cast<std::size_t>(static_cast<const char*>(found) - data);
  };
  std::size_t next_lf = 0;
  std::size_t start = 0;
  while (start < size) {
    if (next_lf <= start) {
      const void* lf = std::memchr(data + start, '\n', size - start);
      next_lf = lf == nullptr ? size : Offset(lf);
    }
    const void* cr = std::memchr(data + start, '\r', next_lf - start);
    const std::size_t end =
        cr == nullptr ? next_lf : Offset(cr);
    if (!on_line(content.substr(start, end - start))) return;
    start = end;
    if (start < size && content[start] == '\r') ++start;
    if (start < size && content[start] == '\n') ++start;
  }
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_TEXT_LINES_H_
