// Ranked corrections for a misspelled word: candidates from the main word
// list within a small weighted edit distance or with a similar sound,
// ordered by how likely each is to be the intended word.

#ifndef QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_
#define QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "dictionary/word_list.h"
#include "suggest/edit_pattern.h"
#include "suggest/error_model.h"
#include "suggest/ranking_score.h"
#include "suggest/sorted_entries.h"
#include "suggest/sound_key.h"

namespace quenvar {

class OutsiderScorer;
class SoundIndex;

// Ranks the entries of a main word list as corrections of a misspelled word.
//
// Built over the list's entries (any order, duplicates and empty entries
// allowed) and their details bytes (size code in the low three bits, one
// byte an entry; shorter or empty means unknown). It keeps references to
// both, which must outlive it and stay unchanged. Suggest is const and safe
// to call from several threads at once.
class RankedSuggester {
 public:
  // Longer words get no suggestions, and longer entries are never suggested.
  static constexpr std::size_t kMaxWordLength = kMaxRankedLength;

  RankedSuggester(const MainWordList& list,
                  std::span<const std::uint8_t> details,
                  RankingWeights weights = {});
  ~RankedSuggester();
  RankedSuggester(const RankedSuggester&) = delete;
  RankedSuggester& operator=(const RankedSuggester&) = delete;

  // The likeliest corrections of word (any bytes; meant as a lower-cased
  // single-byte form), at most max_count distinct entries, best first (the
  // lowest index of duplicated entries). Empty for an empty word or one
  // longer than kMaxWordLength. The word itself is never suggested.
  std::vector<RankedEntry> Suggest(std::string_view word,
                                   std::size_t max_count) const;

  // Scores words outside the list as corrections of word: see
  // OutsiderScorer. This suggester and word must outlive the scorer.
  OutsiderScorer ScoreOutsiders(std::string_view word) const;

 private:
  std::vector<CandidateFeatures> Gather(const EditPattern& pattern) const;
  void AddSoundAlikes(std::string_view word, std::vector<CandidateFeatures>& out) const;
  std::vector<CandidateFeatures> WiderSoundAlikes(std::string_view word,
                                                  std::vector<CandidateFeatures>& gathered) const;
  void Describe(std::string_view word, CandidateFeatures& c) const;
  const SoundIndex& Sounds() const;

  WordListEntries entries_;
  std::span<const std::uint8_t> details_;
  RankingWeights weights_;
  SortedEntries sorted_;
  // Built on the first call that needs it.
  mutable std::once_flag sounds_built_;
  mutable std::unique_ptr<SoundIndex> sounds_;
};

// Scores words outside a suggester's list as corrections of one word, on
// the scale of Suggest's scores so that the two can be merged: the same
// features and weights, but with a candidate reached within kNearCost
// whatever its first letter, or kSoundCost when its sound-alike key equals
// the word's, and with no looked-up slips or wider stage. The word is
// prepared once for all the candidates.
class OutsiderScorer {
 public:
  // Keeps references to weights and word, which must outlive it.
  OutsiderScorer(const RankingWeights& weights, std::string_view word);

  // The score of candidate, with size code size_code; std::nullopt beyond
  // the reach, for an empty or overlong word or candidate, or when
  // candidate equals the word.
  std::optional<double> Score(std::string_view candidate, std::uint8_t size_code) const;

 private:
  const RankingWeights& weights_;
  std::string_view word_;
  std::optional<EditPattern> pattern_;  // none for an empty or overlong word
  SoundKey key_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_
