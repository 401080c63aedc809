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

#include <cstdint>
#include <string>
#include <vector>

#include "dictionary/word_list.h"
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
  for (std::size_t w = 0; w < words; ++w) {
    const std::string word = MakeWord(input, alphabet);
    text.insert(text.end(), word.begin(), word.end());
    text.insert(text.end(), {'\r', '\n'});
  }
  MainWordList list;
  list.Load(std::move(text));
  std::vector<std::uint8_t> details;
  for (std::size_t w = 0; w < words; ++w) details.push_back(input.Byte());
  const RankedSuggester suggester(list, details);
  const testing::LiteralRanking plain(list, details);
  for (int query = 0; query < 8 && (query == 0 || !input.empty()); ++query) {
    const std::size_t count = input.Byte() % 12;
    const std::string word = MakeWord(input, alphabet);
    const std::vector<RankedEntry> fast = suggester.Suggest(word, count);
    const std::vector<RankedEntry> slow = plain.Suggest(word, count);
    Require(fast.size() == slow.size());
    for (std::size_t k = 0; k < fast.size(); ++k) {
      Require(fast[k].entry == slow[k].entry && fast[k].score == slow[k].score);
    }
  }
  return 0;
}
