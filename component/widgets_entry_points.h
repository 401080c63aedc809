// The functions that the widgets library (libquenvarspell-widgets.so)
// exports for the component. The component loads that library by name when
// it first needs the dialog or Qt's event processing, so that it links no
// GUI toolkit itself; it looks these functions up by name and calls them
// through pointers typed from the declarations below. The library defines
// them against the same declarations, so a change of signature on either
// side fails to compile.

#ifndef QUENVARSPELL_COMPONENT_WIDGETS_ENTRY_POINTS_H_
#define QUENVARSPELL_COMPONENT_WIDGETS_ENTRY_POINTS_H_

#include <string>

#include <quenvarspell/types.h>

// The names are C's so that dlsym finds them; the types are C++'s, which
// only these two libraries see: clang's warning about that does not apply.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wreturn-type-c-linkage"
#endif

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
__attribute__((visibility("default"))) quenvar::Variant quenvar_ShowSuggestionDialog(
    const std::u16string& sWord);

// Lets the thread's pending user-interface events run once, when a Qt
// application exists and this is its thread; does nothing otherwise.
__attribute__((visibility("default"))) void quenvar_ProcessPendingEvents();

}  // extern "C"

#if defined(__clang__)
#pragma clang diagnostic pop
#endif

namespace quenvar {

// The names under which the component looks the functions up.
inline constexpr const char* kShowSuggestionDialogSymbol = "quenvar_ShowSuggestionDialog";
inline constexpr const char* kProcessPendingEventsSymbol = "quenvar_ProcessPendingEvents";

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_WIDGETS_ENTRY_POINTS_H_
