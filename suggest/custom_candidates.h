// The custom words the ranking can offer for a word, told by a summary of
// each word instead of by scoring every word, so that ranked suggestions
// with a large custom list score only the few words within reach.

#ifndef QUENVARSPELL_SUGGEST_CUSTOM_CANDIDATES_H_
#define QUENVARSPELL_SUGGEST_CUSTOM_CANDIDATES_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/custom_list.h"

namespace quenvar {

// The ranking form of a custom word: lower-cased, in single bytes.
std::string RankingForm(std::u16string_view word);

// How many summaries a scan tests at once: one, or four or eight where the
// processor has the registers for them (AVX2; AVX-512 with its bit count).
enum class ScanWidth { kOne, kFour, kEight };

// The widest scan this processor runs.
ScanWidth WidestScan();

// The indices, ascending, of the summaries (as CustomCandidates keeps them)
// whose words may be within reach of the word of summary, tested width at a
// time; every width gives the same. REQUIRES: this processor runs width.
std::vector<std::uint32_t> NearSummaries(const std::vector<std::uint64_t>& summaries,
                                         std::uint64_t summary, ScanWidth width);

// Summaries of one custom list's words, in list order, 12 bytes a word: how
// many of each kind of letter a word's ranking form has (up to two), its
// length and a part of its sound-alike key's hash. It follows the list: a
// load summarizes the words again, added words are summarized on the next
// call.
class CustomCandidates {
 public:
  // The positions, ascending, of every word of list whose ranking form is
  // within OutsiderScorer's reach of word (a lower-cased single-byte form),
  // and of some more: the words Windows-1252 lacks and
  // the few whose summaries are alike but whose forms are not near.
  // REQUIRES: the same list at every call.
  std::vector<CustomWordList::Position> Find(const CustomWordList& list, std::string_view word);

 private:
  void Follow(const CustomWordList& list);

  std::uint64_t loads_ = 0;
  bool followed_ = false;
  CustomWordList::Position covered_;  // the words before it are summarized
  std::vector<std::uint64_t> summaries_;  // Summary of each narrow word's form
  std::vector<std::uint32_t> offsets_;    // that word's offset
  std::vector<CustomWordList::Position> wide_;  // the words that are not narrow
};

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_CUSTOM_CANDIDATES_H_
