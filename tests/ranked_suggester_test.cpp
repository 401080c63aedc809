#include "suggest/ranked_suggester.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "suggest/edit_pattern.h"
#include "suggest/sorted_entries.h"
#include "suggest/sound_key.h"
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

// The walk passes over a branch by its looked-up end: the same position a
// scan of the shared bytes finds, with duplicates, empty entries and
// entries that are prefixes of others about.
TEST(SortedEntries, BranchEndsAreThoseAScanFinds) {
  MainWordList list;
  list.Load(Joined({"tie", "tied", "ties", "tie", "tier", "tiers", "to", "ti", "", "toe", "a",
                    "ab", "abc", "abd", "ab", "b", "tiers", "tz"}));
  const SortedEntries sorted{WordListEntries(list)};
  for (std::size_t b = 0; b < 256; ++b) {
    const std::size_t end = sorted.ByteStart(b + 1);
    for (std::size_t q = sorted.ByteStart(b) + 1; q < end; ++q) {
      if (sorted.IsDuplicate(q)) continue;
      EXPECT_EQ(sorted.SkipBranch(q, end), sorted.SkipPrefix(q, sorted.SharedBytes(q) + 1, end))
          << sorted.Entry(q);
    }
  }
}

// Every entry of the built-in list is found at its first copy, however its
// rest was prepared, and bytes one longer are found only when they are an
// entry too: the filter that ends most lookups loses none.
TEST(SortedEntries, LooksUpEveryEntryOfTheBuiltInList) {
  OnFreshThread([] {
    SpellCheck().Init();
    const SortedEntries sorted{WordListEntries(ThreadDicWords())};
    for (std::size_t q = sorted.ByteStart(0); q < sorted.size(); ++q) {
      if (sorted.IsDuplicate(q)) continue;
      const std::string_view e = sorted.Entry(q);
      const auto head = static_cast<std::uint8_t>(e[0]);
      ASSERT_EQ(sorted.Find(e), q) << e;
      ASSERT_EQ(sorted.Find(head, SortedEntries::PrepareRest(e.substr(1))), q) << e;
      const std::string longer = std::string(e) + "q";
      const std::size_t found = sorted.Find(longer);
      if (found != SortedEntries::kNotFound) {
        ASSERT_EQ(sorted.Entry(found), longer);
      }
    }
  });
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

// The slips people make most often cost a unit, a letter moved over two
// others an edit, anything else two units a letter.
TEST(EditPattern, WeightedCostChargesEachSlipItsPrice) {
  const struct {
    const char* word;
    const char* entry;
    int cost;
  } cases[] = {
      {"recieve", "receive", 1},        // two neighbours swapped
      {"definately", "definitely", 1},  // a vowel for a vowel
      {"cafe", "caf\xE9", 1},           // an accent left out
      {"begining", "beginning", 1},     // a doubled letter written once
      {"untill", "until", 1},           // a single letter doubled
      {"dont", "don't", 1},             // an apostrophe left out
      {"wich", "which", 1},             // a silent h left out
      {"nite", "night", 3},             // the g of gh, its h, a final e
      {"fomr", "from", 2},              // a letter moved over two others
      {"agina", "again", 2},
      {"bcd", "fgh", 6},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EditPattern(c.word).WeightedCost(c.entry, 100), c.cost) << c.word;
  }
}

// The restricted edit distance, one cell a pair of prefixes.
std::size_t PlainEditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) {
    for (std::size_t j = 0; j <= b.size(); ++j) {
      if (i == 0 || j == 0) {
        d[i][j] = i + j;
        continue;
      }
      d[i][j] = std::min(
          {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// From shortest to longest bytes of a few letters, so that every kind of
// slip turns up between two of them, with a byte that is no letter and an
// accented letter.
std::string SlipProneBytes(std::mt19937& random, std::size_t shortest, std::size_t longest) {
  const std::string_view letters = "aeghist'\xE9";
  std::string bytes(shortest + random() % (longest - shortest + 1), ' ');
  for (char& c : bytes) c = letters[random() % letters.size()];
  return bytes;
}

// The rows the walk computes against the weighted cost, their reference:
// equal up to the walk's bound for every prefix of the entry that moves no
// letter (but a prefix ending in the g of gh, whose row takes the g as left
// out before the h). Below its answer, the weighted cost stops early with
// kInfinity. NearCost answers as it does, and the edit distance is a
// lower bound of it.
TEST(EditPattern, RowsAgreeWithTheWeightedCostUpToTheWalksBound) {
  std::mt19937 random(20261209);
  const auto make = [&](std::size_t shortest, std::size_t longest) {
    return SlipProneBytes(random, shortest, longest);
  };
  for (int n = 0; n < 20000; ++n) {
    const std::string word = make(1, 8);
    const std::string entry = make(0, 10);
    const EditPattern pattern(word);
    // Beside entries of other lengths, and none.
    const std::string other = make(0, 10);
    const auto distances = pattern.EditDistances({entry, other, make(0, 10), ""});
    const std::size_t distance = distances[0];
    ASSERT_EQ(distance, PlainEditDistance(entry, word)) << word << " / " << entry;
    ASSERT_EQ(distances[1], PlainEditDistance(other, word)) << word << " / " << other;
    ASSERT_EQ(distances[3], word.size());
    for (int limit = 0; limit <= kNearCost; ++limit) {
      ASSERT_EQ(pattern.NearCost(entry, limit), pattern.WeightedCost(entry, limit))
          << word << " / " << entry << " within " << limit;
    }
    ASSERT_LE(distance * kCheap, static_cast<std::size_t>(pattern.WeightedCost(entry, 1000)));
    std::vector<EditPattern::Levels> rows(entry.size() + 1);
    pattern.FirstRow(rows[0]);
    for (std::size_t d = 1; d <= entry.size(); ++d) pattern.NextRow(entry, d, rows.data());
    for (std::size_t d = 0; d <= entry.size(); ++d) {
      const std::string_view prefix = std::string_view(entry).substr(0, d);
      if ((d < entry.size() && prefix.ends_with('g') && entry[d] == 'h') ||
          pattern.MayMoveLetter(prefix)) {
        continue;
      }
      const int cost = pattern.WeightedCost(prefix, 1000);
      ASSERT_EQ(pattern.Final(rows[d]), std::min(cost, EditPattern::kLevels))
          << word << " / " << prefix;
      ASSERT_EQ(pattern.WeightedCost(prefix, cost), cost);
      if (cost > 0) {
        ASSERT_EQ(pattern.WeightedCost(prefix, cost - 1), EditPattern::kInfinity);
      }
    }
  }
}

// Words short enough to be worked out a row at a time against the table,
// a cell at a time, within every limit the ranking asks, up to the longest
// entries: both stop early only where the cost is above the limit.
TEST(EditPattern, RowAtATimeCostsAgreeWithTheTable) {
  std::mt19937 random(20261210);
  for (int n = 0; n < 20000; ++n) {
    const std::string word = SlipProneBytes(random, 1, 16);
    const std::string entry = n % 100 == 0
                                  ? SlipProneBytes(random, kMaxRankedLength, kMaxRankedLength)
                                  : SlipProneBytes(random, 0, 20);
    const EditPattern pattern(word);
    // No limit stops the table early.
    const int cost = pattern.TableCost(entry, EditPattern::kInfinity);
    for (const int limit : {0, 1, 2, 3, 5, 8, kSoundCost}) {
      const int within = cost <= limit ? cost : EditPattern::kInfinity;
      ASSERT_EQ(pattern.WeightedCost(entry, limit), within)
          << word << " / " << entry << " within " << limit;
      ASSERT_EQ(pattern.TableCost(entry, limit), within) << word << " / " << entry;
    }
  }
}

// One word a rule.
TEST(SoundKey, EachRuleGivesItsSymbols) {
  const std::pair<const char*, std::string_view> cases[] = {
      {"knot", "nt"}, {"gnaw", "n"}, {"wrap", "rp"}, {"psalm", "slm"},  // a silent first letter
      {"whale", "wl"},                  // wh as w
      {"xenon", "sn"},                  // a first x as s; no symbol twice running
      {"apple", "Apl"},                 // a first vowel; a letter doubled sounds once
      {"lamb", "lm"},                   // a final mb
      {"church", "xrx"}, {"school", "skl"}, {"special", "spxl"},  // ch, sch, cia
      {"city", "st"}, {"cat", "kt"}, {"accept", "Akspt"},         // soft c; cc twice
      {"edge", "Aj"}, {"dog", "tk"},                               // dge; d and g
      {"ghost", "kst"}, {"night", "nt"},                           // gh
      {"sign", "sn"}, {"signed", "snt"}, {"gem", "jm"},            // gn, soft g
      {"ahead", "Aht"}, {"oh", "A"},                               // h
      {"back", "pk"}, {"phone", "fn"}, {"queen", "kn"},            // ck, ph, q
      {"ship", "xp"}, {"vision", "fxn"}, {"nation", "nxn"},        // sh, sio, tio
      {"think", "0nk"}, {"watch", "wx"},                           // th, tch
      {"yes", "ys"}, {"jolly", "jl"},                              // y before a vowel only
      {"fix", "fks"}, {"zoo", "s"}, {"caf\xE9", "kf"}, {"don't", "tnt"},
  };
  for (const auto& [word, key] : cases) EXPECT_EQ(KeyOf(word).view(), key) << word;
}

// A word outside the list gets the score an entry found by the walk would
// get, and is reached within two edits whatever its first letter, within
// six when it sounds as the word does.
TEST(RankedSuggester, ScoresOutsidersWithinTheirReach) {
  MainWordList list;
  list.Load(Joined({"cat", "bat"}));
  const RankedSuggester suggester(list, {});
  const std::vector<RankedEntry> found = suggester.Suggest("cet", 10);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(list.Entry(found[0].entry), "cat");
  EXPECT_EQ(suggester.ScoreOutsiders("cet").Score("cat", 7), found[0].score);
  const OutsiderScorer outsiders = suggester.ScoreOutsiders("abcdef");
  EXPECT_TRUE(outsiders.Score("xbcdey", 2));   // two edits
  EXPECT_FALSE(outsiders.Score("xbcxey", 2));  // three
  EXPECT_TRUE(suggester.ScoreOutsiders("nolij").Score("knowledge", 2));  // the same key
  EXPECT_FALSE(suggester.ScoreOutsiders("nolij").Score("nolij", 2));
}

}  // namespace
}  // namespace quenvar
