// Ranked corrections over this thread's word lists.

#ifndef QUENVARSPELL_SUGGEST_RANKED_SUGGESTIONS_H_
#define QUENVARSPELL_SUGGEST_RANKED_SUGGESTIONS_H_

#include <cstdint>
#include <memory>
#include <string_view>

#include <quenvarspell/types.h>

#include "suggest/custom_candidates.h"
#include "suggest/ranked_suggester.h"

namespace quenvar {

// This thread's ranking over its main list, built on the first ranked call
// and again after the list has been reloaded (its loads() differ), and the
// index of its custom list's words, which follows that list.
struct RankedState {
  std::uint64_t list_loads = 0;
  std::unique_ptr<RankedSuggester> suggester;
  CustomCandidates custom;
};
RankedState& ThreadRankedState();

// Up to max_count corrections of sWord, likeliest first, from the entries of
// this thread's main list that spelling holds (with an entry's possessive
// when sWord is the entry and s) and, with bCheckCustom, its custom words as
// stored. When sWord is an entry spelling does not hold, the entries that
// only some spellings hold come first, as its form in this one (colour
// under kAmerican: color). A word keeps the capitals the built-in list's
// details give it (britian: Britain), and the typed word's capitalization
// carries over (Recieve: Receive, RECIEVE: RECEIVE). std::nullopt when
// nothing qualifies or max_count < 1. Changes nothing in the lists.
WordArray GetRankedSuggestions(std::u16string_view sWord, Spelling spelling,
                               std::int32_t max_count, bool bCheckCustom);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_RANKED_SUGGESTIONS_H_
