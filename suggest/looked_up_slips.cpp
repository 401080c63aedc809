#include "suggest/looked_up_slips.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "suggest/irregular_verbs.h"

namespace quenvar {
namespace {

// Appends form, when it is an entry other than the word itself and no
// longer than the ranking offers, at cost.
void AddIfEntry(const SortedEntries& sorted, std::string_view word, std::string_view form,
                int cost, std::vector<CandidateFeatures>& out) {
  if (form == word || form.size() > kMaxRankedLength) return;
  const std::size_t p = sorted.Find(form);
  if (p != SortedEntries::kNotFound) out.push_back({.entry = sorted.Index(p), .cost = cost});
}

bool IsEntry(const SortedEntries& sorted, std::string_view form) {
  return !form.empty() && sorted.Find(form) != SortedEntries::kNotFound;
}

}  // namespace

void AddFirstLetterSlips(const EditPattern& pattern, const SortedEntries& sorted,
                         std::vector<CandidateFeatures>& out) {
  const std::string_view word = pattern.word();
  // After each first byte, the word but its first byte, or the whole word.
  const std::array<SortedEntries::Rest, 2> rests = {SortedEntries::PrepareRest(word),
                                                     SortedEntries::PrepareRest(word.substr(1))};
  for (std::size_t b = 0; b < 256; ++b) {
    if (sorted.ByteStart(b) == sorted.ByteStart(b + 1) ||
        WalkReach(static_cast<char>(b), word).max_cost != 0) {
      continue;
    }
    for (const std::size_t skip : {std::size_t{1}, std::size_t{0}}) {
      const bool is_word = skip == 1 && static_cast<unsigned char>(word[0]) == b;
      if (is_word || 1 + word.size() - skip > kMaxRankedLength) continue;
      const std::size_t p = sorted.Find(static_cast<std::uint8_t>(b), rests[skip]);
      if (p == SortedEntries::kNotFound) continue;
      const int cost = pattern.WeightedCost(sorted.Entry(p), kFarCost);
      if (cost <= kFarCost) out.push_back({.entry = sorted.Index(p), .cost = cost});
    }
  }
}

void AddEarlyMovedLetters(const EditPattern& pattern, const SortedEntries& sorted,
                          std::vector<CandidateFeatures>& out) {
  const std::string_view word = pattern.word();
  std::array<char, kMaxRankedLength> form{};
  const auto begin = form.begin();
  for (std::size_t i = 0; i < kEarlyDepth && i + 2 < word.size(); ++i) {
    const auto at = static_cast<std::ptrdiff_t>(i);
    // The letter at i moved over the next two, and the third moved back.
    for (const std::ptrdiff_t turn : {1, 2}) {
      std::copy(word.begin(), word.end(), begin);
      std::rotate(begin + at, begin + at + turn, begin + at + 3);
      AddIfEntry(sorted, word, {form.data(), word.size()}, kMoved, out);
    }
  }
}

void AddRepeatedRuns(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out) {
  const std::string_view word = pattern.word();
  std::array<char, kMaxRankedLength> form{};
  for (std::size_t run = 2; run <= 4; ++run) {
    for (std::size_t i = 0; i + 2 * run <= word.size(); ++i) {
      if (word.substr(i, run) != word.substr(i + run, run)) continue;
      const auto end = std::copy(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(i + run),
                                 form.begin());
      std::copy(word.begin() + static_cast<std::ptrdiff_t>(i + 2 * run), word.end(), end);
      AddIfEntry(sorted, word, {form.data(), word.size() - run}, kRepeatedRun, out);
    }
  }
}

void AddRuleSuffixes(const EditPattern& pattern, const SortedEntries& sorted,
                     std::vector<CandidateFeatures>& out) {
  const std::string_view word = pattern.word();
  if (word.size() > 5 && word.ends_with("ieing")) {
    AddIfEntry(sorted, word, std::string(word.substr(0, word.size() - 5)) + "ying", kRuleSuffix, out);
  }
  if (word.size() < 4 || !word.ends_with("ed")) return;
  // The verb is the word less its -ed, its -d (rised), its -ed and a
  // doubled last letter (runned), or with -y for -ied (flied); when it is
  // an entry whose last part is irregular, that part's past forms go in.
  const std::string_view bare = word.substr(0, word.size() - 2);
  const std::string verbs[] = {
      std::string(bare), std::string(word.substr(0, word.size() - 1)),
      bare.back() == bare[bare.size() - 2] ? std::string(bare.substr(0, bare.size() - 1))
                                           : std::string(),
      bare.back() == 'i' ? std::string(bare.substr(0, bare.size() - 1)) + 'y' : std::string()};
  for (const std::string_view verb : verbs) {
    if (!IsEntry(sorted, verb)) continue;
    const auto [irregular, prefix_length] = FindIrregularVerb(verb);
    if (irregular == nullptr) continue;
    const std::string prefix(verb.substr(0, prefix_length));
    AddIfEntry(sorted, word, prefix + std::string(irregular->past), kRuleSuffix, out);
    if (irregular->participle != irregular->past) {
      AddIfEntry(sorted, word, prefix + std::string(irregular->participle), kRuleSuffix, out);
    }
  }
}

}  // namespace quenvar
