// HTML's markup where the HTML and the Markdown filters meet it: character
// references, tags, end tags, declarations and comments.

#ifndef QUENVARSPELL_DOCUMENT_HTML_MARKUP_H_
#define QUENVARSPELL_DOCUMENT_HTML_MARKUP_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "document/text_scan.h"

namespace quenvar::document {

// Decodes the character reference at text[i] (an '&': &eacute;, &#233;,
// &#xE9;) into prose[i, end): the character, then joiners, or spaces for a
// space or an unknown name. Returns end, or i + 1 when no reference starts
// at i.
std::size_t DecodeEntity(std::u16string_view text, std::size_t i, std::u16string& prose);

// Decodes every character reference of prose[from, to), which is text's.
void DecodeEntities(std::u16string_view text, std::size_t from, std::size_t to,
                    std::u16string& prose);

// The elements whose content is code or data, not prose.
enum class RawElement { kNone, kScript, kStyle, kPre, kCode, kKbd, kSamp, kTextarea };

// The end tag's opening of a raw element, "</script" ...: lower case.
std::u16string_view EndTagOf(RawElement element);

struct Markup {
  std::size_t end;     // one past it; the start when no markup starts there
  bool closed;         // false: limit came first
  RawElement raw;      // the start tag of a raw element, kNone for others
};

// Blanks in prose the markup that starts at text[i] ('<') and ends before
// limit: a start tag (whose alt and title values stay, decoded), an end tag,
// a declaration (<!DOCTYPE ...>, <![CDATA[...]]>) or a processing
// instruction. A comment is not markup here: see CommentEnd. A '<' before
// anything else (a space, a digit) starts none.
Markup MaskMarkup(std::u16string_view text, std::size_t i, std::size_t limit,
                  std::u16string& prose);

// True when a comment "<!--" starts at text[i].
bool StartsComment(std::u16string_view text, std::size_t i);

}  // namespace quenvar::document

#endif  // QUENVARSPELL_DOCUMENT_HTML_MARKUP_H_
