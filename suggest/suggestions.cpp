#include "suggest/suggestions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "base/ascii.h"
#include "base/numeric.h"
#include "base/text.h"
#include "base/word_array.h"
#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/similarity.h"

namespace quenvar {
namespace {

// The word being corrected, w, with what scoring many candidates against it
// needs, so that a candidate whose score cannot pass is turned down without
// scoring it.
//
// A candidate can pass only when Similarity's upper-case test accepts it or
// 5·M > 2·(La + Lb). The matching count M pairs equal bytes, so it is at
// most the number of bytes the two words have in common, counted with
// repetition, which in turn is at most the shorter length. When either bound
// rules the count out, the candidate is still scored if the upper-case test
// could accept it: that test can pass for words of different bytes and even
// of different lengths (ß upper-cases to SS).
class Target {
 public:
  explicit Target(std::u16string_view w)
      : w_(w),
        bytes_(ToSingleByte(w)),
        upper_(ToUpper(w)),
        ascii_(IsAscii(w)),
        groups_(PackedGroupCounts::Of(bytes_)) {
    for (char b : bytes_) ++remaining_[static_cast<unsigned char>(b)];
  }

  std::u16string_view word() const { return w_; }

  // True when a candidate of candidate_bytes, whose group counts are groups,
  // certainly does not score above the threshold: a quick test from data
  // the main list keeps for each entry, before Accepts. When both words are
  // ASCII, the upper-case test accepts only words equal apart from letter
  // case, which share all their bytes by the groups' count, so the bound on
  // M alone decides.
  bool RuledOutByGroups(std::string_view candidate_bytes,
                        const PackedGroupCounts& groups) const {
    if (!ascii_ || !groups_.IsExact() || groups.HasNonAscii()) {
      return false;
    }
    return MatchesCannotPass(CommonBytesBound(groups_, groups),
                             candidate_bytes.size());
  }

  // True when candidate, whose single-byte form is candidate_bytes and which
  // is all ASCII when ascii holds, scores above the threshold against w.
  bool Accepts(std::u16string_view candidate, std::string_view candidate_bytes,
               bool ascii) {
    if (CountCannotPass(candidate_bytes) &&
        !MayBeEqualUpperCased(candidate, ascii)) {
      return false;
    }
    return Similarity(WordForms{candidate, candidate_bytes},
                      WordForms{w_, bytes_}) > kSuggestionThreshold;
  }

 private:
  // True when a matching count of at most most_matches between w and a
  // candidate of candidate_length bytes cannot score above the threshold.
  bool MatchesCannotPass(std::uint64_t most_matches,
                         std::uint64_t candidate_length) const {
    return 5 * most_matches <= 2 * (candidate_length + bytes_.size());
  }

  bool CountCannotPass(std::string_view candidate_bytes) {
    const std::uint64_t la = candidate_bytes.size();
    return MatchesCannotPass(std::min<std::uint64_t>(la, bytes_.size()), la) ||
           MatchesCannotPass(CommonBytes(candidate_bytes), la);
  }

  // The bytes of candidate_bytes that w has too, with repetition. Takes each
  // byte from remaining_ and puts it back afterwards.
  std::uint64_t CommonBytes(std::string_view candidate_bytes) {
    std::uint64_t common = 0;
    for (char b : candidate_bytes) {
      common += remaining_[static_cast<unsigned char>(b)]-- > 0;
    }
    for (char b : candidate_bytes) ++remaining_[static_cast<unsigned char>(b)];
    return common;
  }

  // False only when candidate and w are certainly not equal upper-cased.
  // Each ASCII character upper-cases to one character, distinct letters to
  // distinct ones, so two ASCII words can be equal upper-cased only when
  // they are equal apart from ASCII letter case.
  bool MayBeEqualUpperCased(std::u16string_view candidate, bool ascii) const {
    if (ascii && ascii_) {
      return candidate.size() == w_.size() &&
             std::equal(candidate.begin(), candidate.end(), w_.begin(),
                        [](char16_t a, char16_t b) {
                          return AsciiLower(a) == AsciiLower(b);
                        });
    }
    return ToUpper(candidate) == upper_;
  }

  const std::u16string w_;
  const std::string bytes_;
  const std::u16string upper_;
  const bool ascii_;
  const PackedGroupCounts groups_;
  std::array<std::int64_t, 256> remaining_{};  // w's bytes, counted
};

void Append(WordArray& result, std::u16string_view word) {
  if (!result) result.emplace();
  result->emplace_back(word);
}

// The prefix key of w's first two bytes, with A-Z folded to lower case.
// REQUIRES: w.size() >= 2.
std::uint32_t FoldedPrefixKey(std::u16string_view w) {
  std::string bytes = ToSingleByte(w.substr(0, 2));
  for (char& b : bytes) {
    b = static_cast<char>(AsciiLower(static_cast<unsigned char>(b)));
  }
  return PrefixKey(bytes);
}

WordArray CustomSuggestions(Target& target) {
  WordArray result;
  std::string bytes;
  ThreadCustomWords().ForEachWord([&](std::u16string_view word) {
    ToSingleByte(word, bytes);
    if (target.Accepts(word, bytes, IsAscii(word))) Append(result, word);
  });
  return result;
}

}  // namespace

WordArray GetSuggestions(std::u16string_view sWord, bool bCheckCustom) {
  const std::u16string w = CleanWord(ToLower(sWord));
  if (w.size() < 2 || IsNumeric(w)) return std::nullopt;
  Target target(w);

  WordArray result;
  const MainWordList& list = ThreadDicWords();
  const std::uint32_t key = FoldedPrefixKey(w);
  const std::int32_t first = std::max(list.PrefixStart(key), 0);
  const std::int32_t last = std::min(list.PrefixEnd(key), list.capacity() - 1);
  const std::span<const PackedGroupCounts> group_counts = list.GroupCounts();
  std::u16string candidate;
  for (std::int32_t i = first; i <= last; ++i) {
    const std::string_view entry = list.Entry(i);
    if (target.RuledOutByGroups(entry, group_counts[static_cast<std::size_t>(i)])) {
      continue;
    }
    const bool ascii = FromSingleByte(entry, candidate);
    if (target.Accepts(candidate, entry, ascii)) Append(result, candidate);
  }

  if (bCheckCustom) AppendWords(result, CustomSuggestions(target));
  return result;
}

WordArray GetCustomSuggestions(std::u16string_view w) {
  Target target(w);
  return CustomSuggestions(target);
}

}  // namespace quenvar
