// Line splitting for the word-list and custom-dictionary files.

#ifndef QUENVARSPELL_DICTIONARY_TEXT_LINES_H_
#define QUENVARSPELL_DICTIONARY_TEXT_LINES_H_

#include <string_view>

namespace quenvar {

// Calls on_line(line) for each line of content, in order, and stops early
// when on_line answers false. A line ends at CR LF, at a lone LF or at a lone
// CR (files edited on Linux end lines with LF alone); the last line needs no
// line end, and a line end at the very end of content starts no extra line.
template <typename OnLine>
void ForEachLine(std::string_view content, OnLine on_line) {
  std::size_t start = 0;
  while (start < content.size()) {
    // A plain scan: find_first_of runs a memchr over the set for every
    // byte, which made it the larger part of loading the built-in list.
    std::size_t end = start;
    while (end < content.size() && content[end] != '\r' &&
           content[end] != '\n') {
      ++end;
    }
    if (!on_line(content.substr(start, end - start))) return;
    start = end;
    if (start < content.size() && content[start] == '\r') ++start;
    if (start < content.size() && content[start] == '\n') ++start;
  }
}

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_TEXT_LINES_H_
