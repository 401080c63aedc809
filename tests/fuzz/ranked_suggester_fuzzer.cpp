// The ranked suggestions against their plain rendering in
// tests/literal_ranking.h, over a main list made from the input: words of a
// few letters, so that they lie within reach of each other and share
// prefixes, sound keys and runs, with the bytes the error model treats
// apart (g and h, vowels, an accented letter, punctuation, doubled
// letters), in any order and with copies. Any difference aborts.
//
// Input: one byte choosing the alphabet, one the word count, then each
// word as a length byte and its letters; then the size codes of the
// entries (one byte each, as many as there are words); then up to eight
// words to correct, each as the count asked for, a length byte and its
// letters.
//
// The same words make a custom list (the first half loaded, the others
// added, and each word corrected added after it, in capitals when its count
// is odd): the custom words the ranking's index finds and scores must be
// exactly those a scan of every custom word scores.

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/custom_candidates.h"
#include "suggest/ranked_suggester.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/literal_ranking.h"

namespace quenvar {
namespace {

using fuzzing::Require;

constexpr std::string_view kAlphabets[] = {
    "aeghnst",
    "abcdefghijklmnopqrstuvwxyz'-\xE9\xDF",
};

// The positions of the custom words scorer scores, of those at positions.
std::vector<std::size_t> Scored(const CustomWordList& custom, const OutsiderScorer& scorer,
                                const std::vector<CustomWordList::Position>& positions) {
  std::vector<std::size_t> scored;
  for (const CustomWordList::Position p : positions) {
    if (scorer.Score(RankingForm(custom.WordAt(p)), 2)) scored.push_back(p.at);
  }
  return scored;
}

std::string MakeWord(fuzzing::FuzzInput& input, std::string_view alphabet) {
  const std::size_t length = input.Byte() % 14;
  std::string word;
  for (std::size_t i = 0; i < length && !input.empty(); ++i) {
    const std::uint8_t b = input.Byte();
    // Any byte but the line ends, when the alphabet is empty.
    const char c = alphabet.empty() ? static_cast<char>(b) : alphabet[b % alphabet.size()];
    word.push_back(c == '\r' || c == '\n' ? 'a' : c);
  }
  return word;
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenvar;
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t choice = input.Byte() % 3;
  const std::string_view alphabet = choice < 2 ? kAlphabets[choice] : std::string_view();
  const std::size_t words = input.Byte() % 48;
  ByteArray text;
  std::vector<std::u16string> custom_words;
  for (std::size_t w = 0; w < words; ++w) {
    const std::string word = MakeWord(input, alphabet);
    text.insert(text.end(), word.begin(), word.end());
    text.insert(text.end(), {'\r', '\n'});
    custom_words.push_back(FromSingleByte(word));
  }
  MainWordList list;
  list.Load(std::move(text));
  std::vector<std::uint8_t> details;
  for (std::size_t w = 0; w < words; ++w) details.push_back(input.Byte());
  const RankedSuggester suggester(list, details);
  const testing::LiteralRanking plain(list, details);
  CustomWordList custom;
  std::string file;
  for (std::size_t w = 0; w < words / 2; ++w) file += ToSingleByte(custom_words[w]) + "\r\n";
  custom.Load(std::move(file));
  for (std::size_t w = words / 2; w < words; ++w) custom.Add(custom_words[w]);
  CustomCandidates index;
  for (int query = 0; query < 8 && (query == 0 || !input.empty()); ++query) {
    const std::uint8_t count_byte = input.Byte();
    const std::size_t count = count_byte % 12;
    const std::string word = MakeWord(input, alphabet);
    std::vector<CustomWordList::Position> every;
    custom.ForEachWordFrom({}, [&](CustomWordList::Position p, std::u16string_view) {
      every.push_back(p);
    });
    const OutsiderScorer scorer = suggester.ScoreOutsiders(word);
    Require(Scored(custom, scorer, index.Find(custom, word)) == Scored(custom, scorer, every));
    const std::u16string added = FromSingleByte(word);
    custom.Add(count_byte % 2 ? ToUpper(added) : added);
    const std::vector<RankedEntry> fast = suggester.Suggest(word, count);
    const std::vector<RankedEntry> slow = plain.Suggest(word, count);
    Require(fast.size() == slow.size());
    for (std::size_t k = 0; k < fast.size(); ++k) {
      Require(fast[k].entry == slow[k].entry && fast[k].score == slow[k].score);
    }
  }
  return 0;
}
