// A plain rendering of the similarity score and of the suggestion search,
// step by step as they are defined: the recursive count, the run search that
// measures every run from every starting pair, every candidate scored, the
// query lower-cased and cleaned as tests/literal_check_word.h does it. The
// fast versions in suggest/ must agree with it on every input.

#ifndef QUENVARSPELL_TESTS_LITERAL_SIMILARITY_H_
#define QUENVARSPELL_TESTS_LITERAL_SIMILARITY_H_

#include <quenvarspell/spell_check.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/numeric.h"
#include "base/text.h"
#include "base/word_array.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "tests/literal_check_word.h"

namespace quenvar::testing {

// CountMatching over a and b, positions 1-based and inclusive.
inline std::int32_t LiteralCountMatching(const std::string& a,
                                         const std::string& b,
                                         std::int32_t start1, std::int32_t end1,
                                         std::int32_t start2,
                                         std::int32_t end2) {
  if (end1 < start1 || end2 < start2 || start1 <= 0 || start2 <= 0) return 0;
  auto A = [&](std::int32_t i) { return a[static_cast<std::size_t>(i - 1)]; };
  auto B = [&](std::int32_t j) { return b[static_cast<std::size_t>(j - 1)]; };
  std::int32_t best = 0, best_i = 0, best_j = 0;
  for (std::int32_t i = start1; i <= end1; ++i) {
    for (std::int32_t j = start2; j <= end2; ++j) {
      if (A(i) != B(j)) continue;
      for (std::int32_t length = 1;; ++length) {
        if (length > best) {
          best = length;
          best_i = i;
          best_j = j;
        }
        if (i + length > end1 || j + length > end2 ||
            A(i + length) != B(j + length)) {
          break;
        }
      }
    }
  }
  if (best == 0) return 0;
  const std::int32_t right =
      LiteralCountMatching(a, b, best_i + best, end1, best_j + best, end2);
  const std::int32_t left =
      LiteralCountMatching(a, b, start1, best_i - 1, start2, best_j - 1);
  return best + right + left;
}

inline double LiteralSimilarity(std::u16string_view first,
                                std::u16string_view second) {
  const std::string a = ToSingleByte(first);
  const std::string b = ToSingleByte(second);
  if (ToUpper(first) == ToUpper(second)) return 1.0;
  const auto la = static_cast<std::int32_t>(a.size());
  const auto lb = static_cast<std::int32_t>(b.size());
  if (la == 0 || lb == 0) return 0.0;
  const std::int32_t m = LiteralCountMatching(a, b, 1, la, 1, lb);
  return (static_cast<double>(m) / (la + lb)) * 2;
}

// GetSuggestions over this thread's lists, every candidate scored.
inline WordArray LiteralGetSuggestions(std::u16string_view sWord,
                                       bool bCheckCustom) {
  const std::u16string w = LiteralCleanWord(LiteralLower(sWord));
  if (w.size() < 2 || IsNumeric(w)) return std::nullopt;
  std::string bytes = ToSingleByte(w);
  auto fold = [](unsigned char b) {
    return static_cast<std::uint32_t>(b >= 65 && b <= 90 ? b + 32 : b);
  };
  const std::uint32_t key = fold(static_cast<unsigned char>(bytes[0])) +
                            256u * fold(static_cast<unsigned char>(bytes[1]));
  WordArray result;
  const MainWordList& list = ThreadDicWords();
  for (std::int32_t i = list.PrefixStart(key); i <= list.PrefixEnd(key); ++i) {
    const std::u16string word = FromSingleByte(list.Entry(i));
    if (LiteralSimilarity(word, w) > 0.8) {
      if (!result) result.emplace();
      result->push_back(word);
    }
  }
  if (bCheckCustom) {
    WordArray custom;
    const WordArray words = ThreadCustomWords().words();
    for (std::int32_t i = 0; i <= SafeUpperBound(words); ++i) {
      const std::u16string& word = (*words)[static_cast<std::size_t>(i)];
      if (LiteralSimilarity(word, w) > 0.8) {
        if (!custom) custom.emplace();
        custom->push_back(word);
      }
    }
    AppendWords(result, custom);
  }
  return result;
}

}  // namespace quenvar::testing

#endif  // QUENVARSPELL_TESTS_LITERAL_SIMILARITY_H_
