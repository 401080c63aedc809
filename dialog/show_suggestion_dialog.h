// The widgets library's entry points, which the component finds by name: one
// modal suggestion dialog per thread, shown for one word at a time, and the
// processing of Qt's pending events.

#ifndef QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_
#define QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_

#include <string>

#include <quenvarspell/types.h>
#include <quenvarspell/widgets_export.h>

extern "C" {

// Shows this thread's suggestion dialog modally for sWord and waits until the
// user closes it. Returns Boolean kFalse for Cancel, Esc or a close from the
// window frame; sWord exactly as passed for Ignore; the text box's text for
// Change and for Add Word, which first adds that text to the custom list.
// Creates a QApplication for the thread when the process has none; the
// thread's end takes the dialog and that application with it. Throws
// quenvar::Error when there is no display to show it on, when the calling
// thread is not the QApplication's, when the dialog is already shown, and
// with the failure of a step the dialog runs (such as GetSuggestions).
QUENVAR_WIDGETS_EXPORT quenvar::Variant quenvar_ShowSuggestionDialog(
    const std::u16string& sWord);

// Lets the thread's pending user-interface events run once, when a Qt
// application exists and this is its thread; does nothing otherwise.
QUENVAR_WIDGETS_EXPORT void quenvar_ProcessPendingEvents();

}  // extern "C"

#endif  // QUENVARSPELL_DIALOG_SHOW_SUGGESTION_DIALOG_H_
