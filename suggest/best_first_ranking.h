// Keeping the best of the candidates while working out as few of their
// costs and gestalts as the list's last place allows.

#ifndef QUENVARSPELL_SUGGEST_BEST_FIRST_RANKING_H_
#define QUENVARSPELL_SUGGEST_BEST_FIRST_RANKING_H_

#include <cstddef>
#include <vector>

#include "suggest/edit_pattern.h"
#include "suggest/ranking_score.h"
#include "suggest/sorted_entries.h"

namespace quenvar {

// The max_count best of candidates (each a distinct entry of entries, its
// features set but the gestalt, which is worked out here), best first by
// RankingScore; ties go to the entry first in byte order, then the lower
// index, so the answer does not depend on the order of the list. A
// candidate of kUnknownCost gets the weighted cost against pattern's word,
// and is left out when that is above kSoundCost, or above WiderCostLimit
// when its sound-alike key is not the word's. Given ranked, the best of
// other candidates as an earlier call answered them, answers the best of
// both. REQUIRES: max_count >= 1, ranked.size() <= max_count.
std::vector<RankedEntry> RankBestFirst(const EditPattern& pattern, const WordListEntries& entries,
                                       const RankingWeights& weights,
                                       std::vector<CandidateFeatures>& candidates,
                                       std::size_t max_count,
                                       std::vector<RankedEntry> ranked = {});

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_BEST_FIRST_RANKING_H_
