// The candidates the walk reaches: the entries within a small weighted edit
// cost of the word, found by walking the sorted entries of each first
// letter as a trie.

#ifndef QUENVARSPELL_SUGGEST_TRIE_WALK_H_
#define QUENVARSPELL_SUGGEST_TRIE_WALK_H_

#include <vector>

#include "suggest/edit_pattern.h"
#include "suggest/ranking_score.h"
#include "suggest/sorted_entries.h"

namespace quenvar {

// Appends each distinct entry within WalkReach of pattern's word, but the
// word itself and entries longer than kMaxRankedLength, with its entry and
// its weighted cost set. Within reach means, by the costs of the rows (no
// moved letters): costing at most the reach's max_cost, and no prefix of it
// costing more than AllowedCost for its length against every prefix of the
// word, unless the prefix one byte shorter costs less than that (it may
// still end a swap).
void WalkWithinReach(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_TRIE_WALK_H_
