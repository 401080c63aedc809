// CheckWord against a plain rendering of its rules, over every word of a
// large real English text and over tokens chosen to reach the rarer paths.

#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "tests/literal_check_word.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::LiteralCheckWord;
using testing::OnFreshThread;
using testing::ReadBytes;

// The non-empty pieces of text between the text walk's delimiters.
std::vector<std::u16string> Pieces(const std::u16string& text) {
  std::vector<std::u16string> pieces;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(u"\t\n\r \"/?.;:,\\()[]{}<>|!", start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) pieces.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

void ExpectAgreement(const std::vector<std::u16string>& words) {
  for (const std::u16string& word : words) {
    for (bool check_custom : {false, true}) {
      ASSERT_EQ(CheckWord(word, check_custom),
                LiteralCheckWord(word, check_custom))
          << ToUtf8(word) << " custom " << check_custom;
    }
  }
}

// Sets ICU's default locale for the object's life, then restores it.
class ScopedIcuLocale {
 public:
  explicit ScopedIcuLocale(const char* locale) : old_(uloc_getDefault()) {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(locale, &status);
  }
  ~ScopedIcuLocale() {
    UErrorCode status = U_ZERO_ERROR;
    uloc_setDefault(old_.c_str(), &status);
  }
  ScopedIcuLocale(const ScopedIcuLocale&) = delete;
  ScopedIcuLocale& operator=(const ScopedIcuLocale&) = delete;

 private:
  std::string old_;
};

const std::vector<std::u16string>& TrickyTokens() {
  static const std::vector<std::u16string> tokens = {
      u"", u"a", u"I", u"IT", u"it", u"It's", u"it's", u"Holmes's",
      u"houses'", u"'tis", u"-well", u"well-", u"well-known", u"self-made",
      u"rock'n'roll", u"o'clock", u"1st", u"42", u"3.14", u"1,000", u"$5",
      u"5\u20AC", u"-7", u"x1", u"x.", u"ab", u"AB", u"aB",
      u"na\u00EFve", u"NA\u00CFVE", u"caf\u00E9", u"CAF\u00C9",
      u"stra\u00DFe", u"STRASSE", u"\u1E9E", u"\u00DF\u00DF",
      u"\u0130stanbul", u"ISTANBUL", u"\u0131stanbul", u"DIVIDE", u"I\u0307",
      u"\u03A3\u039F\u03A6\u039F\u03A3", u"w\u4E00rd", u"\u4E00\u4E8C",
      u"\u2019tis", u"it\u2019s", u"\u201Cquoted\u201D", u"\u0160koda",
      u"\u0152uvre", u"\u0081ab", u"a\u0300b", u"\U0001F600ok",
      std::u16string(1, char16_t{0xD800}), u"ab\uFFFD", u"Quenvar",
      u"QUENVAR", u"quenvar's", u"Stra\u00DFburg", u"snake_case", u"@home",
      u"{brace", u"a|b", u"r\u00E9sum\u00E9", u"r\u00E9summe", u"fa\u00E7ade's",
      u"\u00FFes", u"\u0178ES", u"5\u00B5m", u"\u0192oo", u"2\u00D7two", u"\u00E6ther",
      u"\u00AAab\u00BA", u"se\u02C6ance", u"\u00C5ngstr\u00F6m", u"angstr\u00F6m",
      std::u16string(u"g\0h", 3), std::u16string(300, u'x'),
  };
  return tokens;
}

TEST(CheckWordDifferential, AgreesWithThePlainRulesOnTrickyTokens) {
  OnFreshThread([] {
    SpellCheck().Init();
    for (const char16_t* word : {u"Quenvar", u"Stra\u00DFburg", u"\u0130zmir",
                                 u"DIVIDE", u"\u00C9cole"}) {
      AddToCustom(word);
    }
    ExpectAgreement(TrickyTokens());
    // Turkish maps the dotted and dotless i apart from every other locale.
    for (const char* locale : {"tr_TR", "az", "lt"}) {
      const ScopedIcuLocale scoped(locale);
      ExpectAgreement(TrickyTokens());
    }
  });
}

TEST(CheckWordDifferential, AgreesWithThePlainRulesOnEveryWordOfALargeText) {
  // The shared corpus sits beside the source tree.
  const std::filesystem::path source_tree =
      std::filesystem::path(__FILE__).parent_path().parent_path();
  const std::filesystem::path corpus =
      source_tree.parent_path() / "shared" / "corpus" / "big.txt";
  if (!std::filesystem::exists(corpus)) {
    GTEST_SKIP() << "no corpus at " << corpus;
  }
  // The check depends on nothing but the word and the lists, so each
  // distinct piece stands for all its repetitions.
  std::vector<std::u16string> words =
      Pieces(FromUtf8(ReadBytes(corpus.string())));
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  OnFreshThread([&] {
    SpellCheck().Init();
    AddToCustom(u"Holmes");
    AddToCustom(u"Watson");
    ExpectAgreement(words);
  });
}

}  // namespace
}  // namespace quenvar
