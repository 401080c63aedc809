// The tool's own text handling: UTF-8 validation, character positions and
// the replacements of `fix`.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "cli/fix_command.h"
#include "cli/text_encoding.h"
#include "cli/text_position.h"

namespace quenvar::cli {
namespace {

TEST(FindInvalidUtf8, AcceptsEveryWellFormedLength) {
  EXPECT_EQ(FindInvalidUtf8(""), std::nullopt);
  EXPECT_EQ(FindInvalidUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"),
            std::nullopt);
}

TEST(FindInvalidUtf8, PointsAtTheFirstBadSequence) {
  EXPECT_EQ(FindInvalidUtf8("ab\x80"), 2u);              // stray continuation
  EXPECT_EQ(FindInvalidUtf8("ab\xC3"), 2u);              // truncated at the end
  EXPECT_EQ(FindInvalidUtf8("a\xE2\x82z"), 1u);          // truncated inside
  EXPECT_EQ(FindInvalidUtf8("\xC0\xAF"), 0u);            // overlong '/'
  EXPECT_EQ(FindInvalidUtf8("\xE0\x80\xAF"), 0u);        // overlong, 3 bytes
  EXPECT_EQ(FindInvalidUtf8("\xF0\x8F\xBF\xBF"), 0u);    // overlong, 4 bytes
  EXPECT_EQ(FindInvalidUtf8("ok\xED\xA0\x80"), 2u);      // a surrogate
  EXPECT_EQ(FindInvalidUtf8("\xF4\x90\x80\x80"), 0u);    // above U+10FFFF
  EXPECT_EQ(FindInvalidUtf8("\xC3\xA9\xFF\x80"), 2u);    // first of two
}

TEST(DecodeDocument, DropsTheByteOrderMarkAndNamesTheFile) {
  EXPECT_EQ(DecodeDocument("f", "\xEF\xBB\xBFhi"), u"hi");
  try {
    DecodeDocument("notes.txt", "x\xFE");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "notes.txt: invalid UTF-8 at byte 1");
  }
}

TEST(Latin1, RoundTripsItsRangeAndMarksTheRest) {
  EXPECT_EQ(FromLatin1("caf\xE9"), u"caf\u00E9");
  EXPECT_EQ(ToLatin1(u"caf\u00E9 \u20AC"), "caf\xE9 ?");
}

TEST(TextPositions, CountsCharactersAndLines) {
  const std::u16string text = u"a\U0001F600b\r\nx\u00E9y\n\nz";
  TextPositions positions(text);
  EXPECT_EQ(positions.At(0), (TextPosition{1, 1}));
  EXPECT_EQ(positions.At(3), (TextPosition{1, 3}));  // after the pair
  EXPECT_EQ(positions.At(4), (TextPosition{1, 4}));  // the CR
  EXPECT_EQ(positions.At(8), (TextPosition{2, 3}));
  EXPECT_EQ(positions.At(11), (TextPosition{4, 1}));
  EXPECT_EQ(CharacterCount(text), 11u);
}

TEST(ApplyReplacements, KeepsLaterOffsetsRight) {
  const std::u16string text = u"Teh wrld is teh best";
  EXPECT_EQ(ApplyReplacements(text, {{0, u"Teh", u"The"},
                                     {4, u"wrld", u"world"},
                                     {12, u"teh", u"th\u00E9"}}),
            u"The world is th\u00E9 best");
  EXPECT_EQ(ApplyReplacements(text, {}), text);
  EXPECT_EQ(ApplyReplacements(u"ab cd", {{3, u"cd", u"x"}}), u"ab x");
  EXPECT_THROW(ApplyReplacements(text, {{1, u"Teh", u"The"}}), std::logic_error);
  EXPECT_THROW(ApplyReplacements(text, {{4, u"wrld", u"w"}, {0, u"Teh", u"The"}}),
               std::logic_error);
}

}  // namespace
}  // namespace quenvar::cli
