#include <gtest/gtest.h>
#include <unicode/uloc.h>

#include <random>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/numeric.h"
#include "base/text.h"
#include "base/text_lines.h"

namespace quenvar {
namespace {

TEST(SingleByteForm, EveryByteRoundTripsThroughItsCharacter) {
  for (int byte = 0; byte < 256; ++byte) {
    const char16_t c = CharOfSingleByte(static_cast<unsigned char>(byte));
    EXPECT_EQ(SingleByteOf(c), byte) << "byte " << byte;
  }
}

TEST(SingleByteForm, HighControlRangeIsWindows1252) {
  EXPECT_EQ(CharOfSingleByte(0x80), u'\u20AC');  // euro sign
  EXPECT_EQ(CharOfSingleByte(0x8A), u'\u0160');  // S caron
  EXPECT_EQ(CharOfSingleByte(0x92), u'\u2019');  // right single quote
  EXPECT_EQ(CharOfSingleByte(0x9F), u'\u0178');  // Y diaeresis
  EXPECT_EQ(CharOfSingleByte(0x81), u'\u0081');  // undefined: C1 control
  EXPECT_EQ(CharOfSingleByte(0xE9), u'\u00E9');
  // C1 controls that Windows-1252 gives to printable characters have no byte.
  EXPECT_EQ(SingleByteOf(u'\u0080'), -1);
  EXPECT_EQ(SingleByteOf(u'\u0085'), -1);
}

TEST(SingleByteForm, MissingCharactersBecomeOneSubstituteEach) {
  std::string bytes;
  EXPECT_TRUE(ToSingleByte(u"caf\u00E9 \u20AC", bytes));
  EXPECT_EQ(bytes, "caf\xE9 \x80");
  // A surrogate pair is two code units and so two substitute bytes.
  EXPECT_FALSE(ToSingleByte(u"a\u4E00\U0001F600\xD800", bytes));
  EXPECT_EQ(bytes, "a????");
  EXPECT_EQ(FromSingleByte("caf\xE9\x80"), u"caf\u00E9\u20AC");
}

TEST(CaseMapping, AsciiAndFullUnicode) {
  EXPECT_EQ(ToLower(u"HeLLo World_1"), u"hello world_1");
  EXPECT_EQ(ToUpper(u"hello"), u"HELLO");
  EXPECT_EQ(ToLower(u"\u00C9COLE"), u"\u00E9cole");
  EXPECT_EQ(ToUpper(u"stra\u00DFe"), u"STRASSE");  // grows by one
  EXPECT_EQ(ToLower(u"\u0130"), u"i\u0307");       // dotted capital I
  EXPECT_EQ(ToLower(u"\xD800x"), u"\xD800x");       // lone surrogate kept
  EXPECT_EQ(ToLower(u""), u"");
}

TEST(CaseMapping, AsciiFastPathHonoursTurkishLocale) {
  const std::string saved = uloc_getDefault();
  UErrorCode status = U_ZERO_ERROR;
  uloc_setDefault("tr_TR", &status);
  ASSERT_TRUE(U_SUCCESS(status));
  EXPECT_EQ(ToLower(u"ISTANBUL"), u"\u0131stanbul");
  EXPECT_EQ(ToUpper(u"istanbul"), u"\u0130STANBUL");
  EXPECT_EQ(ToLower(u"ANKARA"), u"ankara");
  uloc_setDefault(saved.c_str(), &status);
  EXPECT_EQ(ToLower(u"ISTANBUL"), u"istanbul");
}

TEST(Utf8, ConvertsBothWaysAndReplacesInvalidSequences) {
  EXPECT_EQ(FromUtf8("caf\xC3\xA9 \xE2\x82\xAC"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(ToUtf8(u"caf\u00E9"), "caf\xC3\xA9");
  EXPECT_EQ(ToUtf8(u"a\xDC00"), "a\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf8(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
}

TEST(IsNumeric, PlainNumbersAreNumeric) {
  for (const char16_t* text :
       {u"42", u"-7", u"+7", u"3.5", u".5", u"5.", u"1,000", u"1,000,000.25",
        u"1e3", u"2.5E-4", u"1999", u" 42 ", u"$5", u"-$5", u"$-5", u"5\u20AC",
        u"\u00A3100", u"0"}) {
    EXPECT_TRUE(IsNumeric(text)) << ToUtf8(text);
  }
}

TEST(IsNumeric, WordsAndMalformedNumbersAreNot) {
  for (const char16_t* text :
       {u"", u" ", u"nan", u"inf", u"infinity", u"0x1p3", u"0x10", u"1,",
        u",5", u"1,,0", u"e5", u"1e", u"1e+", u"1.2.3", u"-", u".", u"$",
        u"$5$", u"10th", u"1st", u"1-2", u"one", u"4u", u"\uFF14\uFF12"}) {
    EXPECT_FALSE(IsNumeric(text)) << ToUtf8(text);
  }
  // A byte of 0x80 or more is no character of a number, whether char is
  // signed or not (0xA3 is the pound sign's Latin-1 code).
  for (const char* bytes : {"5\xA3", "\xA3" "5", "\xB9"}) {
    EXPECT_FALSE(IsNumeric(std::string_view(bytes))) << bytes;
  }
}

// Lines found 64 bytes at a time agree with a byte-by-byte split, with
// line ends at every place of a block and bytes that differ from CR or LF by
// one bit or by a borrow (0x0B, 0x0C, 0x8A, 0x8D, 0x00, 0xFF).
TEST(ForEachLine, AgreesWithAByteByByteSplit) {
  const auto reference = [](const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') {
        line += text[i];
        continue;
      }
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
  };
  const std::string alphabet("ab\r\n\x0B\x0C\x8A\x8D\x00\xFF", 10);
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 200, 'x');
    for (char& c : text) {
      if (random() % 3 == 0) c = alphabet[random() % alphabet.size()];
    }
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::string_view line) {
      lines.emplace_back(line);
      return true;
    });
    ASSERT_EQ(lines, reference(text)) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace quenvar
