// Ranked corrections for a misspelled word: candidates from the main word
// list within a small weighted edit distance or with a similar sound,
// ordered by how likely each is to be the intended word.

#ifndef QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_
#define QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "dictionary/word_list.h"

namespace quenvar {

// The weights of the ranking score, tuned on half of a list of real
// misspellings.
struct RankingWeights {
  double cost = 1.8;  // per unit of weighted edit cost
  // By size code: SCOWL size class 10, 20, 35, 40, 50, 55, 60, unknown.
  double size_class[8] = {0.0, 0.0, -1.1, -2.3, -2.4, -2.9, -3.0, -4.6};
  double same_sound = 0.7;    // equal sound-alike keys
  double near_sound = -0.3;   // sound-alike keys one edit apart
  double first_letter = 0.7;  // first letters differ
  double length = -0.6;       // per byte of length difference
  double gestalt = 3.8;       // times the gestalt similarity (0 to 1)
};

// What the ranking knows of one candidate.
struct CandidateFeatures {
  std::int32_t entry = 0;      // index in the word list
  std::int32_t cost = 0;       // weighted edit cost, two units an edit
  std::uint8_t size_code = 0;  // 0: size class 10 ... 6: 60, 7: unknown
  std::uint8_t sound = 0;      // 2: same key, 1: keys one edit apart
                               // (the word's key less a symbol, or
                               // with a swap)
  bool first_letter_differs = false;
  std::int32_t length_difference = 0;
  double gestalt = 0.0;  // Ratcliff/Obershelp similarity, 0 to 1
};

// A suggested entry and its score; a higher score is likelier.
struct RankedEntry {
  std::int32_t entry;
  double score;
};

// The entries of a main word list, indexed as the list indexes them.
class WordListEntries {
 public:
  explicit WordListEntries(const MainWordList& list) : list_(&list) {}
  std::size_t size() const { return static_cast<std::size_t>(list_->capacity()); }
  std::string_view operator[](std::size_t i) const {
    return list_->Entry(static_cast<std::int32_t>(i));
  }

 private:
  const MainWordList* list_;
};

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
  static constexpr std::size_t kMaxWordLength = 60;

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

  // The score Suggest would give candidate, a word outside the list with
  // size code size_code, as a correction of word; std::nullopt when it is
  // further from word than Suggest reaches, or equal to it.
  std::optional<double> ScoreOutsider(std::string_view word,
                                      std::string_view candidate,
                                      std::uint8_t size_code) const;

 private:
  struct SoundIndex;
  class Pattern;

  static double Score(const CandidateFeatures& candidate,
                      const RankingWeights& weights);
  std::string_view SortedEntry(std::size_t position) const {
    return entries_[order_.empty() ? position : order_[position]];
  }
  std::int32_t SortedIndex(std::size_t position) const {
    return static_cast<std::int32_t>(order_.empty() ? position
                                                    : order_[position]);
  }
  std::uint8_t SizeCode(std::int32_t entry) const;
  const SoundIndex& Sounds() const;
  void WalkRange(const Pattern& pattern, std::size_t begin, std::size_t end,
                 int max_cost, int first_cost,
                 std::vector<CandidateFeatures>& out) const;
  void WalkWithinCost(const Pattern& pattern,
                      std::vector<CandidateFeatures>& out) const;
  void Gather(const Pattern& pattern,
              std::vector<CandidateFeatures>& out) const;
  void AddSoundAlikes(std::string_view word,
                      std::vector<CandidateFeatures>& out) const;
  void AddLookedUpSlips(const Pattern& pattern,
                        std::vector<CandidateFeatures>& out) const;
  // The sorted position of the entry head + rest, or kNotFound.
  static constexpr std::size_t kNotFound = SIZE_MAX;
  std::size_t FindSorted(std::uint8_t head, std::string_view rest) const;

  WordListEntries entries_;
  std::span<const std::uint8_t> details_;
  RankingWeights weights_;
  // Entry indices in byte order of the entries; empty when the entries are
  // already in that order.
  std::vector<std::uint32_t> order_;
  // For each sorted position, the bytes its entry shares with the one
  // before (capped below 128; the top bit marks an entry equal to the one
  // before), and its first byte not shared. The walk takes the rows it can
  // reuse from the first, skips a prefix's entries by scanning it, and
  // drops most prefixes by the second without reading their entries.
  std::vector<std::uint8_t> shared_;
  std::vector<std::uint8_t> branch_;
  // Sorted positions of the entries by first byte: those starting with byte
  // b are [first_byte_starts_[b], first_byte_starts_[b + 1]).
  std::array<std::uint32_t, 257> first_byte_starts_{};
  // Likewise by first letter a to z and a class of the second byte: below
  // a, each of a to z, above z. Row f * 29 for letter f, 29 bounds a row.
  std::array<std::uint32_t, 26 * 29> pair_starts_{};
  // A bit for the hash of each entry's first four bytes (fewer in a short
  // entry), so that most first-letter lookups end without a search.
  std::vector<std::uint64_t> prefix_bits_;
  mutable std::once_flag sounds_built_;
  mutable std::unique_ptr<SoundIndex> sounds_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_RANKED_SUGGESTER_H_
