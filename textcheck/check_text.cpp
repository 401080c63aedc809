#include "textcheck/check_text.h"

#include <limits>

#include "base/word_delimiters.h"
#include "dictionary/check_word.h"

namespace quenvar {
namespace {

// The walk's position runs up to the text's length plus two (past the final
// word and the delimiter it lacks).
constexpr std::size_t kLongestText = std::numeric_limits<std::int32_t>::max() - 2;

void RequirePositionsFit(std::u16string_view text) {
  if (text.size() > kLongestText) {
    throw Error("CheckText: the text is longer than " +
                std::to_string(kLongestText) + " characters");
  }
}

}  // namespace

std::int32_t FindDelimiter(std::int32_t start, std::u16string_view text) {
  for (std::size_t i = start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
       i < text.size(); ++i) {
    if (IsWordDelimiter(text[i])) return static_cast<std::int32_t>(i + 1);
  }
  return -1;
}

void CheckText(std::u16string& sText, bool ShowDialog, SpellCheckEvents& events,
               const WalkUserInterface& ui) {
  RequirePositionsFit(sText);
  std::int32_t position = 1;
  Boolean Cancel = kFalse;
  WordArray suggestions;  // handed to SpellReplace; the walk never fills it
  std::u16string word;
  for (;;) {
    // A handler may have changed the text since the last word.
    RequirePositionsFit(sText);
    std::int32_t end = FindDelimiter(position, sText);
    if (end == -1) {
      if (static_cast<std::size_t>(position) > sText.size()) break;
      end = static_cast<std::int32_t>(sText.size()) + 1;
    }
    word.assign(sText, static_cast<std::size_t>(position) - 1,
                static_cast<std::size_t>(end - position));

    Variant replacement = std::u16string();
    if (!CheckWord(word, true)) {
      events.SpellWordNotInDic(word, position - 1, Cancel);
      if (Cancel == kTrue) break;
      if (ShowDialog) replacement = ui.show_dialog(word);
    }
    if (replacement == Variant(kFalse)) break;  // the dialog was cancelled
    ui.process_pending_events();
    const auto* chosen = std::get_if<std::u16string>(&replacement);
    if (chosen != nullptr && chosen->size() > 1 && *chosen != word) {
      events.SpellReplace(word, *chosen, position - 1, suggestions);
    }
    position += static_cast<std::int32_t>(word.size()) + 1;
  }
}

}  // namespace quenvar
