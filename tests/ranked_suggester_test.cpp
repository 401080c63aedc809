#include "suggest/ranked_suggester.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;

ByteArray Joined(const std::vector<std::string>& lines) {
  ByteArray text;
  for (const std::string& line : lines) {
    text.insert(text.end(), line.begin(), line.end());
    text.insert(text.end(), {'\r', '\n'});
  }
  return text;
}

std::vector<std::string> Words(const RankedSuggester& suggester, const MainWordList& list,
                               std::string_view word, std::size_t count = 10) {
  std::vector<std::string> words;
  for (const RankedEntry& r : suggester.Suggest(word, count)) {
    words.emplace_back(list.Entry(r.entry));
  }
  return words;
}

// The walk shares the rows of a prefix among the entries that start with
// it, so an entry's score must not depend on its neighbours (the cost of a
// g left out depends on the byte after it); copies of an entry and the word
// itself are never offered.
TEST(RankedSuggester, AnswersDoNotDependOnNeighboursOrCopies) {
  const auto score_of_tights = [](const std::vector<std::string>& lines) {
    MainWordList list;
    list.Load(Joined(lines));
    const RankedSuggester suggester(list, {});
    for (const RankedEntry& r : suggester.Suggest("tihs", 10)) {
      if (list.Entry(r.entry) == "tights") return r.score;
    }
    return -1000.0;
  };
  EXPECT_GT(score_of_tights({"tights"}), -1000.0);
  EXPECT_EQ(score_of_tights({"tights"}), score_of_tights({"tig", "tiger", "tights", "tigris"}));

  MainWordList list;
  list.Load(Joined({"dog", "cat", "bat", "cat", "apple", "cart", "bat"}));
  const RankedSuggester suggester(list, {});
  const std::vector<RankedEntry> found = suggester.Suggest("cst", 10);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].entry, 1);  // the first "cat"
  for (const RankedEntry& r : found) EXPECT_TRUE(r.entry != 3 && r.entry != 6);
  for (const RankedEntry& r : suggester.Suggest("cat", 10)) EXPECT_NE(list.Entry(r.entry), "cat");
}

// On the built-in list: slips the error model counts cheap, words found by
// their sound, and the same answers whatever the list's order.
TEST(RankedSuggester, FindsSlipsAndSoundAlikesOnTheBuiltInList) {
  OnFreshThread([] {
    SpellCheck().Init();
    const MainWordList& list = ThreadDicWords();
    const std::span<const std::uint8_t> details =
        FindResource("DIC", 102).first(static_cast<std::size_t>(kDicCapacity));
    const RankedSuggester suggester(list, details);
    const auto offers = [&](std::string_view word, std::string_view wanted, std::size_t count) {
      const std::vector<std::string> words = Words(suggester, list, word, count);
      return std::find(words.begin(), words.end(), wanted) != words.end();
    };
    EXPECT_TRUE(offers("abandonned", "abandoned", 1));
    EXPECT_TRUE(offers("agina", "again", 1));  // a letter moved over two others
    EXPECT_TRUE(offers("fomr", "from", 5));
    EXPECT_TRUE(offers("hten", "then", 3));    // the first two letters swapped
    // Looked up rather than walked: a letter moved among the first ones, and
    // a run of letters written twice over.
    EXPECT_TRUE(offers("tyhe", "they", 3));
    EXPECT_TRUE(offers("kwno", "know", 1));
    EXPECT_TRUE(offers("approproximate", "approximate", 1));
    EXPECT_FALSE(offers("beggining", "begging", 1));  // the run is "in" twice
    // Suffixes put on by the rule where the word takes an exception, after
    // prefixes that make verbs; a verb that only ends like one keeps -ed.
    EXPECT_TRUE(offers("teached", "taught", 1));
    EXPECT_TRUE(offers("runned", "ran", 2));
    EXPECT_TRUE(offers("flied", "flew", 3));
    EXPECT_TRUE(offers("misunderstanded", "misunderstood", 1));
    EXPECT_TRUE(offers("acquited", "acquitted", 1));
    EXPECT_TRUE(offers("lieing", "lying", 1));
    // Found by sound alone, below the words one cheap slip away.
    EXPECT_TRUE(offers("nite", "night", 20));
    EXPECT_TRUE(offers("thorts", "thoughts", 20));

    std::vector<std::string> reversed;
    for (std::int32_t i = kDicCapacity; i-- > 0;) reversed.emplace_back(list.Entry(i));
    MainWordList reversed_list;
    reversed_list.Load(Joined(reversed));
    std::vector<std::uint8_t> reversed_details(details.rbegin(), details.rend());
    const RankedSuggester reversed_suggester(reversed_list, reversed_details);
    for (const char* word :
         {"recieve", "thorts", "acheive", "teh", "xyzzy", "tihs", "tyhe", "suburburban"}) {
      EXPECT_EQ(Words(suggester, list, word), Words(reversed_suggester, reversed_list, word))
          << word;
    }
  });
}

}  // namespace
}  // namespace quenvar
