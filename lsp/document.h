// A document as the client edits it: its lines, in UTF-16, with the unknown
// words found in each, kept so that an edit rechecks only the lines it
// touched and those whose start it changed.

#ifndef QUENVARSPELL_LSP_DOCUMENT_H_
#define QUENVARSPELL_LSP_DOCUMENT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/line_check.h"

namespace quenvar::lsp {

// How the client counts the characters of a line.
enum class PositionEncoding { kUtf16, kUtf8 };

// A place in a document as the protocol names it: a line and an offset in
// it, in the client's code units.
struct Position {
  std::size_t line = 0;
  std::size_t character = 0;
};

// An unknown word of a line, its columns in the client's code units.
struct Mark {
  std::size_t start;
  std::size_t end;
  std::u16string word;
};

struct Line {
  std::u16string text;           // with its line end, if it has one
  std::uint32_t state = 0;       // the checker's state at its start...
  std::uint32_t state_after = 0; // ...and at its end, when checked
  bool checked = false;
  std::vector<Mark> marks = {};
  // The marks as a client was last sent them (its diagnostics when the line
  // was number sent_line), so that an edit rebuilds only its own lines';
  // a check of the line drops it.
  mutable nlohmann::json sent = nullptr;
  mutable std::size_t sent_line = 0;
};

class Document {
 public:
  // The most unknown words a line keeps, and a client is sent: a line of
  // 10 MB of noise must not cost gigabytes, and no editor shows more.
  static constexpr std::size_t kMaxMarks = 10000;

  Document(std::string_view utf8_text, PositionEncoding encoding);

  // Replaces the text from..to with utf8_text. Positions past a line's end
  // or the document's end stand for those ends, and a range given backwards
  // is taken forwards, as the protocol asks.
  void Replace(Position from, Position to, std::string_view utf8_text);
  void ReplaceAll(std::string_view utf8_text);

  // Checks every line changed since the last Check (and after Uncheck, all
  // of them), going on past them while a line's start state differs from
  // the one it was checked with.
  void Check(const LineChecker& checker);
  void Uncheck();

  const std::vector<Line>& lines() const { return lines_; }

 private:
  // The UTF-16 offset in line of the client's column character, at most
  // the offset of the line's end.
  std::size_t Offset(const Line& line, std::size_t character) const;
  std::vector<Mark> Marks(std::u16string_view text,
                          const std::vector<UnknownWord>& unknown) const;

  PositionEncoding encoding_;
  std::vector<Line> lines_;  // never empty: an empty document has one line
};

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_DOCUMENT_H_
