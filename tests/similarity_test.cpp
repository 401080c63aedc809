#include "suggest/similarity.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <unicode/uloc.h>

#include <random>
#include <string>

#include <quenvarspell/spell_check.h>

#include "base/text.h"
#include "tests/literal_similarity.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::LiteralCountMatching;
using testing::LiteralSimilarity;
using testing::OnFreshThread;

// CountMatching over the whole of two words, through the working arrays.
std::int32_t CountWhole(std::u16string_view a, std::u16string_view b) {
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  arrays.first = ToSingleByte(a);
  arrays.second = ToSingleByte(b);
  const std::int32_t count =
      CountMatching(1, static_cast<std::int32_t>(a.size()), 1,
                    static_cast<std::int32_t>(b.size()));
  arrays.first.clear();
  arrays.second.clear();
  return count;
}

TEST(Similarity, WorkedExamplesHoldToTheLastBit) {
  struct Case {
    const char16_t* first;
    const char16_t* second;
    std::int32_t matching;
    double score;
  } cases[] = {
      {u"hello", u"hallo", 4, 0.8},
      {u"receive", u"recieve", 6, 12.0 / 14},
      {u"spelling", u"speling", 7, 14.0 / 15},
      {u"abb", u"abab", 3, 6.0 / 7},  // the first "ab" of "abab" is taken
      {u"aba", u"babba", 3, 0.75},
      {u"babba", u"aba", 2, 0.5},    // not symmetric
      {u"Hello", u"hellp", 3, 0.6},  // H and h differ once case matters
      {u"Hello", u"HELLO", 0, 1.0},  // equal upper-cased
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.first) + " / " + ToUtf8(c.second));
    EXPECT_EQ(Similarity(c.first, c.second), c.score);
    if (c.score < 1.0) {
      EXPECT_EQ(CountWhole(c.first, c.second), c.matching);
    }
  }
  // The double nearest 0.8 is not above it.
  EXPECT_FALSE(Similarity(u"hello", u"hallo") > 0.8);
  EXPECT_TRUE(Similarity(u"receive", u"recieve") > 0.8);
}

TEST(Similarity, EmptyWordsAndCaseMapping) {
  EXPECT_EQ(Similarity(u"", u""), 1.0);
  EXPECT_EQ(Similarity(u"", u"a"), 0.0);
  EXPECT_EQ(Similarity(u"abc", u""), 0.0);
  EXPECT_EQ(Similarity(u"abc", u"xyz"), 0.0);
  // The upper-case test uses the full mapping, which may change lengths.
  EXPECT_EQ(Similarity(u"Stra\u00DFe", u"STRASSE"), 1.0);
  EXPECT_EQ(Similarity(u"\uFB03", u"ffi"), 1.0);  // the ligature ffi
  // Matching is on single-byte codes: é is one byte, and characters
  // Windows-1252 lacks all become '?', which match each other.
  EXPECT_EQ(Similarity(u"caf\u00E9", u"cafe"), 0.75);
  EXPECT_EQ(Similarity(u"\u4E00\u4E01", u"\u4E02\u4E03"), 1.0);
}

TEST(Similarity, UpperCaseTestFollowsTheLocale) {
  const std::string saved = uloc_getDefault();
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("tr_TR", &status);
  ASSERT_TRUE(U_SUCCESS(status));
  // Turkish upper-cases i to the dotted capital, so these ASCII words are
  // not equal upper-cased, and no byte of one matches the other.
  const double turkish = Similarity(u"istanbul", u"ISTANBUL");
  const double ankara = Similarity(u"ankara", u"ANKARA");
  uloc_setDefault(saved.c_str(), &status);
  EXPECT_EQ(turkish, 0.0);
  EXPECT_EQ(ankara, 1.0);
  EXPECT_EQ(Similarity(u"istanbul", u"ISTANBUL"), 1.0);
}

TEST(Similarity, EmptiesTheWorkingArraysOnEveryPath) {
  OnFreshThread([] {
    const SimilarityArrays& arrays = ThreadSimilarityArrays();
    for (auto [a, b] : {std::pair(u"hello", u"hallo"), std::pair(u"ab", u"AB"),
                        std::pair(u"", u"x")}) {
      Similarity(a, b);
      EXPECT_TRUE(arrays.first.empty());
      EXPECT_TRUE(arrays.second.empty());
    }
  });
}

TEST(CountMatching, StaysInsideTheSelectedRanges) {
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  arrays.first = "abcd";
  arrays.second = "xabcdx";
  EXPECT_EQ(CountMatching(1, 4, 1, 6), 4);
  EXPECT_EQ(CountMatching(1, 2, 1, 6), 2);
  EXPECT_EQ(CountMatching(1, 4, 1, 3), 2);  // the run "abcd" is cut to "ab"
  EXPECT_EQ(CountMatching(2, 4, 1, 4), 2);  // "bcd" against "xabc"
  EXPECT_EQ(CountMatching(3, 2, 1, 6), 0);  // empty range
  EXPECT_EQ(CountMatching(0, 4, 1, 6), 0);  // start below 1
  EXPECT_EQ(CountMatching(1, 4, -3, 6), 0);
  EXPECT_THROW(CountMatching(1, 5, 1, 6), Error);
  EXPECT_THROW(CountMatching(1, 4, 1, 7), Error);
  arrays.first.clear();
  arrays.second.clear();
}

// Runs body on a thread whose stack is only stack_bytes large.
template <typename Body>
void OnSmallStack(std::size_t stack_bytes, Body body) {
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, stack_bytes), 0);
  pthread_t thread;
  auto run = [](void* b) -> void* {
    (*static_cast<Body*>(b))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, &body), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(CountMatching, DeepMatchingNeedsNoDeepStack) {
  // Every 'a' of the first word matches its own 'a' of the second, one run
  // at a time, each run leaving the rest to its right: a chain as long as
  // the first word. Counted on the call stack, each level of it would take
  // a frame, more than the small stack holds.
  constexpr int kDepth = 600;
  const std::u16string first(kDepth, u'a');
  std::u16string second;
  for (int i = 0; i < kDepth; ++i) second += u"ab";
  double score = 0;
  OnSmallStack(32 * 1024, [&] { score = Similarity(first, second); });
  EXPECT_EQ(score, 2.0 * kDepth / (3 * kDepth));
}

TEST(Similarity, LongWordAgainstShortOnes) {
  std::u16string word;
  for (int i = 0; i < 50000; ++i) word += u"ab";
  EXPECT_EQ(Similarity(word, u"abab"), 8.0 / 100004);
  EXPECT_EQ(Similarity(u"xbax", word), 4.0 / 100004);
  EXPECT_EQ(Similarity(word, word), 1.0);
}

// Random words over a few letters, so that runs tie often, with capitals
// and characters whose upper-casing or single-byte form is special.
class WordMaker {
 public:
  explicit WordMaker(unsigned seed) : random_(seed) {}

  std::u16string Make(int max_length, bool special) {
    static constexpr char16_t kLetters[] = u"abcab";
    static constexpr char16_t kSpecial[] = u"AB\u00DFS\u00E9\u4E00-";
    std::u16string word(static_cast<std::size_t>(Pick(max_length + 1)), u'\0');
    for (char16_t& c : word) {
      c = special && Pick(4) == 0 ? kSpecial[Pick(7)] : kLetters[Pick(5)];
    }
    return word;
  }
  int Pick(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random_);
  }

 private:
  std::mt19937 random_;
};

TEST(Similarity, AgreesWithThePlainDefinition) {
  WordMaker maker(20240601);
  for (int n = 0; n < 20000; ++n) {
    const bool special = n % 2 == 1;
    // Words past 64 bytes take the other run search.
    const int max_length = n % 10 == 0 ? 90 : 12;
    const std::u16string a = maker.Make(max_length, special);
    const std::u16string b = maker.Make(max_length, special);
    ASSERT_EQ(Similarity(a, b), LiteralSimilarity(a, b))
        << ToUtf8(a) << " / " << ToUtf8(b);
  }
}

TEST(CountMatching, AgreesWithThePlainDefinitionOnSubranges) {
  WordMaker maker(7);
  SimilarityArrays& arrays = ThreadSimilarityArrays();
  for (int n = 0; n < 20000; ++n) {
    const int max_length = n % 4 == 0 ? 90 : 16;
    arrays.first = ToSingleByte(maker.Make(max_length, n % 2 == 1));
    arrays.second = ToSingleByte(maker.Make(max_length, n % 2 == 1));
    const int la = static_cast<int>(arrays.first.size());
    const int lb = static_cast<int>(arrays.second.size());
    const int start1 = maker.Pick(la + 2) - 1, end1 = maker.Pick(la + 1);
    const int start2 = maker.Pick(lb + 2) - 1, end2 = maker.Pick(lb + 1);
    ASSERT_EQ(CountMatching(start1, end1, start2, end2),
              LiteralCountMatching(arrays.first, arrays.second, start1, end1,
                                   start2, end2))
        << arrays.first << " " << start1 << ".." << end1 << " / "
        << arrays.second << " " << start2 << ".." << end2;
  }
  arrays.first.clear();
  arrays.second.clear();
}

}  // namespace
}  // namespace quenvar
