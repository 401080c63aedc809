#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/text.h"
#include "dictionary/check_word.h"
#include "dictionary/word_list.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;

constexpr Spelling kSpellings[] = {Spelling::kAmerican, Spelling::kBritish,
                                   Spelling::kBritishIze, Spelling::kCanadian,
                                   Spelling::kAustralian};

// The spellings that accept an entry, by their tags' country parts.
std::string HoldersOf(std::string_view entry) {
  const std::int32_t index = ThreadDicWords().BucketFind(entry);
  if (index < 0) return "(no entry)";
  static constexpr const char* kNames[] = {"US", "GB", "GB-ize", "CA", "AU"};
  std::string holders;
  for (std::size_t s = 0; s < std::size(kSpellings); ++s) {
    if (!SpellingHolds(kSpellings[s], index)) continue;
    holders += holders.empty() ? "" : " ";
    holders += kNames[s];
  }
  return holders;
}

TEST(Spellings, TheListsDetailsHoldScowlsSpellings) {
  OnFreshThread([] {
    SpellCheck().Init();
    // Each spelling lacks the entries that neither SCOWL's english and
    // hacker lists nor the spelling's own hold (as lower-case words, where
    // they have one), sizes 60 and below.
    const MainWordList& list = ThreadDicWords();
    std::map<Spelling, int> lacking;
    for (std::int32_t i = 0; i < list.capacity(); ++i) {
      for (Spelling s : kSpellings) lacking[s] += !SpellingHolds(s, i);
      EXPECT_TRUE(SpellingHolds(Spelling::kEnglish, i));
    }
    EXPECT_EQ(lacking, (std::map<Spelling, int>{{Spelling::kAmerican, 2606},
                                                {Spelling::kBritish, 2728},
                                                {Spelling::kBritishIze, 2756},
                                                {Spelling::kCanadian, 2746},
                                                {Spelling::kAustralian, 2738}}));

    const std::map<std::string, std::string> known = {
        {"house", "US GB GB-ize CA AU"},
        {"color", "US"},
        {"colour", "GB GB-ize CA AU"},
        {"organise", "GB AU"},
        {"organize", "US GB-ize CA"},
        {"analyze", "US CA"},
        {"programme", "GB GB-ize"},
        {"encyclopaedia", "GB"},
        {"exorcize", "GB-ize"},
        {"imposter", "CA"},
        {"racquet", "CA AU"},
        {"tyre", "GB GB-ize AU"},
        // The name Grey is in every spelling, the colour only in some.
        {"grey", "GB GB-ize CA AU"},
        {"gray", "US"},
        {"grovelled", "US GB GB-ize CA AU"},  // on the hacker list
    };
    for (const auto& [entry, holders] : known) {
      EXPECT_EQ(HoldersOf(entry), holders) << entry;
    }
  });
}

TEST(Spellings, ParseSpellingKnowsTheTags) {
  EXPECT_EQ(ParseSpelling("en"), Spelling::kEnglish);
  EXPECT_EQ(ParseSpelling("en_US"), Spelling::kAmerican);
  EXPECT_EQ(ParseSpelling("en_GB"), Spelling::kBritish);
  EXPECT_EQ(ParseSpelling("en_GB-ise"), Spelling::kBritish);
  EXPECT_EQ(ParseSpelling("en_GB-ize"), Spelling::kBritishIze);
  EXPECT_EQ(ParseSpelling("en_CA"), Spelling::kCanadian);
  EXPECT_EQ(ParseSpelling("en_AU"), Spelling::kAustralian);
  for (const char* other : {"", "EN_US", "en-US", "en_US.UTF-8", "en_NZ", "fr"}) {
    EXPECT_EQ(ParseSpelling(other), std::nullopt) << other;
  }
}

TEST(Spellings, CheckWordFollowsTheSpellingAndTheCustomList) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.Init();
    const auto check = [&](const std::u16string& word, Spelling s) {
      return speller.CheckWord(word, s) == kTrue;
    };
    for (const std::u16string word : {u"colour", u"Color", u"COLOUR'S", u"(color)"}) {
      EXPECT_TRUE(check(word, Spelling::kEnglish)) << ToUtf8(word);
    }
    EXPECT_FALSE(check(u"colour", Spelling::kAmerican));
    EXPECT_TRUE(check(u"color", Spelling::kAmerican));
    EXPECT_FALSE(check(u"Colour's", Spelling::kAmerican));
    EXPECT_TRUE(check(u"colour's", Spelling::kBritish));
    EXPECT_FALSE(check(u"(color)", Spelling::kBritish));
    EXPECT_FALSE(check(u"organize", Spelling::kBritish));
    EXPECT_TRUE(check(u"organize", Spelling::kBritishIze));
    EXPECT_FALSE(check(u"organise", Spelling::kBritishIze));
    for (Spelling s : kSpellings) {
      EXPECT_TRUE(check(u"house", s));
      EXPECT_TRUE(check(u"1984", s));
    }

    // Custom words count under every spelling, unless left out.
    speller.AddToCustom(u"Colour");
    EXPECT_TRUE(check(u"colour", Spelling::kAmerican));
    EXPECT_EQ(speller.CheckWord(u"colour", Spelling::kAmerican, kFalse), kFalse);
  });
}

TEST(Spellings, RankedCorrectionsComeFromTheSpelling) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.Init();
    const auto first = [&](const std::u16string& word, Spelling s) {
      const WordArray words = speller.GetRankedSuggestions(word, s);
      return words && !words->empty() ? words->front() : u"(none)";
    };
    EXPECT_EQ(first(u"colour", Spelling::kAmerican), u"color");
    EXPECT_EQ(first(u"Colours", Spelling::kAmerican), u"Colors");
    EXPECT_EQ(first(u"color", Spelling::kBritish), u"colour");
    EXPECT_EQ(first(u"organize", Spelling::kBritish), u"organise");
    EXPECT_EQ(first(u"organise", Spelling::kBritishIze), u"organize");
    EXPECT_EQ(first(u"theater", Spelling::kCanadian), u"theatre");
    EXPECT_EQ(first(u"recieve", Spelling::kAustralian), u"receive");

    // Every correction offered is a word of the spelling; those offered
    // under every spelling at once that are its words are among them, and
    // as many are offered when there are as many candidates (moustashe has
    // five in all, some of them of one spelling).
    for (const std::u16string word : {u"colr", u"favorite", u"analyse", u"travelled",
                                      u"centr", u"moustashe", u"defense"}) {
      const WordArray merged = speller.GetRankedSuggestions(word, 8);
      ASSERT_TRUE(merged) << ToUtf8(word);
      for (Spelling s : kSpellings) {
        const WordArray words = speller.GetRankedSuggestions(word, s, 8);
        ASSERT_TRUE(words) << ToUtf8(word);
        if (merged->size() == 8) {
          EXPECT_EQ(words->size(), 8u) << ToUtf8(word);
        }
        for (const std::u16string& w : *words) {
          EXPECT_EQ(speller.CheckWord(w, s, kFalse), kTrue) << ToUtf8(word) << ": " << ToUtf8(w);
        }
        for (const std::u16string& w : *merged) {
          if (speller.CheckWord(w, s, kFalse) != kTrue) continue;
          EXPECT_NE(std::find(words->begin(), words->end(), w), words->end())
              << ToUtf8(word) << ": " << ToUtf8(w);
        }
      }
    }
  });
}

}  // namespace
}  // namespace quenvar
