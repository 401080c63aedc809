// The prose of source files: the comments and string literals of a line of
// code, and the words in them, with identifiers written in camelCase or
// snake_case split into the words they are made of.

#ifndef QUENVARSPELL_LSP_SOURCE_TEXT_H_
#define QUENVARSPELL_LSP_SOURCE_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace quenvar::lsp {

// Families of languages that write comments and strings alike: C (also
// C++, Java, Rust: // and /* */, "..." and character literals), Go (and
// `raw` strings), JavaScript (and TypeScript: '...' and `templates` too),
// Python (#, '...', "...", and the triple-quoted ones), shell (# at the
// start of a word, '...' and "..." over lines) and Lua (--, --[[ ]], and
// [[long strings]]).
enum class SourceLanguage { kC, kGo, kJavaScript, kPython, kShell, kLua };

// Calls prose(begin, end) for each non-empty stretch of line, one line of
// a source file with its line end, that is a comment's text or a string's
// contents, in order. state is what is open at the line's start (0 at the file's
// start: none); returns what is open at its end, for the next line.
std::uint32_t ScanSourceLine(SourceLanguage language, std::uint32_t state,
                             std::u16string_view line,
                             const std::function<void(std::size_t, std::size_t)>& prose);

// Calls visit(offset, length, word) for each word of text: runs of
// letters with apostrophes inside them, cut at underscores and where the
// letter case turns (parseHttpURL: parse, Http, URL). Pieces between blanks
// that hold "://", a "/", or an "@" before a ".", and runs holding a digit,
// are no words; a backslash and the character after it part words. word is
// text's piece with typographic apostrophes as ', valid during the call.
void ForEachSourceWord(
    std::u16string_view text,
    const std::function<void(std::size_t, std::size_t, std::u16string_view)>& visit);

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_SOURCE_TEXT_H_
