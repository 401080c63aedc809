#include "suggest/suggestions.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "component/numeric.h"
#include "component/text.h"
#include "component/thread_state.h"
#include "component/word_array.h"
#include "dictionary/check_word.h"
#include "dictionary/word_list.h"
#include "suggest/similarity.h"

namespace quenvar {
namespace {

bool IsAscii(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char16_t c) { return c < 0x80; });
}

// True when candidate certainly scores 0.8 or less against w, decided
// without scoring it. The matching count is at most the shorter length, so
// when 5·min(La, Lb) <= 2·(La + Lb) only the upper-case equality test that
// opens the score could still accept the candidate, and it can accept words
// of different lengths (ß upper-cases to SS). upper_w is w upper-cased.
bool CannotPass(std::u16string_view candidate, std::u16string_view w,
                const std::u16string& upper_w) {
  const std::uint64_t la = candidate.size();
  const std::uint64_t lb = w.size();
  if (5 * std::min(la, lb) > 2 * (la + lb)) return false;
  // An ASCII word upper-cases to as many characters as it has.
  if (IsAscii(candidate)) return candidate.size() != upper_w.size();
  return ToUpper(candidate) != upper_w;
}

bool Qualifies(std::u16string_view candidate, std::u16string_view w,
               const std::u16string& upper_w) {
  return !CannotPass(candidate, w, upper_w) &&
         Similarity(candidate, w) > kSuggestionThreshold;
}

void Append(WordArray& result, std::u16string_view word) {
  if (!result) result.emplace();
  result->emplace_back(word);
}

// The prefix key of w's first two bytes, with A-Z folded to lower case.
// REQUIRES: w.size() >= 2.
std::uint32_t FoldedPrefixKey(std::u16string_view w) {
  std::string bytes = ToSingleByte(w.substr(0, 2));
  for (char& b : bytes) {
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
  }
  return PrefixKey(bytes);
}

}  // namespace

WordArray GetSuggestions(std::u16string_view sWord, bool bCheckCustom) {
  const std::u16string w = CleanWord(ToLower(sWord));
  if (w.size() < 2 || IsNumeric(w)) return std::nullopt;
  const std::u16string upper_w = ToUpper(w);

  WordArray result;
  const MainWordList& list = State().sDicWords;
  const std::uint32_t key = FoldedPrefixKey(w);
  const std::int32_t first = std::max(list.PrefixStart(key), 0);
  const std::int32_t last = std::min(list.PrefixEnd(key), list.capacity() - 1);
  std::u16string candidate;
  for (std::int32_t i = first; i <= last; ++i) {
    const std::string_view entry = list.Entry(i);
    candidate.resize(entry.size());
    for (std::size_t k = 0; k < entry.size(); ++k) {
      candidate[k] = CharOfSingleByte(static_cast<unsigned char>(entry[k]));
    }
    if (Qualifies(candidate, w, upper_w)) Append(result, candidate);
  }

  if (bCheckCustom) AppendWords(result, GetCustomSuggestions(w));
  return result;
}

WordArray GetCustomSuggestions(std::u16string_view w) {
  const std::u16string upper_w = ToUpper(w);
  WordArray result;
  const WordArray& words = State().sCustomWords.words();
  const std::int32_t n = SafeUpperBound(words);
  for (std::int32_t i = 0; i <= n; ++i) {
    const std::u16string& word = (*words)[static_cast<std::size_t>(i)];
    if (Qualifies(word, w, upper_w)) Append(result, word);
  }
  return result;
}

}  // namespace quenvar
