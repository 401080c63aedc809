// Slips the walk does not reach, found by looking their corrections up in
// the sorted entries instead: each kind of slip makes the forms the word
// would have without it and appends those that are entries, but the word
// itself and entries longer than kMaxRankedLength, with their entry and the
// slip's cost set.

#ifndef QUENVARSPELL_SUGGEST_LOOKED_UP_SLIPS_H_
#define QUENVARSPELL_SUGGEST_LOOKED_UP_SLIPS_H_

#include <vector>

#include "suggest/edit_pattern.h"
#include "suggest/ranking_score.h"
#include "suggest/sorted_entries.h"

namespace quenvar {

// The first letter written for another or left out, among the entries the
// walk does not reach (WalkReach {0, 0}): any first byte there and the
// word's rest, or any first byte and the whole word, at their weighted
// cost when it is at most kFarCost.
void AddFirstLetterSlips(const EditPattern& pattern, const SortedEntries& sorted,
                         std::vector<CandidateFeatures>& out);

// A letter moved over two others among the first kEarlyDepth bytes, where
// the walk's depth limits leave no room for the two edits the rows take it
// for (tyhe: they, kwno: know): at kMoved.
void AddEarlyMovedLetters(const EditPattern& pattern, const SortedEntries& sorted,
                          std::vector<CandidateFeatures>& out);

// A run of two to four letters written twice over (approproximate:
// approximate), at kRepeatedRun.
void AddRepeatedRuns(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out);

// Suffixes put on by the rule where the word takes an exception: -ing after
// -ie (lieing: lying), and -ed after a verb whose past forms are irregular
// (teached: taught, misunderstanded: misunderstood), at kRuleSuffix.
void AddRuleSuffixes(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_LOOKED_UP_SLIPS_H_
