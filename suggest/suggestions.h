// The words that may be offered in place of a misspelled one.

#ifndef QUENVARSPELL_SUGGEST_SUGGESTIONS_H_
#define QUENVARSPELL_SUGGEST_SUGGESTIONS_H_

#include <quenvarspell/types.h>

#include <string_view>

namespace quenvar {

// A candidate is suggested when its Similarity against the word is greater
// than this, the double nearest 0.8.
inline constexpr double kSuggestionThreshold = 0.8;

// The words of this thread's lists that score above the threshold against
// sWord lower-cased and cleaned (w): first the main-list words sharing w's
// first two bytes (A-Z folded), in list order, then, with bCheckCustom, the
// custom words that GetCustomSuggestions finds. Not ranked, limited or
// de-duplicated. std::nullopt when nothing qualifies, and when w is shorter
// than two characters or numeric.
WordArray GetSuggestions(std::u16string_view sWord, bool bCheckCustom);

// The words of this thread's custom list, in list order and exactly as
// stored, that score above the threshold against w (which the caller has
// already lower-cased and cleaned); std::nullopt when none does.
WordArray GetCustomSuggestions(std::u16string_view w);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SUGGESTIONS_H_
