// The walk over a whole text: words are the pieces between delimiter
// characters, each checked and reported through the object's events.

#ifndef QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_
#define QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <quenvarspell/spell_check_events.h>
#include <quenvarspell/types.h>

namespace quenvar {

// The smallest 1-based position at or after start at which text holds one of
// the 22 delimiter characters (tab, LF, CR and " /?.;:,\()[]{}<>|!" with the
// double quote), or -1 when there is none. One forward scan.
std::int32_t FindDelimiter(std::int32_t start, std::u16string_view text);

// What the walk asks of the user interface: show_dialog runs the suggestion
// dialog for a word and returns its result (Boolean kFalse for Cancel, else
// the chosen text); process_pending_events lets the thread's pending
// user-interface events run.
struct WalkUserInterface {
  std::function<Variant(const std::u16string& sWord)> show_dialog;
  std::function<void()> process_pending_events;
};

// Walks sText word by word. For each word CheckWord rejects it raises
// events.SpellWordNotInDic (a Cancel of kTrue ends the walk); with
// ShowDialog it then calls ui.show_dialog (its Cancel ends the walk) and
// raises events.SpellReplace for a chosen replacement of two or more
// characters that differs from the word. After each word it calls
// ui.process_pending_events. sText is read afresh at each word, so handlers
// may edit it; the walk never writes it. Throws Error, before any event, for
// a text too long for 32-bit positions.
void CheckText(std::u16string& sText, bool ShowDialog, SpellCheckEvents& events,
               const WalkUserInterface& ui);

}  // namespace quenvar

#endif  // QUENVARSPELL_TEXTCHECK_CHECK_TEXT_H_
