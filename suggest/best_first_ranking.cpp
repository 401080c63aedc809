#include "suggest/best_first_ranking.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace quenvar {
namespace {

// The sound-alikes' edit costs and every gestalt take the most work, so
// each candidate first gets a bound on its score from the longest
// subsequence it has in common with the word, which bounds the gestalt from
// above (the gestalt's runs are such a subsequence) and the edit cost from
// below (each byte of the longer not in it needs an edit of at least a
// unit). Candidates are then worked out best bound first, the cost before
// the gestalt, until no bound left can reach the last place.
class BestFirstSearch {
 public:
  BestFirstSearch(const EditPattern& pattern, const WordListEntries& entries,
                  const RankingWeights& weights, std::size_t max_count,
                  std::vector<RankedEntry> ranked)
      : pattern_(pattern), entries_(entries), weights_(weights), max_count_(max_count),
        top_(std::move(ranked)) {}

  std::vector<RankedEntry> Rank(std::vector<CandidateFeatures>& candidates);

 private:
  struct Pending {
    double bound;
    std::size_t index;
    std::size_t common;  // bytes of the longest common subsequence
    bool operator<(const Pending& other) const { return bound < other.bound; }
  };

  std::string_view EntryOf(const CandidateFeatures& c) const {
    return entries_[static_cast<std::size_t>(c.entry)];
  }
  bool Full() const { return top_.size() == max_count_; }
  double Bound(CandidateFeatures c, std::size_t common) const;
  int CostLimit(const Pending& next, const CandidateFeatures& c) const;
  void Finish(CandidateFeatures& c);

  const EditPattern& pattern_;
  const WordListEntries& entries_;
  const RankingWeights& weights_;
  const std::size_t max_count_;
  std::vector<RankedEntry> top_;  // the best so far, best first
};

std::vector<RankedEntry> BestFirstSearch::Rank(std::vector<CandidateFeatures>& candidates) {
  top_.reserve(std::min(max_count_, candidates.size()) + 1);
  // The walk's candidates, whose costs are known, are few: worked out at
  // once, they set a last place that spares most sound-alikes their costs.
  std::vector<Pending> pending;
  pending.reserve(candidates.size());
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    if (candidates[k].cost != kUnknownCost) {
      Finish(candidates[k]);
    } else {
      const std::size_t common = pattern_.LongestCommonSubsequence(EntryOf(candidates[k]));
      pending.push_back({Bound(candidates[k], common), k, common});
    }
  }
  std::make_heap(pending.begin(), pending.end());
  while (!pending.empty()) {
    std::pop_heap(pending.begin(), pending.end());
    const Pending next = pending.back();
    pending.pop_back();
    if (Full() && next.bound < top_.back().score) break;
    CandidateFeatures& c = candidates[next.index];
    if (c.cost != kUnknownCost) {
      Finish(c);
      continue;
    }
    const int limit = CostLimit(next, c);
    c.cost = pattern_.WeightedCost(EntryOf(c), limit);
    if (c.cost > limit) continue;
    if (!Full()) {
      // Finished at once while the list is short, it sets a last place
      // that limits the costs of those after it.
      Finish(c);
      continue;
    }
    pending.push_back({Bound(c, next.common), next.index, next.common});
    std::push_heap(pending.begin(), pending.end());
  }
  return std::move(top_);
}

double BestFirstSearch::Bound(CandidateFeatures c, std::size_t common) const {
  const std::size_t word_size = pattern_.word().size();
  const std::size_t size = EntryOf(c).size();
  if (c.cost == kUnknownCost) {
    c.cost = static_cast<std::int32_t>(std::max(word_size, size) - common);
  }
  c.gestalt = 2.0 * static_cast<double>(common) / static_cast<double>(word_size + size);
  return RankingScore(c, weights_);
}

// Once the list is full, a cost that puts the score below its last place
// needs no working out: the bound took the cost as the least the common
// subsequence leaves.
int BestFirstSearch::CostLimit(const Pending& next, const CandidateFeatures& c) const {
  const std::size_t entry_size = EntryOf(c).size();
  int limit = kSoundCost;
  // A candidate of unknown cost whose key is not the word's comes from the
  // wider stage.
  if (!c.same_sound) limit = WiderCostLimit(pattern_.word().size());
  if (Full() && weights_.cost > 0) {
    const auto lower = static_cast<int>(std::max(pattern_.word().size(), entry_size) - next.common);
    const double slack = (next.bound - top_.back().score) / weights_.cost;
    if (slack < kSoundCost) limit = std::min(limit, lower + static_cast<int>(slack) + 1);
  }
  return limit;
}

void BestFirstSearch::Finish(CandidateFeatures& c) {
  c.gestalt = Gestalt(pattern_.word(), EntryOf(c));
  const RankedEntry scored = {c.entry, RankingScore(c, weights_)};
  const auto before = [this](const RankedEntry& a, const RankedEntry& b) {
    if (a.score != b.score) return a.score > b.score;
    const std::string_view x = entries_[static_cast<std::size_t>(a.entry)];
    const std::string_view y = entries_[static_cast<std::size_t>(b.entry)];
    return x != y ? x < y : a.entry < b.entry;
  };
  top_.insert(std::upper_bound(top_.begin(), top_.end(), scored, before), scored);
  if (top_.size() > max_count_) top_.pop_back();
}

}  // namespace

std::vector<RankedEntry> RankBestFirst(const EditPattern& pattern, const WordListEntries& entries,
                                       const RankingWeights& weights,
                                       std::vector<CandidateFeatures>& candidates,
                                       std::size_t max_count, std::vector<RankedEntry> ranked) {
  return BestFirstSearch(pattern, entries, weights, max_count, std::move(ranked))
      .Rank(candidates);
}

}  // namespace quenvar
