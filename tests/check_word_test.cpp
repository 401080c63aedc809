#include <gtest/gtest.h>

#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "tests/literal_check_word.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::LiteralBucketContains;
using testing::OnFreshThread;
using testing::TempDir;
using testing::WriteBytes;

// Loads a word list made of the given CR LF separated lines into this
// thread's main list.
void LoadLines(const TempDir& dir, const std::string& content) {
  const std::string path = dir.File("words.txt");
  WriteBytes(path, content);
  LoadWordList(path, {});
}

TEST(CleanWord, CutsPunctuationPossessivesAndShortRemains) {
  struct Case {
    const char16_t* word;
    const char16_t* clean;
  } cases[] = {
      {u"house", u"house"},          // plain: unchanged
      {u"snake_case", u"snake_case"},  // underscore is plain
      {u"(house)", u"house"},
      {u"house.", u"house"},
      {u"house's", u"house"},
      {u"houses'", u"houses"},
      {u"well-", u"well"},
      {u"well-known", u"well-known"},
      {u"end.start", u"end"},        // cut at the first stop character
      {u"a.", u""},                  // fewer than two letters
      {u"1st", u"1st"},              // leading digits remain
      {u"-word", u"word"},           // hyphen before any letter is skipped
      {u"'tis", u"tis"},             // so is a leading apostrophe
      {u"rock'n'roll", u"rock'n'roll"},
      {u"it's's", u"it's"},          // one removal only
      {u"42", u""},
      {u"x1y", u"x1y"},
      {u"\u00E9t\u00E9", u"\u00E9t\u00E9"},  // Windows-1252's Latin letters count
      {u"(na\u00EFve)", u"na\u00EFve"},
      {u"\u0152uvre's", u"\u0152uvre"},
      {u"2\u00D73", u""},             // the multiplication sign is no letter
      {u"5\u00B5m", u""},             // nor is the micro sign
      {u"w\u4E00rd", u""},           // cut at the substitute, then too short
      {u"", u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanWord(c.word), c.clean) << ToUtf8(c.word);
  }
}

TEST(IsPlainWord, AcceptsTheRange64To123Only) {
  EXPECT_TRUE(IsPlainWord(""));
  EXPECT_TRUE(IsPlainWord("@AZ[\\]^_`az{"));
  EXPECT_FALSE(IsPlainWord("?"));   // 63
  EXPECT_FALSE(IsPlainWord("a|"));  // 124
  EXPECT_FALSE(IsPlainWord("\xE9"));
}

TEST(CheckWord, BeforeAnyLoadOnlyTrivialWordsPass) {
  OnFreshThread([] {
    EXPECT_FALSE(CheckWord(u"house", true));
    EXPECT_TRUE(CheckWord(u"a", true));
    EXPECT_TRUE(CheckWord(u"", true));
    EXPECT_TRUE(CheckWord(u"1999", true));
    EXPECT_TRUE(CheckWord(u"3.25", false));
    EXPECT_TRUE(CheckWord(u"x.", false));  // cleans to fewer than 2 letters
  });
}

TEST(CheckWord, FindsWordsAsTypedAndAfterCleaning) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "a\r\nhouse\r\nhouses\r\nknown\r\nwell-known");
    EXPECT_TRUE(CheckWord(u"house", false));
    EXPECT_TRUE(CheckWord(u"HOUSE", false));
    EXPECT_TRUE(CheckWord(u"House's", false));
    EXPECT_TRUE(CheckWord(u"(houses)", false));
    EXPECT_TRUE(CheckWord(u"house.", false));
    EXPECT_TRUE(CheckWord(u"well-known", false));
    EXPECT_FALSE(CheckWord(u"hous", false));
    EXPECT_FALSE(CheckWord(u"housex", false));
    // Characters outside Windows-1252 never match an entry, even though
    // their single-byte form is a substitute byte.
    EXPECT_FALSE(CheckWord(u"hous\u4E00", false));
  });
}

// An accented word is checked whole, and one the list holds only without
// its accents counts as that entry.
TEST(CheckWord, AccentedWordsAreCheckedWholeAndMayCarryAccentsTheEntryLacks) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "caf\xE9\r\nfacade\r\nnaive\r\nresume\r\n");
    for (const char16_t* word : {u"caf\u00E9", u"Caf\u00C9", u"na\u00EFve", u"NA\u00CFVE",
                                 u"r\u00E9sum\u00E9", u"fa\u00E7ade's", u"(r\u00E9sum\u00E9)"}) {
      EXPECT_TRUE(CheckWord(word, true)) << ToUtf8(word);
    }
    for (const char16_t* word : {u"r\u00E9summe", u"na\u00EFvve", u"x\u00E9qzt",
                                 u"caf\u00E8", u"cafe", u"na\u00EFve\u00E9"}) {
      EXPECT_FALSE(CheckWord(word, true)) << ToUtf8(word);
    }
  });
}

TEST(CheckWord, BucketBoundaries) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "aa\r\nab\r\naback\r\nabbey\r\nabc\r\nba\r\nbz\r\nzz");
    const MainWordList& list = ThreadDicWords();
    EXPECT_EQ(list.PrefixStart(PrefixKey("ab")), 1);
    EXPECT_EQ(list.PrefixEnd(PrefixKey("ab")), 4);
    EXPECT_EQ(list.PrefixEnd(0), -1);
    EXPECT_TRUE(CheckWord(u"ab", false));   // first of its bucket
    EXPECT_TRUE(CheckWord(u"abc", false));  // last of its bucket
    EXPECT_TRUE(CheckWord(u"aa", false));   // very first entry
    EXPECT_TRUE(CheckWord(u"zz", false));   // very last entry
    // A key no word carries compares against entry 0 only.
    EXPECT_EQ(list.PrefixStart(PrefixKey("qq")), 0);
    EXPECT_EQ(list.PrefixEnd(PrefixKey("qq")), 0);
    EXPECT_FALSE(CheckWord(u"qq", false));
  });
}

TEST(CheckWord, UngroupedFileIndexesOnlyTheLastRunOfAKey) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "apple\r\nbanana\r\napricot\r\n");
    EXPECT_FALSE(CheckWord(u"apple", false));
    EXPECT_TRUE(CheckWord(u"apricot", false));
    EXPECT_TRUE(CheckWord(u"banana", false));
  });
}

TEST(CheckWord, ReloadKeepsEntriesAndKeysTheNewFileLacks) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "alpha\r\nbeta\r\ngamma");
    LoadLines(dir, "delta");
    const MainWordList& list = ThreadDicWords();
    EXPECT_EQ(list.Entry(0), "delta");
    EXPECT_EQ(list.Entry(1), "beta");
    EXPECT_EQ(list.Entry(2), "gamma");
    // beta's key still points at index 1 from the first load.
    EXPECT_TRUE(CheckWord(u"beta", false));
    // alpha's key was left at index 0, which now holds delta.
    EXPECT_FALSE(CheckWord(u"alpha", false));
  });
}

TEST(CheckWord, CustomListIsSearchedWithTheUncleanedWord) {
  OnFreshThread([] {
    AddToCustom(u"Quenvar");
    EXPECT_TRUE(CheckWord(u"quenvar", true));
    EXPECT_TRUE(CheckWord(u"QUENVAR", true));
    EXPECT_FALSE(CheckWord(u"quenvar", false));
    // Only cleaning would find it, and the custom list is not cleaned.
    EXPECT_FALSE(CheckWord(u"quenvar's", true));
  });
}

// The lookup answers as a scan of the key's whole range would, whatever the
// loads left behind: ungrouped keys, duplicates, entries and ranges kept from
// an earlier load, and the tables of long ranges built before a reload.
TEST(LoadWordList, LookupAgreesWithAScanOfTheKeysRange) {
  TempDir dir;
  OnFreshThread([&] {
    const MainWordList& list = ThreadDicWords();
    const auto numbered = [](const std::string& stem, int count) {
      std::string lines;
      for (int i = 0; i < count; ++i) lines += stem + std::to_string(i) + "\r\n";
      return lines;
    };
    const std::string long_ranges = "apple\r\n" + numbered("apa", 20) + "zz";
    const std::string other_long_ranges = numbered("apb", 12) + "apple\r\napb3";
    const std::string probes[] = {"apple", "apricot", "banana", "band", "cherry", "chert",
                                  "date",  "zz",      "ap",     "apa3", "apa19",  "apb3"};
    for (const std::string& content :
         {std::string("apple\r\nbanana\r\napricot\r\nband\r\nbanana\r\ncherry"),
          std::string("chert\r\nchert\r\ndate"), std::string("apple\r\napple\r\nzz\r\nap"),
          long_ranges, other_long_ranges}) {
      LoadLines(dir, content);
      for (const std::string& probe : probes) {
        EXPECT_EQ(list.BucketContains(probe), LiteralBucketContains(probe))
            << probe << " after loading " << content;
      }
    }
  });
}

TEST(LoadWordList, LineEndsShortLinesAndOddBytes) {
  TempDir dir;
  OnFreshThread([&] {
    const char content[] = "x\r\nab\ncd\ref\r\n\r\ng\0h\r\nlast";
    LoadLines(dir, std::string(content, sizeof content - 1));
    const MainWordList& list = ThreadDicWords();
    EXPECT_EQ(list.Entry(0), "ab");
    EXPECT_EQ(list.Entry(1), "cd");
    EXPECT_EQ(list.Entry(2), "ef");
    EXPECT_EQ(list.Entry(3), std::string("g\0h", 3));
    EXPECT_EQ(list.Entry(4), "last");
    EXPECT_EQ(list.Entry(5), "");
    EXPECT_TRUE(CheckWord(std::u16string(u"G\0H", 3), false));
  });
}

TEST(LoadWordList, NeverStoresPastTheCapacity) {
  TempDir dir;
  OnFreshThread([&] {
    std::string content;
    for (int i = 0; i < kDicCapacity + 10; ++i) {
      content.append("w").append(std::to_string(100000000 + i)).append("\r\n");
    }
    LoadLines(dir, content);
    const MainWordList& list = ThreadDicWords();
    EXPECT_EQ(list.Entry(kDicCapacity - 1),
              std::string("w").append(
                  std::to_string(100000000 + kDicCapacity - 1)));
    EXPECT_EQ(list.PrefixEnd(PrefixKey("w1")), kDicCapacity - 1);
  });
}

TEST(LoadWordList, FailuresNameTheFileAndChangeNothing) {
  TempDir dir;
  OnFreshThread([&] {
    LoadLines(dir, "house");
    for (const std::string& path : {dir.File("missing.txt"), dir.File("")}) {
      try {
        LoadWordList(path, {});
        ADD_FAILURE() << "loaded " << path;
      } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
      }
    }
    EXPECT_TRUE(CheckWord(u"house", false));
  });
}

}  // namespace
}  // namespace quenvar
