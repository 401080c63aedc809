// The words of documents as people write them: plain text, Markdown, HTML
// or XML, and LaTeX, split into the words a speller should check and
// nothing else. Qt-free; SpellCheck::FindUnknownWords checks them.
//
// In every format, URLs (with a scheme or starting "www."), mail addresses,
// file paths, pieces holding a digit (UTF-8, x86_64, hex numbers), code
// identifiers (snake_case, camelCase, a.b, std::move), acronyms of up to
// five capitals, Roman numerals (ii, xiv), pieces longer than 64 characters
// and pieces without a letter are no words; quotes, apostrophes, guillemets and dashes around a
// word are not part of it, and dashes (—, –, --) part words. Per format:
// - Markdown: fenced and indented code, code spans, link and image
//   destinations, reference labels, autolinks, raw HTML tags and comments,
//   front matter and footnote labels are skipped; headings, emphasis, link
//   and image texts, table cells, list items and block quotes are checked.
// - HTML and XML: tags, comments, declarations and the contents of script,
//   style, code, pre, kbd, samp and textarea are skipped, and attribute
//   values too except alt and title; entities are decoded.
// - LaTeX: control sequences, comments, math ($...$, \(...\), \[...\],
//   $$...$$ and the math environments), verbatim-like environments
//   (verbatim, lstlisting, minted, comment, ...), \verb, \lstinline, \url,
//   \href's link and the arguments that name things rather than say them
//   (\cite, \ref, \label, \begin, \includegraphics, \input, ...).
//
// A broken construct swallows little. A code block, comment, verbatim
// environment or display math that does not close within the text passed
// ends with its paragraph (at the first blank line); one that is still open
// at the end of the text goes on into the next Split. A code span, tag,
// inline math or argument ends with its paragraph; \verb without its end
// delimiter ends with its line.

#ifndef QUENVARSPELL_DOCUMENT_SPLITTER_H_
#define QUENVARSPELL_DOCUMENT_SPLITTER_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <quenvarspell/export.h>

namespace quenvar {

enum class DocumentFormat { kText, kMarkdown, kHtml, kTex };

// The format a file name's extension names: .md and .markdown Markdown;
// .html, .htm, .xhtml and .xml HTML; .tex, .latex, .sty and .cls LaTeX
// (letter case ignored); anything else plain text.
QUENVAR_EXPORT DocumentFormat FormatOfFileName(std::string_view name);

// The format of one of Aspell's mode names: "none" and "text" plain text,
// "markdown", "html" and "sgml", "tex". std::nullopt for any other name.
QUENVAR_EXPORT std::optional<DocumentFormat> FormatOfModeName(std::string_view mode);

// One word to check, where it stands in the text passed to Split.
struct DocumentWord {
  std::size_t offset;  // of its first UTF-16 code unit
  std::size_t length;  // of its source in the text, in UTF-16 code units
  // The word to check: the source with entities and escapes decoded and
  // typographic apostrophes as '. Valid until visit returns.
  std::u16string_view word;
  // True when a hyphen joins it to the next word yielded: the two are
  // parts of one compound (copy-on-write yields copy, on and write).
  bool hyphen_after;
};

// Splits a document, handed over whole or in consecutive pieces, into the
// words to check. Each piece after the first continues the text where the
// previous one ended; what is open at the end of a piece (a code block, a
// comment, a tag) goes on into the next. Pieces should end at a line end,
// better at a blank line: a construct is looked for its end only within the
// piece that holds it.
class QUENVAR_EXPORT DocumentSplitter {
 public:
  // A splitter at the start of a document, or, with a state() an earlier
  // splitter of the same format answered, where that one stopped.
  explicit DocumentSplitter(DocumentFormat format, std::uint32_t state = 0);
  ~DocumentSplitter();
  DocumentSplitter(const DocumentSplitter&) = delete;
  DocumentSplitter& operator=(const DocumentSplitter&) = delete;

  DocumentFormat format() const { return format_; }

  // Calls visit for each word of text, the document's next piece, in text
  // order, with offsets into text. Any text is accepted: lone surrogates and
  // U+FFFF are no letters, and the work is linear in text's size.
  void Split(std::u16string_view text,
             const std::function<void(const DocumentWord&)>& visit);

  // What is open at the end of the text split last, as a number below 2^31
  // a host may keep per line (a QSyntaxHighlighter's block state) to start
  // a splitter at the next line; 0 at the start of a document.
  std::uint32_t state() const;

 private:
  class Impl;
  DocumentFormat format_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_DOCUMENT_SPLITTER_H_
