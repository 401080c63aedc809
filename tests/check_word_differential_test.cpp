// CheckWord against a plain rendering of its rules, over every word of a
// large real English text and over tokens chosen to reach the rarer paths.

#include <gtest/gtest.h>
#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <filesystem>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "component/numeric.h"
#include "component/thread_state.h"
#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::OnFreshThread;
using testing::ReadBytes;

// ICU's full lower-case mapping in the default locale, sized by asking ICU.
std::u16string ReferenceLower(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const auto length = static_cast<int32_t>(text.size());
  const int32_t needed =
      u_strToLower(nullptr, 0, text.data(), length, nullptr, &status);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strToLower(out.data(), needed, text.data(), length, nullptr, &status);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  return out;
}

// The Windows-1252 byte of c; false when the code page lacks c.
bool ReferenceByte(char16_t c, char& byte) {
  static constexpr char16_t kHigh[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    byte = static_cast<char>(c);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  byte = '?';
  return false;
}

// Whether the main list's bucket for the word's first two bytes holds it.
bool ReferenceInMainList(const std::u16string& word) {
  std::string bytes;
  for (char16_t c : word) {
    char byte;
    if (!ReferenceByte(c, byte)) return false;
    bytes += byte;
  }
  const MainWordList& list = State().sDicWords;
  const std::uint32_t key = static_cast<unsigned char>(bytes[0]) +
                            256u * static_cast<unsigned char>(bytes[1]);
  for (std::int32_t i = std::max(list.PrefixStart(key), 0);
       i <= std::min(list.PrefixEnd(key), list.capacity() - 1); ++i) {
    if (list.Entry(i) == bytes) return true;
  }
  return false;
}

// Cuts at the first stop after a letter, drops hyphens before any letter,
// needs two letters (spaces and apostrophes count), then removes one
// trailing hyphen, apostrophe or 's. Words of bytes 64..123 stay unchanged.
std::u16string ReferenceClean(const std::u16string& word) {
  std::string bytes;
  for (char16_t c : word) {
    char byte;
    ReferenceByte(c, byte);
    bytes += byte;
  }
  bool plain = true;
  for (char b : bytes) {
    plain = plain && static_cast<unsigned char>(b) >= 64 &&
            static_cast<unsigned char>(b) <= 123;
  }
  if (plain) return word;

  std::u16string out;
  int letters = 0;
  for (char b : bytes) {
    const bool letter = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z');
    if (letter || b == ' ' || (b == '\'' && !out.empty())) {
      out += static_cast<char16_t>(b);
      ++letters;
    } else if (b == '-') {
      if (letters > 0) out += u'-';
    } else if (b >= '0' && b <= '9') {
      out += static_cast<char16_t>(b);
    } else if (letters > 0) {
      break;
    }
  }
  if (letters < 2) return u"";
  if (out.ends_with(u'-') || out.ends_with(u'\'')) {
    out.pop_back();
  } else if (out.ends_with(u"'s")) {
    out.resize(out.size() - 2);
  }
  return out;
}

bool ReferenceCustom(const std::u16string& lowered) {
  const WordArray& words = State().sCustomWords.words();
  if (!words) return false;
  const std::u16string target = ReferenceLower(lowered);
  for (const std::u16string& entry : *words) {
    if (ReferenceLower(entry) == target) return true;
  }
  return false;
}

bool ReferenceCheckWord(std::u16string_view word, bool check_custom) {
  const std::u16string lowered = ReferenceLower(word);
  if (lowered.size() < 2 || IsNumeric(lowered)) return true;
  if (ReferenceInMainList(lowered)) return true;
  const std::u16string clean = ReferenceClean(lowered);
  if (clean != lowered) {
    if (clean.size() < 2 || IsNumeric(clean)) return true;
    if (ReferenceInMainList(clean)) return true;
  }
  return check_custom && ReferenceCustom(lowered);
}

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
                ReferenceCheckWord(word, check_custom))
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
      u"{brace", u"a|b",
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
  const std::vector<std::u16string> words =
      Pieces(FromUtf8(ReadBytes(corpus.string())));
  OnFreshThread([&] {
    SpellCheck().Init();
    AddToCustom(u"Holmes");
    AddToCustom(u"Watson");
    ExpectAgreement(words);
  });
}

}  // namespace
}  // namespace quenvar
