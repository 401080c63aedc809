#include "suggest/ranked_suggester.h"

#include <algorithm>

#include "resources/word_details_format.h"
#include "suggest/best_first_ranking.h"
#include "suggest/looked_up_slips.h"
#include "suggest/sound_index.h"
#include "suggest/trie_walk.h"

namespace quenvar {
namespace {

// The size code of a word the details say nothing of.
constexpr std::uint8_t kUnknownSizeCode = 7;
// Room for the candidates of most words (about 90 on average).
constexpr std::size_t kUsualCandidates = 256;

// Each entry once, at its least cost; ascending by entry.
void KeepLeastCosts(std::vector<CandidateFeatures>& candidates) {
  std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
    return a.entry != b.entry ? a.entry < b.entry : a.cost < b.cost;
  });
  candidates.erase(std::unique(candidates.begin(), candidates.end(),
                               [](const auto& a, const auto& b) { return a.entry == b.entry; }),
                   candidates.end());
}

}  // namespace

RankedSuggester::RankedSuggester(const MainWordList& list, std::span<const std::uint8_t> details,
                                 RankingWeights weights)
    : entries_(list), details_(details), weights_(weights), sorted_(entries_) {}

RankedSuggester::~RankedSuggester() = default;

const SoundIndex& RankedSuggester::Sounds() const {
  std::call_once(sounds_built_, [this] { sounds_ = std::make_unique<SoundIndex>(sorted_); });
  return *sounds_;
}

// One generator a kind of slip: the walk finds the entries within a small
// weighted cost of the word, lookups the slips the walk does not reach, the
// sound index the entries that sound alike.
std::vector<CandidateFeatures> RankedSuggester::Gather(const EditPattern& pattern) const {
  std::vector<CandidateFeatures> candidates;
  candidates.reserve(kUsualCandidates);
  WalkWithinReach(pattern, sorted_, candidates);
  AddFirstLetterSlips(pattern, sorted_, candidates);
  AddEarlyMovedLetters(pattern, sorted_, candidates);
  AddRepeatedRuns(pattern, sorted_, candidates);
  AddRuleSuffixes(pattern, sorted_, candidates);
  KeepLeastCosts(candidates);
  AddSoundAlikes(pattern.word(), candidates);
  for (CandidateFeatures& c : candidates) Describe(pattern.word(), c);
  return candidates;
}

// Marks the candidates whose sound-alike key equals the word's, and adds
// those of them no other generator found, with cost kUnknownCost. The keys
// one edit from the word's are left to the wider stage: here they were
// about 70 candidates a word, a quarter of the time of a suggestion, and
// seldom among the first ten. REQUIRES: out ascending by entry.
void RankedSuggester::AddSoundAlikes(std::string_view word,
                                     std::vector<CandidateFeatures>& out) const {
  const std::vector<std::int32_t> alikes = Sounds().Find(KeyOf(word));
  // Both lists ascend by entry, so they are merged in one pass.
  const std::size_t found = out.size();
  std::size_t w = 0;
  for (const std::int32_t alike : alikes) {
    while (w < found && out[w].entry < alike) ++w;
    if (w < found && out[w].entry == alike) {
      out[w].same_sound = true;
    } else if (entries_[static_cast<std::size_t>(alike)] != word) {
      out.push_back({.entry = alike, .cost = kUnknownCost, .same_sound = true});
    }
  }
}

// The features of c that need only its entry: how common it is, whether
// its first letter is the word's, how much longer it is.
void RankedSuggester::Describe(std::string_view word, CandidateFeatures& c) const {
  const auto i = static_cast<std::size_t>(c.entry);
  const std::string_view e = entries_[i];
  c.size_code = i < details_.size() ? details_[i] & kSizeCodeMask : kUnknownSizeCode;
  c.first_letter_differs = BaseLetter(e[0]) != BaseLetter(word[0]);
  c.length_difference =
      static_cast<std::int32_t>(e.size()) - static_cast<std::int32_t>(word.size());
}

// The entries whose sound-alike keys are within WiderSoundDistance of the
// word's and that are neither the word nor among gathered, with cost
// kUnknownCost, ascending by entry. Sorts gathered by entry.
std::vector<CandidateFeatures> RankedSuggester::WiderSoundAlikes(
    std::string_view word, std::vector<CandidateFeatures>& gathered) const {
  const SoundKey key = KeyOf(word);
  const std::vector<std::int32_t> alikes = Sounds().FindWithin(key, WiderSoundDistance(key.size));
  std::sort(gathered.begin(), gathered.end(),
            [](const auto& a, const auto& b) { return a.entry < b.entry; });
  std::vector<CandidateFeatures> wider;
  std::size_t g = 0;
  for (const std::int32_t alike : alikes) {
    while (g < gathered.size() && gathered[g].entry < alike) ++g;
    if (g < gathered.size() && gathered[g].entry == alike) continue;
    if (entries_[static_cast<std::size_t>(alike)] == word) continue;
    wider.push_back({.entry = alike, .cost = kUnknownCost});
    Describe(word, wider.back());
  }
  return wider;
}

std::vector<RankedEntry> RankedSuggester::Suggest(std::string_view word,
                                                 std::size_t max_count) const {
  if (max_count == 0 || word.empty() || word.size() > kMaxWordLength) return {};
  const EditPattern pattern(word);
  std::vector<CandidateFeatures> candidates = Gather(pattern);
  std::vector<RankedEntry> ranked;
  if (!candidates.empty()) {
    ranked = RankBestFirst(pattern, entries_, weights_, candidates, max_count);
  }
  if (!ranked.empty() && ranked[0].score >= weights_.wider_below) return ranked;
  // The best of the gathered candidates stand for them all in the wider
  // stage: no other of them can beat them.
  std::vector<CandidateFeatures> wider = WiderSoundAlikes(word, candidates);
  if (wider.empty()) return ranked;
  return RankBestFirst(pattern, entries_, weights_, wider, max_count, std::move(ranked));
}

OutsiderScorer RankedSuggester::ScoreOutsiders(std::string_view word) const {
  return OutsiderScorer(weights_, word);
}

OutsiderScorer::OutsiderScorer(const RankingWeights& weights, std::string_view word)
    : weights_(weights), word_(word), key_(KeyOf(word)) {
  if (!word.empty() && word.size() <= kMaxRankedLength) pattern_.emplace(word);
}

std::optional<double> OutsiderScorer::Score(std::string_view candidate,
                                            std::uint8_t size_code) const {
  if (!pattern_ || candidate.empty() || candidate.size() > kMaxRankedLength ||
      candidate == word_) {
    return std::nullopt;
  }
  const bool same_sound = key_.size > 0 && key_.view() == KeyOf(candidate).view();
  CandidateFeatures c;
  c.cost = same_sound ? pattern_->WeightedCost(candidate, kSoundCost)
                      : pattern_->NearCost(candidate, kNearCost);
  if (c.cost == EditPattern::kInfinity) return std::nullopt;
  c.same_sound = same_sound;
  c.size_code = size_code;
  c.first_letter_differs = BaseLetter(candidate[0]) != BaseLetter(word_[0]);
  c.length_difference = static_cast<std::int32_t>(candidate.size()) -
                        static_cast<std::int32_t>(word_.size());
  c.gestalt = Gestalt(word_, candidate);
  return RankingScore(c, weights_);
}

}  // namespace quenvar
