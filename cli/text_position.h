// Lines and columns as a person counts them, from the UTF-16 offsets that
// the component's events report.

#ifndef QUENVARSPELL_CLI_TEXT_POSITION_H_
#define QUENVARSPELL_CLI_TEXT_POSITION_H_

#include <cstddef>
#include <string_view>

namespace quenvar::cli {

// A 1-based line and column, both counted in characters (code points).
struct TextPosition {
  std::size_t line;
  std::size_t column;
  friend bool operator==(const TextPosition&, const TextPosition&) = default;
};

// The number of characters in text: a surrogate pair counts once. REQUIRES:
// text holds no unpaired low surrogate (decoded UTF-8 or ISO-8859-1 never
// does).
std::size_t CharacterCount(std::u16string_view text);

// Turns UTF-16 offsets into text into lines and columns. Lines end at LF; a
// CR before it is the last character of its line. Each call walks on from
// the previous offset, so the positions of a whole report in text order cost
// one pass over the text. The text, which starts at position start of its
// document, must outlive the object.
class TextPositions {
 public:
  explicit TextPositions(std::u16string_view text, TextPosition start = {1, 1})
      : text_(text), position_(start) {}

  // REQUIRES: offset is at most the text's length, not below the offset of
  // the previous call, and not inside a surrogate pair.
  TextPosition At(std::size_t offset);

 private:
  std::u16string_view text_;
  std::size_t offset_ = 0;
  TextPosition position_;
};

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_TEXT_POSITION_H_
