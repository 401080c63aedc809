// The ranked suggestions against their plain rendering in
// tests/literal_ranking.h.

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/text.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "suggest/ranked_suggester.h"
#include "tests/literal_ranking.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;

std::string Described(const MainWordList& list, const std::vector<RankedEntry>& ranked) {
  std::string text;
  for (const RankedEntry& r : ranked) {
    text += std::string(list.Entry(r.entry)) + " " + std::to_string(r.score) + ", ";
  }
  return text;
}

// The misspellings of every 20th line of the public list (about 200), as
// many corrections as the pipe asks for and, for a fifth of them, other
// counts.
TEST(RankedSuggester, AgreesWithThePlainRankingOnRealMisspellings) {
  std::vector<std::string> words;
  std::istringstream lines(testing::ReadBytes(testing::TestDataFile("misspellings.tab")));
  std::string line;
  for (std::size_t n = 0; std::getline(lines, line); ++n) {
    const std::string word = ToSingleByte(FromUtf8(line.substr(0, line.find('\t'))));
    if (n % 20 == 0 && (words.empty() || words.back() != word)) words.push_back(word);
  }
  OnFreshThread([&] {
    SpellCheck().Init();
    const MainWordList& list = ThreadDicWords();
    const std::span<const std::uint8_t> details =
        FindResource("DIC", 102).first(static_cast<std::size_t>(kDicCapacity));
    const RankedSuggester suggester(list, details);
    const testing::LiteralRanking plain(list, details);
    for (std::size_t k = 0; k < words.size(); ++k) {
      const std::size_t count = k % 5 == 0 ? 1 + k % 30 : 10;
      const std::vector<RankedEntry> fast = suggester.Suggest(words[k], count);
      const std::vector<RankedEntry> slow = plain.Suggest(words[k], count);
      ASSERT_EQ(Described(list, fast), Described(list, slow)) << words[k] << " " << count;
      for (std::size_t i = 0; i < fast.size(); ++i) ASSERT_EQ(fast[i].score, slow[i].score);
    }
  });
}

}  // namespace
}  // namespace quenvar
