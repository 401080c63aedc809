// The fast similarity score and suggestion search against their plain
// renderings in tests/literal_similarity.h, on words made from the input:
// Similarity (both forms) on a pair of words, CountMatching on ranges of
// them, and GetSuggestions over the built-in list and a custom list, after
// GetRankedSuggestions, whose answers must be distinct words within the
// count asked, none the query itself. Any difference aborts.
//
// Input: one byte choosing the alphabet, then words, each a length byte and
// its characters (one byte each, or two for the UTF-16 alphabet), with a few
// bytes of range bounds and flags between them.

#include <quenvarspell/spell_check.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"
#include "dictionary/custom_list.h"
#include "suggest/ranked_suggestions.h"
#include "suggest/similarity.h"
#include "suggest/suggestions.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/literal_similarity.h"

namespace quenvar {
namespace {

using fuzzing::Require;

// Few letters, so that words share runs and candidates sit near the
// threshold, with characters whose upper case is longer (sharp s, the ffi
// ligature) or which cleaning removes.
constexpr std::u16string_view kLetters = u"abceisABS\u00DF\u00E9\uFB03'-.1 ";

enum class Alphabet { kLetters, kSingleByte, kUtf16 };

std::u16string MakeWord(fuzzing::FuzzInput& input, Alphabet alphabet,
                        std::size_t longest) {
  const std::size_t length = input.Byte() % (longest + 1);
  std::u16string word;
  for (std::size_t i = 0; i < length && !input.empty(); ++i) {
    switch (alphabet) {
      case Alphabet::kLetters:
        word.push_back(kLetters[input.Byte() % kLetters.size()]);
        break;
      case Alphabet::kSingleByte:
        word.push_back(CharOfSingleByte(input.Byte()));
        break;
      case Alphabet::kUtf16: {
        const std::uint8_t low = input.Byte();
        word.push_back(static_cast<char16_t>(low | input.Byte() << 8));
        break;
      }
    }
  }
  return word;
}

void CompareSimilarity(const std::u16string& a, const std::u16string& b) {
  const double expected = testing::LiteralSimilarity(a, b);
  Require(Similarity(a, b) == expected);
  const std::string bytes_a = ToSingleByte(a);
  const std::string bytes_b = ToSingleByte(b);
  Require(Similarity(WordForms{a, bytes_a}, WordForms{b, bytes_b}) == expected);
}

// CountMatching on ranges within the words (a start may lie past its end,
// or be 0), with the working arrays filled as Similarity fills them.
void CompareCountMatching(fuzzing::FuzzInput& input, const std::u16string& a,
                          const std::u16string& b) {
  const std::string bytes_a = ToSingleByte(a);
  const std::string bytes_b = ToSingleByte(b);
  const auto la = static_cast<std::int32_t>(bytes_a.size());
  const auto lb = static_cast<std::int32_t>(bytes_b.size());
  const std::int32_t start1 = input.Byte() % (la + 2);
  const std::int32_t end1 = input.Byte() % (la + 1);
  const std::int32_t start2 = input.Byte() % (lb + 2);
  const std::int32_t end2 = input.Byte() % (lb + 1);
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  arrays.first = bytes_a;
  arrays.second = bytes_b;
  const std::int32_t count = CountMatching(start1, end1, start2, end2);
  arrays.first.clear();
  arrays.second.clear();
  Require(count == testing::LiteralCountMatching(bytes_a, bytes_b, start1,
                                                 end1, start2, end2));
}

void LoadBuiltInListOnce() {
  static const bool loaded = [] {
    SpellCheck().Init();
    return true;
  }();
  Require(loaded);
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace quenvar;
  LoadBuiltInListOnce();
  fuzzing::FuzzInput input(data, size);
  const auto alphabet = static_cast<Alphabet>(input.Byte() % 3);

  // Longer than 64 bytes too, where the run search changes method.
  const std::u16string a = MakeWord(input, alphabet, 80);
  const std::u16string b = MakeWord(input, alphabet, 80);
  CompareSimilarity(a, b);
  CompareSimilarity(b, a);
  CompareCountMatching(input, a, b);

  ThreadCustomWords() = CustomWordList();
  const int custom_words = input.Byte() % 6;
  for (int i = 0; i < custom_words; ++i) {
    AddToCustom(MakeWord(input, alphabet, 12));
  }
  const bool check_custom = (input.Byte() & 1) != 0;
  const std::u16string query = MakeWord(input, alphabet, 16);
  // Ranked corrections: within the count asked, each once, never the query
  // itself, and nothing changed for the suggestions that follow.
  const int count = input.Byte() % 12 - 1;
  const WordArray ranked = GetRankedSuggestions(query, Spelling::kEnglish, count, check_custom);
  if (ranked) {
    Require(!ranked->empty() && ranked->size() <= static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < ranked->size(); ++i) {
      Require((*ranked)[i] != query);
      for (std::size_t j = 0; j < i; ++j) Require((*ranked)[i] != (*ranked)[j]);
    }
  }
  Require(GetSuggestions(query, check_custom) ==
          testing::LiteralGetSuggestions(query, check_custom));
  return 0;
}
