// The walk over a whole text: words are the pieces between delimiter
// characters, each checked and reported through the object's events.

#ifndef QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_
#define QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

#include <quenvarspell/spell_check.h>

namespace quenvar {

// The smallest 1-based position at or after start at which text holds one of
// the 22 delimiter characters (tab, LF, CR and " /?.;:,\()[]{}<>|!" with the
// double quote), or -1 when there is none. One forward scan.
std::int32_t FindDelimiter(std::int32_t start, std::u16string_view text);

// Walks sText word by word. For each word CheckWord rejects it raises
// events.SpellWordNotInDic (a Cancel of kTrue ends the walk); with
// ShowDialog it then shows the suggestion dialog (its Cancel ends the walk)
// and raises events.SpellReplace for a chosen replacement of two or more
// characters that differs from the word. sText is read afresh at each word,
// so handlers may edit it; the walk never writes it. Throws Error, before
// any event, for a text too long for 32-bit positions.
void CheckText(std::u16string& sText, bool ShowDialog, SpellCheckEvents& events);

}  // namespace quenvar

#endif  // QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_
