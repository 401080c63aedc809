#include "suggest/suggestions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/text.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "tests/literal_similarity.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::LiteralGetSuggestions;
using testing::OnFreshThread;
using testing::ReadBytes;
using testing::TempDir;
using testing::TestDataFile;
using testing::WriteBytes;

using Words = std::vector<std::u16string>;

// Loads the given Windows-1252 lines, joined with CR LF, as this thread's
// main word list.
void LoadLines(const TempDir& dir, const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    if (!content.empty()) content += "\r\n";
    content += line;
  }
  const std::string path = dir.File("words.txt");
  WriteBytes(path, content);
  LoadWordList(path, {});
}

void AddCustom(const Words& words) {
  for (const std::u16string& word : words) AddToCustom(word);
}

const std::vector<std::string> kHeWords = {
    "he", "hel", "held", "hell", "hello", "helot", "help", "the", "thee"};

// The bound never falls below the bytes a word and an entry share, letter
// case ignored, even where the entry's count stops at 15.
TEST(PackedGroupCounts, BoundCoversTheSharedBytes) {
  auto lower = [](char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  };
  auto shared = [&](std::string a, std::string b) {
    std::uint32_t common = 0;
    std::transform(a.begin(), a.end(), a.begin(), lower);
    std::transform(b.begin(), b.end(), b.begin(), lower);
    for (char c : a) {
      const std::size_t at = b.find(c);
      if (at == std::string::npos) continue;
      ++common;
      b.erase(at, 1);
    }
    return common;
  };
  const std::string words[] = {
      "house", "HOUSE", "mouse", "xyzzy", "caf\xE9", "cafe", "", "eeee",
      std::string(14, 'e') + std::string(14, 'z') + std::string(14, '\xE9'),
      std::string(20, 'e'), std::string(30, 'E'), std::string(300, 'b')};
  for (const std::string& a : words) {
    const PackedGroupCounts word = PackedGroupCounts::Of(a);
    if (!word.IsExact()) continue;
    for (const std::string& b : words) {
      EXPECT_GE(CommonBytesBound(word, PackedGroupCounts::Of(b)), shared(a, b))
          << a << " / " << b;
    }
  }
  EXPECT_TRUE(PackedGroupCounts::Of(std::string(14, 'e')).IsExact());
  EXPECT_FALSE(PackedGroupCounts::Of(std::string(15, 'E')).IsExact());
  EXPECT_FALSE(PackedGroupCounts::Of(std::string(99, '\xE9')).IsExact());
  EXPECT_TRUE(PackedGroupCounts::Of("caf\xE9").HasNonAscii());
  EXPECT_FALSE(PackedGroupCounts::Of("cafe's-1").HasNonAscii());
}

TEST(GetSuggestions, MainListWordsOfTheSameKeyAboveTheThreshold) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, kHeWords);
    const WordArray expected = Words{u"hel", u"hello", u"helot"};
    EXPECT_EQ(GetSuggestions(u"helo", true), expected);
    EXPECT_EQ(GetSuggestions(u"HELO", true), expected);     // lower-cased
    EXPECT_EQ(GetSuggestions(u"(Helo).", true), expected);  // cleaned
    // The word itself is among them; helot scores exactly 0.8 here.
    EXPECT_EQ(GetSuggestions(u"hello", false), (Words{u"hell", u"hello"}));
    // A misspelling in the first two letters never finds the word.
    EXPECT_EQ(GetSuggestions(u"teh", true), std::nullopt);
    EXPECT_EQ(GetSuggestions(u"tehe", true), std::nullopt);
    EXPECT_EQ(GetSuggestions(u"thhe", true), (Words{u"the"}));
  });
}

TEST(GetSuggestions, NothingQualifyingIsAnArrayWithoutStorage) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, kHeWords);
    AddCustom({u"ab", u"1999", u"hx"});
    for (const char16_t* word :
         {u"", u"h", u"a", u"1999", u"3.5", u"x.", u"wrod", u"hxyz"}) {
      const WordArray found = GetSuggestions(word, true);
      EXPECT_FALSE(found.has_value()) << ToUtf8(word);
    }
    // Exactly 0.8 is not enough.
    AddCustom({u"hallo"});
    EXPECT_EQ(GetSuggestions(u"hello", false).value().size(), 2u);
    EXPECT_EQ(GetSuggestions(u"hello", true).value().size(), 2u);
  });
}

TEST(GetSuggestions, CustomWordsFollowAsStoredWithDuplicates) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, kHeWords);
    AddCustom({u"Hello", u"zzz", u"helo", u"helo", u"hello"});
    EXPECT_EQ(GetSuggestions(u"hello", true),
              (Words{u"hell", u"hello",  // main list
                     u"Hello", u"helo", u"helo", u"hello"}));
    EXPECT_EQ(GetSuggestions(u"hello", false), (Words{u"hell", u"hello"}));
    // With nothing from the main list, exactly the custom suggestions.
    EXPECT_EQ(GetSuggestions(u"zzzz", true), (Words{u"zzz"}));
    // Capitals match only through the upper-case test: Hello scores 0.667
    // against helo.
    EXPECT_EQ(GetCustomSuggestions(u"helo"),
              (Words{u"helo", u"helo", u"hello"}));
    EXPECT_EQ(GetCustomSuggestions(u"qq"), std::nullopt);
  });
}

TEST(GetSuggestions, BeforeAnyLoadOnlyTheCustomListContributes) {
  OnFreshThread([] {
    EXPECT_EQ(GetSuggestions(u"hous", true), std::nullopt);
    AddCustom({u"house"});
    EXPECT_EQ(GetSuggestions(u"hous", true), (Words{u"house"}));
    EXPECT_EQ(GetSuggestions(u"hous", false), std::nullopt);
  });
}

TEST(GetSuggestions, KeyWithoutWordsScoresTheFirstEntryOnly) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, {"1-dodecanol", "bf", "bfdodecanols"});
    // "bf" is carried, so this range is "bf" and "bfdodecanols".
    EXPECT_EQ(GetSuggestions(u"bfdodecanol", false), (Words{u"bfdodecanols"}));
  });
  OnFreshThread([&] {
    LoadLines(dir, {"1-dodecanol", "zz"});
    EXPECT_EQ(GetSuggestions(u"bfdodecanol", false), (Words{u"1-dodecanol"}));
    EXPECT_EQ(GetSuggestions(u"1dodecanol", false), (Words{u"1-dodecanol"}));
    EXPECT_EQ(GetSuggestions(u"bfxyz", false), std::nullopt);
  });
}

TEST(GetSuggestions, WordsOfOtherLengthsEqualUpperCasedAreNotSkipped) {
  TempDir dir;
  OnFreshThread([&] {
    // ß upper-cases to SS, and the ligature ffi to FFI: these pairs score
    // 1.0 although their lengths alone would cap the score at 0.8.
    LoadLines(dir, {"ss\xDF\xDF", "sss"});
    AddCustom({u"\u00DF\u00DF\u00DF", u"\u00DF\u00DF", u"\uFB03", u"\u00DF"});
    EXPECT_EQ(GetSuggestions(u"ssssss", true),
              (Words{u"ss\u00DF\u00DF", u"\u00DF\u00DF\u00DF"}));
    EXPECT_EQ(GetSuggestions(u"ffi", true), (Words{u"\uFB03"}));
    EXPECT_EQ(GetSuggestions(u"ss", true), (Words{u"\u00DF"}));
  });
}

TEST(GetSuggestions, ThroughSpellCheckAnyNonZeroCountsAsTrue) {
  OnFreshThread([] {
    SpellCheck speller;
    speller.AddToCustom(u"house");
    EXPECT_EQ(speller.GetSuggestions(u"hous"), (Words{u"house"}));
    EXPECT_EQ(speller.GetSuggestions(u"hous", 5), (Words{u"house"}));
    EXPECT_EQ(speller.GetSuggestions(u"hous", kFalse), std::nullopt);
  });
}

TEST(GetSuggestions, LongWordWithLongCustomListFinishes) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> letter(0, 25);
  std::u16string word;
  for (int i = 0; i < 100000; ++i) {
    word.push_back(static_cast<char16_t>(u'a' + letter(random)));
  }
  const std::u16string upper = ToUpper(word);
  TempDir dir;
  OnFreshThread([&] {
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
      lines.push_back(
          ToSingleByte(word.substr(0, static_cast<std::size_t>(2 + i % 12))));
    }
    LoadLines(dir, lines);
    for (int i = 0; i < 20000; ++i) {
      const auto length =
          static_cast<std::size_t>(2 + i % 40 + (i % 1000 == 0 ? 5000 : 0));
      std::u16string custom = word.substr(static_cast<std::size_t>(i), length);
      if (i % 3 == 0) custom += u"\u00E9\u00DF";
      AddToCustom(custom);
    }
    AddToCustom(upper);
    EXPECT_EQ(GetSuggestions(word, true), (Words{upper}));
    EXPECT_EQ(GetSuggestions(word + u"'s", true), (Words{upper}));
  });
}

// Random grouped word lists, custom lists and queries over few letters, so
// that many candidates sit near the threshold.
TEST(GetSuggestions, AgreesWithThePlainDefinition) {
  std::mt19937 random(99);
  auto pick = [&](int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
  };
  auto make = [&](const char16_t* letters, int count, int min, int max) {
    std::u16string word(static_cast<std::size_t>(min + pick(max - min + 1)),
                        u'\0');
    for (char16_t& c : word) c = letters[pick(count)];
    return word;
  };
  TempDir dir;
  for (int round = 0; round < 40; ++round) {
    OnFreshThread([&] {
      std::vector<std::string> lines;
      for (int i = 0; i < 400; ++i) {
        lines.push_back(ToSingleByte(make(u"abcdeBE\u00DF", 8, 1, 9)));
      }
      std::sort(lines.begin(), lines.end());
      LoadLines(dir, lines);
      for (int i = 0; i < 30; ++i) {
        AddToCustom(make(u"abcdABS\u00DF\u00E9", 9, 0, 9));
      }
      for (int i = 0; i < 200; ++i) {
        const std::u16string query = make(u"abcdeAS.'-1", 11, 0, 9);
        const bool custom = i % 4 != 0;
        ASSERT_EQ(GetSuggestions(query, custom),
                  LiteralGetSuggestions(query, custom))
            << ToUtf8(query);
      }
    });
  }
}

// The built-in list against every fifth misspelling of a list of real ones.
TEST(GetSuggestions, AgreesWithThePlainDefinitionOnCommonMisspellings) {
  std::istringstream lines(ReadBytes(TestDataFile("misspellings.tab")));
  std::vector<std::u16string> misspellings;
  std::string line;
  for (int n = 0; std::getline(lines, line); ++n) {
    if (n % 5 != 0) continue;
    misspellings.push_back(FromUtf8(line.substr(0, line.find('\t'))));
  }
  OnFreshThread([&] {
    SpellCheck().Init();
    AddToCustom(u"Quenvar");
    for (const std::u16string& misspelling : misspellings) {
      ASSERT_EQ(GetSuggestions(misspelling, true),
                LiteralGetSuggestions(misspelling, true))
          << ToUtf8(misspelling);
    }
  });
}

}  // namespace
}  // namespace quenvar
