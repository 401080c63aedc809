// How the server finds the unknown words of a line of a document, by the
// document's kind of text: the one place that splits text into words.

#ifndef QUENVARSPELL_LSP_LINE_CHECK_H_
#define QUENVARSPELL_LSP_LINE_CHECK_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/spell_check.h>

#include "lsp/source_text.h"
#include "lsp/vocabulary.h"

namespace quenvar::lsp {

// A document is prose in a format, or source code whose comments and
// strings are checked.
using TextKind = std::variant<DocumentFormat, SourceLanguage>;

// The kind of text a languageId names: plaintext, markdown, latex, html,
// xml, c, cpp, java, rust, go, javascript, typescript, python, shellscript,
// lua, and the other names clients give them (text, tex, sh, c++, js...).
std::optional<TextKind> KindOfLanguage(std::string_view language_id);

struct LineWords {
  std::vector<UnknownWord> unknown;  // in line order, offsets in the line
  std::uint32_t state_after;         // where the next line starts
};

// Checks the lines of documents of one kind against a vocabulary.
// REQUIRES: the vocabulary outlives it.
class LineChecker {
 public:
  LineChecker(TextKind kind, Vocabulary& vocabulary) : kind_(kind), vocabulary_(vocabulary) {}

  // The unknown words of line, a line with its line end that starts in
  // state (0 at a document's start), and the state at its end.
  LineWords Check(std::uint32_t state, std::u16string_view line) const;

 private:
  TextKind kind_;
  Vocabulary& vocabulary_;
};

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_LINE_CHECK_H_
