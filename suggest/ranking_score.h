// The ranking's score of a candidate correction: a noisy-channel score
// that weighs how far the candidate is from the word against how common it
// is, with how alike the two sound and look.

#ifndef QUENVARSPELL_SUGGEST_RANKING_SCORE_H_
#define QUENVARSPELL_SUGGEST_RANKING_SCORE_H_

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "suggest/similarity.h"

namespace quenvar {

// The weights of the ranking score, tuned on half of a list of real
// misspellings, then again, with wider_below, on half of a list of
// misspellings written by hand, several edits from the word, keeping the
// figures of the first list's half (bench/tune_ranking_weights.cpp).
struct RankingWeights {
  double cost = 1.8;  // per unit of weighted edit cost
  // By size code: SCOWL size class 10, 20, 35, 40, 50, 55, 60, unknown.
  double size_class[8] = {0.0, -0.2, -1.5, -2.5, -3.0, -4.3, -5.2, -4.6};
  double same_sound = 0.9;    // equal sound-alike keys
  double first_letter = 0.9;  // first letters differ
  double length = -0.4;       // per byte of length difference
  double gestalt = 2.8;       // times the gestalt similarity (0 to 1)
  // When no candidate scores this much, the ranking looks further: at the
  // entries whose sound-alike keys are a few edits from the word's.
  double wider_below = -3.0;
};

// The cost of a candidate found by its sound alone, not yet worked out.
inline constexpr std::int32_t kUnknownCost = -1;

// What the ranking knows of one candidate.
struct CandidateFeatures {
  std::int32_t entry = 0;  // index in the word list
  std::int32_t cost = 0;   // weighted edit cost, two units an edit, or kUnknownCost
  std::uint8_t size_code = 0;  // 0: size class 10 ... 6: 60, 7: unknown
  bool same_sound = false;     // equal sound-alike keys
  bool first_letter_differs = false;
  std::int32_t length_difference = 0;
  double gestalt = 0.0;  // Ratcliff/Obershelp similarity, 0 to 1
};

// The gestalt feature of entry as a correction of word: Ratcliff/Obershelp
// as the exact suggestions' similarity counts it, twice the bytes matched
// over the total length. REQUIRES: entry.size() <= 64.
inline double Gestalt(std::string_view word, std::string_view entry) {
  return 2.0 * static_cast<double>(CountMatchingBytes(word, entry)) /
         static_cast<double>(word.size() + entry.size());
}

// A suggested entry and its score.
struct RankedEntry {
  std::int32_t entry;
  double score;
};

// The score of candidate; a higher score is likelier. The best-first search
// bounds it from above by a least cost and a greatest gestalt, so neither
// of their weights may be below zero.
inline double RankingScore(const CandidateFeatures& c, const RankingWeights& w) {
  return -w.cost * c.cost + w.size_class[c.size_code & 7] +
         (c.same_sound ? w.same_sound : 0.0) -
         (c.first_letter_differs ? w.first_letter : 0.0) -
         w.length * std::abs(c.length_difference) + w.gestalt * c.gestalt;
}

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_RANKING_SCORE_H_
