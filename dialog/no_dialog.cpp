// The dialog's entry points in a build without Qt (QUENVAR_WITH_DIALOG off).

#include "dialog/show_suggestion_dialog.h"

namespace quenvar {

Variant ShowSuggestionDialog(const std::u16string&) {
  throw Error(
      "ShowSuggestionDialog: the suggestion dialog is not part of this build "
      "of QuenvarSpell (built with QUENVAR_WITH_DIALOG=OFF)");
}

void ProcessPendingEvents() {}

}  // namespace quenvar
