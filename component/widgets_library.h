// The suggestion dialog and the processing of Qt's pending events live in
// the widgets library, which the component loads by name when they are
// first needed, so that the component itself links no GUI toolkit.

#ifndef QUENVARSPELL_COMPONENT_WIDGETS_LIBRARY_H_
#define QUENVARSPELL_COMPONENT_WIDGETS_LIBRARY_H_

#include <string>

#include <quenvarspell/types.h>

#include "component/widgets_entry_points.h"

namespace quenvar {

// The widgets library's entry points, once this thread has loaded it.
struct WidgetsEntryPoints {
  decltype(&quenvar_ShowSuggestionDialog) show_suggestion_dialog = nullptr;
  decltype(&quenvar_ProcessPendingEvents) process_pending_events = nullptr;
};

// This thread's entry points, all null until the library is loaded.
WidgetsEntryPoints& ThreadWidgetsEntryPoints();

// Runs the suggestion dialog for sWord through the widgets library, loading
// it on first use from the component's own folder, else through the
// system's library search. Throws Error naming the library when it cannot
// be loaded, and whatever the dialog throws.
Variant ShowSuggestionDialog(const std::u16string& sWord);

// The function that lets the thread's pending user-interface events run:
// the widgets library's when Qt is in the process and the library can be
// loaded (loading it then), else one that does nothing.
void (*PendingEventsProcessor())();

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_WIDGETS_LIBRARY_H_
