// The suggestion dialog as the rest of the component calls it: one modal
// dialog per thread, shown for one word at a time.

#ifndef QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_
#define QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_

#include <quenvarspell/spell_check.h>

#include <string>

namespace quenvar {

// Shows this thread's suggestion dialog modally for sWord and waits until the
// user closes it. Returns Boolean kFalse for Cancel, Esc or a close from the
// window frame; sWord exactly as passed for Ignore; the text box's text for
// Change and for Add Word, which first adds that text to the custom list.
// Creates a QApplication for the thread when the process has none.
// Throws Error when the dialog is not part of this build, when there is no
// display to show it on, when the calling thread is not the QApplication's,
// when the dialog is already shown, and with the failure of a step the
// dialog runs (such as GetSuggestions).
Variant ShowSuggestionDialog(const std::u16string& sWord);

// Lets the thread's pending user-interface events run once, when a Qt
// application exists and this is its thread; does nothing otherwise.
void ProcessPendingEvents();

}  // namespace quenvar

#endif  // QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_
