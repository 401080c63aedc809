// The forward searches the format filters make to find where a construct
// ends, each remembering what it found, so that a text costs one pass
// however many constructs in it ask.

#ifndef QUENVARSPELL_DOCUMENT_TEXT_SCAN_H_
#define QUENVARSPELL_DOCUMENT_TEXT_SCAN_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenvar::document {

inline constexpr std::size_t kNowhere = std::u16string_view::npos;

// Copies text into prose, each U+FFFF as a space (the joiner is the
// filters' own mark).
void CopyProse(std::u16string_view text, std::u16string& prose);

// Blanks prose[from, to).
void Blank(std::u16string& prose, std::size_t from, std::size_t to);

// The end of the line holding position i: the index of its LF, or the
// text's size.
std::size_t LineEnd(std::u16string_view text, std::size_t i);

// True when ASCII text[at, at + word.size()) equals word, ASCII letter case
// ignored. word is lower case.
bool MatchesFolded(std::u16string_view text, std::size_t at, std::u16string_view word);

class TextScan {
 public:
  explicit TextScan(std::u16string_view text) : text_(text) {}

  // Where the paragraph holding position from ends: the start of the first
  // blank line (spaces, tabs and CR only, ended by a LF) after the line of
  // from, or 0 when from is 0 and the text starts with one (a paragraph
  // carried from the previous text ends there); kNowhere when the text
  // holds none.
  std::size_t ParagraphEnd(std::size_t from);

  // The first position at or after from where needle (lower case) occurs,
  // ASCII letter case ignored; kNowhere when none.
  std::size_t Find(std::u16string_view needle, std::size_t from);

 private:
  // A search made: from where, and what it found.
  struct Search {
    std::u16string needle;
    std::size_t from;
    std::size_t found;
  };

  std::u16string_view text_;
  std::size_t paragraph_from_ = kNowhere;  // the last ParagraphEnd asked
  std::size_t paragraph_end_ = kNowhere;
  std::vector<Search> searches_;  // the last of each needle
};

}  // namespace quenvar::document

#endif  // QUENVARSPELL_DOCUMENT_TEXT_SCAN_H_
