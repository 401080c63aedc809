#include "suggest/trie_walk.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <utility>

namespace quenvar {
namespace {

// One walk over the sorted positions [begin, end) of one first byte: the
// rows of the edit-cost table for a prefix are computed once for all the
// entries sharing it, and a prefix that already costs more than its depth
// allows is passed over with all its entries.
class TrieWalk {
 public:
  TrieWalk(const EditPattern& pattern, const SortedEntries& sorted, const Reach& reach,
           std::vector<CandidateFeatures>& out)
      : pattern_(pattern), sorted_(sorted), max_cost_(reach.max_cost), out_(out) {
    pattern_.FirstRow(rows_[0]);
    for (std::size_t d = 0; d < allowed_.size(); ++d) {
      allowed_[d] = static_cast<std::uint8_t>(AllowedCost(reach, d));
    }
  }

  void Walk(std::size_t begin, std::size_t end);

 private:
  // Whether the prefix of d bytes ending in c, after the byte at d - 2 of
  // bytes, is out of reach: neither row d-1 has a cell within the allowed
  // cost less one (for a swap) nor row d one within it. REQUIRES: rows up
  // to d-1 computed for the prefix.
  bool Drops(char c, std::string_view bytes, std::size_t d) const {
    const std::size_t allowed = allowed_[d];
    if (rows_[d - 1][allowed - 1] != 0 || pattern_.KeepsByMatch(c, d, rows_.data(), allowed)) {
      return false;
    }
    const int before = d > 1 ? static_cast<unsigned char>(bytes[d - 2]) : EditPattern::kNoByte;
    return !pattern_.KeepsBySwap(c, before, d, rows_.data(), allowed);
  }
  // The depth up to which the rows walked so far hold for the entry at p,
  // or kDropped when the entry's first byte past them puts it out of reach;
  // and whether that byte was found to keep it within reach.
  static constexpr std::size_t kDropped = SIZE_MAX;
  struct Reuse {
    std::size_t depth = 0;
    bool next_kept = false;
  };
  Reuse ReusableDepth(std::size_t p) const;
  // Computes the rows of the entry at p from the reused depth on and adds
  // the entry when it is within reach; returns the next position to walk.
  std::size_t Descend(std::size_t p, Reuse reuse, std::size_t end);

  const EditPattern& pattern_;
  const SortedEntries& sorted_;
  const int max_cost_;
  std::vector<CandidateFeatures>& out_;
  std::array<EditPattern::Levels, kMaxRankedLength + 1> rows_;
  std::array<char, kMaxRankedLength> path_;
  std::size_t valid_ = 0;  // rows_[0..valid_] hold path_[0..valid_)
  // The most the first d bytes may cost, by d; one past the longest entry,
  // for a longer entry that leaves a walked prefix of that length.
  std::array<std::uint8_t, kMaxRankedLength + 2> allowed_;
};

void TrieWalk::Walk(std::size_t begin, std::size_t end) {
  std::size_t p = begin;
  while (p < end) {
    if (p > begin && sorted_.IsDuplicate(p)) {
      ++p;
      continue;
    }
    const Reuse reuse = p > begin ? ReusableDepth(p) : Reuse{};
    if (reuse.depth == kDropped) {
      valid_ = sorted_.SharedBytes(p);
      p = sorted_.SkipBranch(p, end);
    } else {
      p = Descend(p, reuse, end);
    }
  }
}

TrieWalk::Reuse TrieWalk::ReusableDepth(std::size_t p) const {
  const std::size_t shared = sorted_.SharedBytes(p);
  if (shared > valid_) return {valid_, false};
  // Leaving out a g costs less before an h (IsCheapToLeaveOut), so the row
  // of a prefix ending in g holds only for the byte that followed it.
  if (shared > 0 && path_[shared - 1] == 'g') return {shared - 1, false};
  // The entry leaves the walked prefix at its byte Branch(p), which may
  // drop it without reading it.
  if (Drops(sorted_.Branch(p), {path_.data(), shared}, shared + 1)) {
    return {kDropped, false};
  }
  return {shared, true};
}

std::size_t TrieWalk::Descend(std::size_t p, Reuse reuse, std::size_t end) {
  const std::string_view e = sorted_.Entry(p);
  std::size_t d = reuse.depth;
  if (e.size() > kMaxRankedLength) {
    valid_ = d;
    return p + 1;
  }
  bool kept = reuse.next_kept;
  while (d < e.size()) {
    ++d;
    if (!std::exchange(kept, false) && Drops(e[d - 1], e, d)) {
      valid_ = d - 1;
      return sorted_.SkipPrefix(p, d, end);
    }
    path_[d - 1] = e[d - 1];
    pattern_.NextRow(e, d, rows_.data());
  }
  valid_ = e.size();
  const int rows_cost = pattern_.Final(rows_[e.size()]);
  if (rows_cost > max_cost_ || rows_cost == 0) return p + 1;  // cost 0: the word itself
  out_.push_back(
      {.entry = sorted_.Index(p), .cost = pattern_.CostFromRows(e, rows_cost, max_cost_)});
  return p + 1;
}

}  // namespace

void WalkWithinReach(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out) {
  for (std::size_t b = 0; b < 256; ++b) {
    const std::size_t begin = sorted.ByteStart(b);
    const std::size_t end = sorted.ByteStart(b + 1);
    if (begin == end) continue;
    const Reach reach = WalkReach(static_cast<char>(b), pattern.word());
    if (reach.max_cost != 0) TrieWalk(pattern, sorted, reach, out).Walk(begin, end);
  }
}

}  // namespace quenvar
