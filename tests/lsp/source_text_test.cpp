// The prose of source lines: which stretches each language family counts
// as comments and strings, what stays open into the next line, and the
// words identifiers are cut into.

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "lsp/source_text.h"

namespace quenvar::lsp {
namespace {

using ::testing::ElementsAre;

// The prose of lines scanned one after another, as UTF-8, one string a
// stretch.
std::vector<std::string> Prose(SourceLanguage language, const std::vector<std::u16string>& lines) {
  std::vector<std::string> prose;
  std::uint32_t state = 0;
  for (const std::u16string& line : lines) {
    state = ScanSourceLine(language, state, line, [&](std::size_t begin, std::size_t end) {
      std::string piece;
      for (char16_t c : line.substr(begin, end - begin)) {
        if (c != u'\n') piece += static_cast<char>(c);
      }
      prose.push_back(piece);
    });
  }
  return prose;
}

TEST(SourceTextTest, EachFamilyFindsItsCommentsAndStrings) {
  using L = SourceLanguage;
  // A character literal holding a quote opens no string.
  EXPECT_THAT(Prose(L::kC, {u"c = '\"'; s = \"a\\\"b\"; /* one\n", u"two */ x; // three\n"}),
              ElementsAre("a\\\"b", " one", "two ", " three"));
  EXPECT_THAT(Prose(L::kGo, {u"s := `raw\n", u"text` + \"x\"\n"}),
              ElementsAre("raw", "text", "x"));
  EXPECT_THAT(Prose(L::kJavaScript, {u"f('one', `two ${x}\n", u"three`)\n"}),
              ElementsAre("one", "two ${x}", "three"));
  EXPECT_THAT(Prose(L::kPython, {u"'''doc\n", u"more''' # note 'quoted'\n"}),
              ElementsAre("doc", "more", " note 'quoted'"));
  // # starts a comment only at the start of a word; quotes span lines.
  EXPECT_THAT(Prose(L::kShell, {u"echo $# ${#a} 'one\n", u"two' # end\n"}),
              ElementsAre("one", "two", " end"));
  EXPECT_THAT(Prose(L::kLua, {u"s = [==[long ]] still\n", u"]==] --[[ block\n", u"]] -- tail\n"}),
              ElementsAre("long ]] still", " block", " tail"));
  // A one-line string ends with its line unless a backslash carries it on.
  EXPECT_THAT(Prose(L::kC, {u"s = \"open\n", u"x = 1; // after\n"}), ElementsAre("open", " after"));
}

std::vector<std::string> Words(const std::u16string& text) {
  std::vector<std::string> words;
  ForEachSourceWord(text, [&](std::size_t offset, std::size_t length, std::u16string_view word) {
    std::string piece;
    for (char16_t c : word) piece += c < 0x80 ? static_cast<char>(c) : '?';
    EXPECT_EQ(length, word.size());
    EXPECT_LE(offset + length, text.size());
    words.push_back(piece);
  });
  return words;
}

TEST(SourceTextTest, IdentifiersAreCutIntoWordsAndAddressesSkipped) {
  EXPECT_THAT(Words(u"parseHttpURL snake_case_word XMLHttpRequest don\u2019t"),
              ElementsAre("parse", "Http", "URL", "snake", "case", "word", "XML", "Http",
                          "Request", "don't"));
  EXPECT_THAT(Words(u"see https://example.com/wrld, a/b, me@example.org utf8 x86_64 'quoted'"),
              ElementsAre("see", "quoted"));
  EXPECT_THAT(Words(u"Hello\\nWorld\\tagain"), ElementsAre("Hello", "World", "again"));
}

}  // namespace
}  // namespace quenvar::lsp
