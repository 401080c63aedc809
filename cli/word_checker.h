// The words of a text as CheckText sees them, and which of them are in no
// word list.

#ifndef QUENVARSPELL_CLI_WORD_CHECKER_H_
#define QUENVARSPELL_CLI_WORD_CHECKER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/word_delimiters.h"

namespace quenvar::cli {

// Calls visit(word, offset) for each non-empty piece of text between the
// delimiters at which CheckText ends words, in order, less those in
// word_characters; offset is the piece's UTF-16 offset.
template <typename Visit>
void ForEachWord(std::u16string_view text, Visit visit,
                 std::u16string_view word_characters = {}) {
  const auto ends_word = [&](char16_t c) {
    return IsWordDelimiter(c) && word_characters.find(c) == std::u16string_view::npos;
  };
  std::size_t start = 0;
  for (std::size_t end = 0; end <= text.size(); ++end) {
    if (end < text.size() && !ends_word(text[end])) continue;
    if (end > start) visit(text.substr(start, end - start), start);
    start = end + 1;
  }
}

// A word of a text that is in no word list.
struct UnknownWord {
  std::u16string word;
  std::size_t offset;  // in UTF-16 code units
  friend bool operator==(const UnknownWord&, const UnknownWord&) = default;
};

// Finds the unknown words of texts with the speller's CheckText (no dialog).
// A long text repeats its words many times and the component scans a
// bucket of its list for each, so each distinct word goes through CheckText
// once and its verdict is kept, up to kMaxVerdicts of them (then the kept
// verdicts are dropped, so memory stays bounded). REQUIRES: the speller's
// lists do not change while the object is used, and the speller outlives it.
class WordChecker {
 public:
  static constexpr std::size_t kMaxVerdicts = 1 << 18;

  explicit WordChecker(SpellCheck& speller) : speller_(speller) {}

  // The unknown words of text, in text order: exactly the words, offsets
  // and order that CheckText reports for text.
  std::vector<UnknownWord> UnknownWords(std::u16string_view text);

 private:
  SpellCheck& speller_;
  std::unordered_map<std::u16string, bool> known_;
};

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_WORD_CHECKER_H_
