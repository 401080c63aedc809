// A plain rendering of the ranked suggestions, rule by rule as the ranking
// states them: every entry of the list is tried against each rule that
// makes a candidate and scored by the same weighted cost and prior, with no
// walk, no index and no pruning; when no candidate scores well, again with
// the entries whose keys are a few symbols from the word's. RankedSuggester::Suggest must give the
// same entries with the same scores. Two sound-alike keys count as equal
// when the sound index takes them for equal, their compared hashes being
// the same: all equal keys do, and seldom two others.

#ifndef QUENVARSPELL_TESTS_LITERAL_RANKING_H_
#define QUENVARSPELL_TESTS_LITERAL_RANKING_H_

#include <algorithm>
#include <functional>
#include <map>
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/word_list.h"
#include "suggest/edit_pattern.h"
#include "suggest/error_model.h"
#include "suggest/irregular_verbs.h"
#include "suggest/letters.h"
#include "suggest/ranking_score.h"
#include "suggest/sorted_entries.h"
#include "suggest/sound_index.h"
#include "suggest/sound_key.h"
#include "tests/literal_similarity.h"

namespace quenvar::testing {

class LiteralRanking {
 public:
  LiteralRanking(const MainWordList& list, std::span<const std::uint8_t> details,
                 RankingWeights weights = {})
      : details_(details), weights_(weights), sounds_(SortedEntries(WordListEntries(list))) {
    // Each distinct entry of 1 to 60 bytes once, at its lowest index.
    for (std::int32_t i = 0; i < list.capacity(); ++i) {
      const std::string_view e = list.Entry(i);
      if (e.empty() || !present_.insert(e).second || e.size() > 60) continue;
      const std::string key(KeyOf(e).view());
      entries_.push_back({e, i, key, sounds_.ComparedHash(key)});
    }
  }

  // The ranking of the candidates the rules make; when none scores
  // wider_below, again with the wider sound-alikes among them.
  std::vector<RankedEntry> Suggest(std::string_view word, std::size_t max_count) const {
    if (max_count == 0 || word.empty() || word.size() > 60) return {};
    std::vector<RankedEntry> best = Rank(word, max_count, {});
    if (!best.empty() && best[0].score >= weights_.wider_below) return best;
    return Rank(word, max_count, WiderHashes(KeyOf(word).view()));
  }

 private:
  struct Entry {
    std::string_view bytes;
    std::int32_t index;
    std::string sound_key;
    std::uint32_t key;  // the compared hash of its sound-alike key
  };

  // The compared hashes of the keys of entries that start with key's first
  // symbol and are within WiderSoundDistance edits of it (a symbol
  // inserted, dropped or replaced, or two neighbours swapped).
  std::set<std::uint32_t> WiderHashes(std::string_view key) const {
    std::set<std::uint32_t> hashes;
    const int allowed = WiderSoundDistance(key.size());
    for (const Entry& e : entries_) {
      if (!key.empty() && !e.sound_key.empty() && e.sound_key[0] == key[0] &&
          SymbolEdits(e.sound_key, key) <= allowed) {
        hashes.insert(e.key);
      }
    }
    return hashes;
  }

  static int SymbolEdits(std::string_view a, std::string_view b) {
    std::vector<std::vector<int>> t(a.size() + 1, std::vector<int>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
      for (std::size_t j = 0; j <= b.size(); ++j) {
        if (i == 0 || j == 0) {
          t[i][j] = static_cast<int>(i + j);
          continue;
        }
        t[i][j] = std::min({t[i - 1][j] + 1, t[i][j - 1] + 1,
                            t[i - 1][j - 1] + (a[i - 1] != b[j - 1] ? 1 : 0)});
        if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
          t[i][j] = std::min(t[i][j], t[i - 2][j - 2] + 1);
        }
      }
    }
    return t[a.size()][b.size()];
  }

  // The max_count best candidates; an entry whose key's compared hash is
  // among wider is one too, at the weighted cost, when that is at most a
  // unit a byte of the word and six edits.
  std::vector<RankedEntry> Rank(std::string_view word, std::size_t max_count,
                                const std::set<std::uint32_t>& wider) const {
    const EditPattern pattern(word);
    const Slips slips = SlipsOf(word);
    const std::string key(KeyOf(word).view());
    const std::uint32_t same = sounds_.ComparedHash(key);
    struct Found {
      RankedEntry ranked;
      std::string_view bytes;
    };
    std::vector<Found> found;
    for (const Entry& e : entries_) {
      if (e.bytes == word) continue;
      CandidateFeatures c;
      c.same_sound = !key.empty() && e.key == same;
      std::optional<int> cost = SlipCost(pattern, slips, e.bytes);
      // Found by its sound alone: within six edits; by the wider stage:
      // within a unit a byte of the word, and six edits.
      const int limit = c.same_sound ? 12 : std::min<int>(12, static_cast<int>(word.size()));
      if (!cost && (c.same_sound || wider.contains(e.key)) && pattern.WeightedCost(e.bytes, limit) <= limit) {
        cost = pattern.WeightedCost(e.bytes, limit);
      }
      if (!cost) continue;
      c.entry = e.index;
      c.cost = *cost;
      const auto index = static_cast<std::size_t>(e.index);
      c.size_code = index < details_.size() ? details_[index] & 7 : 7;
      c.first_letter_differs = BaseLetter(e.bytes[0]) != BaseLetter(word[0]);
      c.length_difference = static_cast<int>(e.bytes.size()) - static_cast<int>(word.size());
      const std::string a(word), b(e.bytes);
      const int m = LiteralCountMatching(a, b, 1, static_cast<int>(a.size()), 1,
                                         static_cast<int>(b.size()));
      c.gestalt = 2.0 * m / static_cast<double>(a.size() + b.size());
      found.push_back({{e.index, RankingScore(c, weights_)}, e.bytes});
    }
    // Best first; among equal scores, in byte order (each entry is there
    // once).
    std::sort(found.begin(), found.end(), [](const Found& x, const Found& y) {
      return x.ranked.score != y.ranked.score ? x.ranked.score > y.ranked.score : x.bytes < y.bytes;
    });
    std::vector<RankedEntry> best;
    for (std::size_t k = 0; k < found.size() && k < max_count; ++k) best.push_back(found[k].ranked);
    return best;
  }

  // The words the word would be without a slip that is looked up, by cost:
  // a letter among the first four moved over two others (one edit), a run
  // of two to four letters written twice (two edits), and a suffix put on
  // by the rule where the word takes an exception (a unit): -ieing for
  // -ying, -ed (or -d, or -ed after a doubled last letter, or -ied for -y)
  // after a verb that is an entry whose last part is irregular, for one of
  // that part's past forms.
  using Slips = std::map<std::string, int, std::less<>>;  // form: least cost
  static void Add(Slips& slips, const std::string& form, int cost) {
    const auto [at, added] = slips.emplace(form, cost);
    if (!added) at->second = std::min(at->second, cost);
  }
  Slips SlipsOf(std::string_view word) const {
    Slips slips;
    for (std::size_t i = 0; i < 4 && i + 2 < word.size(); ++i) {
      for (const std::size_t turn : {std::size_t{1}, std::size_t{2}}) {
        std::string moved(word);
        std::rotate(moved.begin() + static_cast<long>(i),
                    moved.begin() + static_cast<long>(i + turn),
                    moved.begin() + static_cast<long>(i) + 3);
        Add(slips, moved, 2);
      }
    }
    for (std::size_t run = 2; run <= 4; ++run) {
      for (std::size_t i = 0; i + 2 * run <= word.size(); ++i) {
        if (word.substr(i, run) == word.substr(i + run, run)) {
          Add(slips, std::string(word).erase(i + run, run), 4);
        }
      }
    }
    if (word.size() > 5 && word.ends_with("ieing")) {
      Add(slips, std::string(word.substr(0, word.size() - 5)) + "ying", 1);
    }
    if (word.size() < 4 || !word.ends_with("ed")) return slips;
    const std::string bare(word.substr(0, word.size() - 2));
    std::vector<std::string> verbs = {bare, std::string(word.substr(0, word.size() - 1))};
    if (bare.back() == bare[bare.size() - 2]) verbs.push_back(bare.substr(0, bare.size() - 1));
    if (bare.back() == 'i') verbs.push_back(bare.substr(0, bare.size() - 1) + "y");
    for (const std::string& verb : verbs) {
      const auto [irregular, prefix] = FindIrregularVerb(verb);
      if (irregular == nullptr || !present_.contains(verb)) continue;
      Add(slips, verb.substr(0, prefix) + std::string(irregular->past), 1);
      Add(slips, verb.substr(0, prefix) + std::string(irregular->participle), 1);
    }
    return slips;
  }

  // The least cost at which a rule other than the sound makes entry a
  // candidate, or none.
  static std::optional<int> SlipCost(const EditPattern& pattern, const Slips& slips,
                                     std::string_view entry) {
    const std::string_view word = pattern.word();
    std::optional<int> least;
    const auto take = [&least](int cost) { least = least ? std::min(*least, cost) : cost; };
    if (const std::optional<Reach> reach = WalkReachOf(word, entry)) {
      if (WithinWalk(pattern, entry, *reach)) take(pattern.WeightedCost(entry, 1000));
    } else if (entry.substr(1) == word.substr(1) || entry.substr(1) == word) {
      // The first letter written for another, or left out: within an edit.
      if (pattern.WeightedCost(entry, 2) <= 2) take(pattern.WeightedCost(entry, 2));
    }
    if (const auto slip = slips.find(entry); slip != slips.end()) take(slip->second);
    return least;
  }

  // The walk's reach by the entry's first letter: four units where it is
  // the word's first letter, three where it is the word's second, three
  // where both are vowels but only one in the first two bytes; none for
  // the rest.
  static std::optional<Reach> WalkReachOf(std::string_view word, std::string_view entry) {
    const char letter = BaseLetter(entry[0]);
    if (letter != 0 && letter == BaseLetter(word[0])) return Reach{4, 2};
    if (letter != 0 && word.size() > 1 && letter == BaseLetter(word[1])) return Reach{3, 2};
    if (IsVowel(letter) && IsVowel(BaseLetter(word[0]))) return Reach{3, 1};
    return std::nullopt;
  }

  // Within the reach, and no prefix of the entry dearer than allowed for
  // its length (its first two bytes first_cost, five an edit, six an edit
  // and a unit) against every prefix of the word, unless the prefix a byte
  // shorter is cheaper than that, as the end of a swap may be. The rows
  // know no moved letters.
  static bool WithinWalk(const EditPattern& pattern, std::string_view entry, const Reach& reach) {
    std::array<EditPattern::Levels, 61> rows;
    pattern.FirstRow(rows[0]);
    const auto least = [&rows](std::size_t d) {
      int k = 0;
      while (k < EditPattern::kLevels && rows[d][static_cast<std::size_t>(k)] == 0) ++k;
      return k;
    };
    for (std::size_t d = 1; d <= entry.size(); ++d) {
      pattern.NextRow(entry, d, rows.data());
      const int allowed = std::min(reach.max_cost, d <= 2   ? reach.first_cost
                                                   : d <= 5 ? 2
                                                   : d <= 6 ? 3
                                                            : reach.max_cost);
      if (least(d) > allowed && least(d - 1) >= allowed) return false;
    }
    return pattern.Final(rows[entry.size()]) <= reach.max_cost;
  }

  std::span<const std::uint8_t> details_;
  RankingWeights weights_;
  SoundIndex sounds_;
  std::set<std::string_view> present_;  // every entry
  std::vector<Entry> entries_;          // those that may be offered
};

}  // namespace quenvar::testing

#endif  // QUENVARSPELL_TESTS_LITERAL_RANKING_H_
