#include "cli/word_checker.h"

#include <cstdint>

namespace quenvar::cli {
namespace {

// Notes the offset of each word CheckText reports.
class ReportedOffsets : public SpellCheckEvents {
 public:
  void SpellWordNotInDic(const std::u16string&, std::int32_t lPosStart,
                         Boolean&) override {
    offsets.push_back(static_cast<std::size_t>(lPosStart));
  }
  std::vector<std::size_t> offsets;
};

}  // namespace

std::vector<UnknownWord> WordChecker::UnknownWords(std::u16string_view text) {
  using Verdict = std::pair<const std::u16string, bool>;  // stable in the map
  struct Occurrence {
    const Verdict* verdict;
    std::size_t offset;
  };
  if (known_.size() > kMaxVerdicts) known_.clear();
  std::vector<Occurrence> occurrences;
  // The words without a verdict yet, one per line of a text for CheckText.
  std::u16string fresh;
  std::vector<Verdict*> pending;
  ForEachWord(text, [&](std::u16string_view word, std::size_t offset) {
    auto [it, inserted] = known_.try_emplace(std::u16string(word), true);
    occurrences.push_back({&*it, offset});
    if (!inserted) return;
    fresh.append(word);
    fresh += u'\n';
    pending.push_back(&*it);
  });
  if (!pending.empty()) {
    ReportedOffsets reported;
    const std::uint32_t cookie = speller_.Advise(reported);
    try {
      speller_.CheckText(fresh, kFalse);
    } catch (...) {
      speller_.Unadvise(cookie);
      for (const Verdict* verdict : pending) known_.erase(verdict->first);
      throw;
    }
    speller_.Unadvise(cookie);
    std::size_t offset = 0;
    auto next = reported.offsets.begin();
    for (Verdict* verdict : pending) {
      if (next != reported.offsets.end() && *next == offset) {
        verdict->second = false;
        ++next;
      }
      offset += verdict->first.size() + 1;
    }
  }
  std::vector<UnknownWord> unknown;
  for (const Occurrence& occurrence : occurrences) {
    if (!occurrence.verdict->second) {
      unknown.push_back({occurrence.verdict->first, occurrence.offset});
    }
  }
  return unknown;
}

}  // namespace quenvar::cli
