// The document splitter per format: each case a construct as documents
// write it, with the words it must yield and, by their absence, those it
// must not.

#include <quenvarspell/document_splitter.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <quenvarspell/spell_check.h>

#include "tests/test_support.h"

namespace quenvar {
namespace {

using ::testing::ElementsAre;

// The words of text split whole, as they stand in it, space-separated; each
// checked form must be its source unless the source holds markup.
std::string Words(DocumentFormat format, std::u16string_view text) {
  std::string words;
  DocumentSplitter splitter(format);
  splitter.Split(text, [&](const DocumentWord& word) {
    if (!words.empty()) words += ' ';
    words += ToUtf8(word.word);
    EXPECT_LE(word.offset + word.length, text.size());
  });
  return words;
}

std::string Words(DocumentFormat format, std::string_view utf8) {
  return Words(format, std::u16string_view(FromUtf8(utf8)));
}

// The words of text fed to one splitter a line at a time.
std::string WordsByLine(DocumentFormat format, std::string_view utf8) {
  const std::u16string text = FromUtf8(utf8);
  std::string words;
  DocumentSplitter splitter(format);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find(u'\n', start), text.size() - 1) + 1;
    // Each line through a fresh splitter, as a highlighter resumes one.
    DocumentSplitter line(format, splitter.state());
    line.Split(std::u16string_view(text).substr(start, end - start),
               [&](const DocumentWord& word) {
                 if (!words.empty()) words += ' ';
                 words += ToUtf8(word.word);
               });
    splitter.Split(std::u16string_view(text).substr(start, end - start),
                   [](const DocumentWord&) {});
    EXPECT_EQ(line.state(), splitter.state());
    EXPECT_LT(splitter.state(), 1u << 31);
    start = end;
  }
  return words;
}

constexpr DocumentFormat kText = DocumentFormat::kText;
constexpr DocumentFormat kMarkdown = DocumentFormat::kMarkdown;
constexpr DocumentFormat kHtml = DocumentFormat::kHtml;
constexpr DocumentFormat kTex = DocumentFormat::kTex;

TEST(DocumentFormats, FromFileNamesAndAspellModes) {
  EXPECT_EQ(FormatOfFileName("docs/README.md"), kMarkdown);
  EXPECT_EQ(FormatOfFileName("a.MARKDOWN"), kMarkdown);
  EXPECT_EQ(FormatOfFileName("index.htm"), kHtml);
  EXPECT_EQ(FormatOfFileName("feed.xml"), kHtml);
  EXPECT_EQ(FormatOfFileName("x.xhtml"), kHtml);
  EXPECT_EQ(FormatOfFileName("thesis.tex"), kTex);
  EXPECT_EQ(FormatOfFileName("style.sty"), kTex);
  EXPECT_EQ(FormatOfFileName("notes.txt"), kText);
  EXPECT_EQ(FormatOfFileName("dir.md/notes"), kText);
  EXPECT_EQ(FormatOfModeName("none"), kText);
  EXPECT_EQ(FormatOfModeName("sgml"), kHtml);
  EXPECT_EQ(FormatOfModeName("tex"), kTex);
  EXPECT_EQ(FormatOfModeName("nroff"), std::nullopt);
}

// In every format: what is no word, and what is not part of one.
TEST(ProseWords, QuotesGuillemetsAndDashesAreNotPartOfWords) {
  const std::u16string text = u"He said 'teh' and ‘wrld’ then «recieve» and wrld—teh";
  std::vector<std::pair<std::string, std::size_t>> words;
  DocumentSplitter(kText).Split(text, [&](const DocumentWord& word) {
    words.emplace_back(ToUtf8(word.word), word.offset);
    EXPECT_EQ(text.substr(word.offset, word.length), word.word);
  });
  EXPECT_THAT(words, ElementsAre(std::pair{"He", 0u}, std::pair{"said", 3u},
                                 std::pair{"teh", 9u}, std::pair{"and", 14u},
                                 std::pair{"wrld", 19u}, std::pair{"then", 25u},
                                 std::pair{"recieve", 31u}, std::pair{"and", 40u},
                                 std::pair{"wrld", 44u}, std::pair{"teh", 49u}));
  EXPECT_EQ(Words(kText, "“Quoted” -- dashed – and \"plain\" (parens) students' don’t"),
            "Quoted dashed and plain parens students don't");
}

TEST(ProseWords, UrlsAddressesPathsNumbersAndCodeAreNoWords) {
  EXPECT_EQ(Words(kText, "See https://exmple.org/a_b?q=1, www.exampel.com and (ftp://x.y)."),
            "See and");
  EXPECT_EQ(Words(kText, "Mail jon.doe@exmple.com or @handel today"), "Mail or today");
  EXPECT_EQ(Words(kText, "In /usr/shaer/doc, ~/.confg, ./bild, C:\\Windos and src/mian.cpp"),
            "In and");
  EXPECT_EQ(Words(kText, "UTF-8 on x86_64 at 0xdeadbeef is 42 or 3.5 -- ok"), "on at is or ok");
  EXPECT_EQ(Words(kText, "std::mvoe, a->b, f() and x=1 or {y} but and/or stays"),
            "and or but and or stays");
  EXPECT_EQ(Words(kText, "snake_cse camelCse os.pth e.g. etc. end."), "etc end");
  EXPECT_EQ(Words(kText, "The CLI and NFS, (ii) and xiv, but A, I, x and WARANTY stay"),
            "The and and but A I x and WARANTY stay");
}

TEST(ProseWords, CompoundsYieldTheirPartsJoined) {
  std::vector<std::pair<std::string, bool>> parts;
  DocumentSplitter(kText).Split(u"copy-on-write, well‐known x-ray", [&](const DocumentWord& w) {
    parts.emplace_back(ToUtf8(w.word), w.hyphen_after);
  });
  EXPECT_THAT(parts, ElementsAre(std::pair{"copy", true}, std::pair{"on", true},
                                 std::pair{"write", false}, std::pair{"well", true},
                                 std::pair{"known", false}, std::pair{"x", true},
                                 std::pair{"ray", false}));
}

TEST(Markdown, CodeIsSkipped) {
  EXPECT_EQ(Words(kMarkdown, "Text `codde span` and ``a ` b`` here\n"), "Text and here");
  EXPECT_EQ(Words(kMarkdown, "A lone ` backtick keeps wrld\n"), "A lone backtick keeps wrld");
  EXPECT_EQ(Words(kMarkdown, "Before\n\n```python\nxyzzy = 1\n\nplugh()\n```\nAfter\n"),
            "Before After");
  EXPECT_EQ(Words(kMarkdown, "~~~~\ncodde\n~~~\nstill codde\n~~~~\nAfter\n"), "After");
  EXPECT_EQ(Words(kMarkdown, "Para\n\n    indented codde\n\n- item\n\n  continued wrld\n"),
            "Para item continued wrld");
}

TEST(Markdown, ProseInHeadingsEmphasisLinksListsQuotesAndTables) {
  EXPECT_EQ(Words(kMarkdown, "# Headng\n\n*dormiatory* and **suspecien** _teh_\n"),
            "Headng dormiatory and suspecien teh");
  EXPECT_EQ(Words(kMarkdown, "See [the lnik](http://x.org/pth \"Titel\") and ![an imge](a.png)\n"),
            "See the lnik Titel and an imge");
  EXPECT_EQ(Words(kMarkdown, "[text][refrence] and <https://auto.link> or <me@mial.org>\n\n"
                             "[refrence]: https://x.org \"Ttle\"\n"),
            "text and or");
  EXPECT_EQ(Words(kMarkdown, "> quoted wrld\n\n1. frist\n2. secnd\n\n| cel | othr |\n|---|:-:|\n"),
            "quoted wrld frist secnd cel othr");
  EXPECT_EQ(Words(kMarkdown, "Note[^nte] here.\n\n[^nte]: The ntoe text.\n"),
            "Note here The ntoe text");
}

TEST(Markdown, HtmlFrontMatterAndEscapes) {
  EXPECT_EQ(Words(kMarkdown, "---\ntitel: x\n---\nBody <span class=\"bold\" title=\"Tip\">wrd</span>\n"),
            "Body Tip wrd");
  EXPECT_EQ(Words(kMarkdown, "<!-- hiden\n\nstill hiden -->\nShown\n"), "Shown");
  EXPECT_EQ(Words(kMarkdown, "<pre>\nxqz\n\nxqz\n</pre>\nAfter &amp; caf&eacute;\n"),
            "After café");
  EXPECT_EQ(Words(kMarkdown, "a \\*not emphasis\\* x\\_y\n"), "a not emphasis");
}

// A broken construct ends with its paragraph, and a fence that can only
// open a block ends an unclosed one before it.
TEST(Markdown, BrokenConstructsSwallowLittle) {
  EXPECT_EQ(Words(kMarkdown, "```\nunclosed codde\n\nprose wrld\n"), "prose wrld");
  EXPECT_EQ(Words(kMarkdown, "```\nunclosed\n```sh\nls\n```\nwrld\n"), "wrld");
  EXPECT_EQ(Words(kMarkdown, "<!-- never closed\n\nwrld\n"), "wrld");
  EXPECT_EQ(Words(kMarkdown, "<span title=\"Tip\n\nwrld\n"), "Tip wrld");
  EXPECT_EQ(Words(kMarkdown, "[text](http://never.closed\n\nwrld\n"), "text wrld");
}

TEST(Markdown, LineByLineKeepsTheBlocksOpen) {
  const std::string text =
      "Intro\n```\ncodde\n\nmore codde\n```\n<!--\nhiden\n-->\nOutro wrld\n";
  EXPECT_EQ(WordsByLine(kMarkdown, text), "Intro Outro wrld");
  EXPECT_EQ(Words(kMarkdown, text), "Intro Outro wrld");
}

TEST(Html, TagsCommentsAndCodeAreSkipped) {
  EXPECT_EQ(Words(kHtml, "<p class=\"intro\" id=x>Helo <b>wrld</b></p><!-- cmment -->"),
            "Helo wrld");
  EXPECT_EQ(Words(kHtml, "<img src=\"pic.png\" alt=\"A pictre\" title='Its titel'>"),
            "A pictre Its titel");
  EXPECT_EQ(Words(kHtml, "<script>var xqz = 1;\n\nfoo();</script><style>p {}</style>"
                         "<pre>codde</pre><code>x</code> text"),
            "text");
  EXPECT_EQ(Words(kHtml, "<?xml version=\"1.0\"?><!DOCTYPE html><![CDATA[ dta ]]><a>b</a>"),
            "b");
}

TEST(Html, EntitiesAreDecoded) {
  const std::u16string text = u"caf&eacute; don&rsquo;t a&nbsp;b x&mdash;y &#233;t&#xE9;";
  std::vector<std::string> words;
  DocumentSplitter(kHtml).Split(text, [&](const DocumentWord& word) {
    words.push_back(ToUtf8(word.word) + "@" + std::to_string(word.offset) + "+" +
                    std::to_string(word.length));
  });
  EXPECT_THAT(words, ElementsAre("café@0+11", "don't@12+11", "a@24+1", "b@31+1", "x@33+1",
                                 "y@41+1", "été@43+13"));
}

TEST(Html, BrokenConstructsSwallowLittle) {
  EXPECT_EQ(Words(kHtml, "a < b and <p unclosed tag\n\nwrld"), "a b and wrld");
  EXPECT_EQ(Words(kHtml, "<!-- open\n\nwrld"), "wrld");
  EXPECT_EQ(Words(kHtml, "<script>\nx\n\nwrld"), "wrld");
  EXPECT_EQ(WordsByLine(kHtml, "<div\n class=x>in</div>\n<!--\n\nhiden -->\nwrld\n"),
            "in wrld");
}

TEST(Tex, CommandsReferencesMathAndCommentsAreSkipped) {
  EXPECT_EQ(Words(kTex, "See \\cite[p.~5]{knuth84} and \\textbf{bold} \\ref{sec:x}."),
            "See and bold");
  EXPECT_EQ(Words(kTex, "\\begin{tabular}[t]{lll} a \\end{tabular} \\label{fig:a}"), "a");
  EXPECT_EQ(Words(kTex, "Math $x^2 + y$ and $$e$$ or \\(z\\) \\[w\\] ok % note"), "Math and or ok");
  EXPECT_EQ(Words(kTex, "\\href{http://x.org}{Click here} 50\\% \\verb|xyz| end"),
            "Click here end");
  EXPECT_EQ(Words(kTex, "\\usepackage[utf8]{inputenc} \\newcommand{\\qq}[1]{Quite #1}"), "Quite");
  EXPECT_EQ(Words(kTex, "\\url{http://a.b} \\lstinline|xqz| \\includegraphics[w=1]{fig}"
                        " \\input{chap} \\include{app} done"),
            "done");
}

TEST(Tex, EnvironmentsAccentsAndHyphenation) {
  EXPECT_EQ(Words(kTex, "Before\n\\begin{verbatim}\nxqz\n\nzqx\n\\end{verbatim}\nAfter"),
            "Before After");
  EXPECT_EQ(Words(kTex, "A\n\\begin{align*}\n x &= y \\\\\n\\end{align*}\n"
                        "\\begin{lstlisting}[language=C]\nint\n\\end{lstlisting}\n"
                        "\\begin{minted}{python}\ndef\n\\end{minted}\n"
                        "\\begin{comment}\nhiden\n\\end{comment}\nB"),
            "A B");
  EXPECT_EQ(Words(kTex, "caf\\'e na\\\"ive fa\\c{c}ade stra\\ss e hy\\-phen ``quoted''"),
            "café naïve façade straße hyphen quoted");
}

TEST(Tex, BrokenConstructsSwallowLittle) {
  EXPECT_EQ(Words(kTex, "Open $math \\emph{and more\n\nwrld"), "Open wrld");
  EXPECT_EQ(Words(kTex, "\\cite{never closed words\n\nwrld"), "wrld");
  EXPECT_EQ(Words(kTex, "\\verb|never closed\nwrld"), "wrld");
  EXPECT_EQ(Words(kTex, "\\begin{verbatim}\nxqz\n\nwrld"), "wrld");
  EXPECT_EQ(WordsByLine(kTex, "a $x\n+ y$ b\n\\[\nz\n\\]\nc\n\\begin{equation}\nq\n\\end{equation}\nd"),
            "a b c d");
}

// Markup nested or repeated without end costs a pass, not a pass per mark.
TEST(DocumentSplitter, HostileInputEnds) {
  for (const DocumentFormat format : {kText, kMarkdown, kHtml, kTex}) {
    for (const std::u16string& unit : {std::u16string(u"["), std::u16string(u"*"),
                                       std::u16string(u"`"), std::u16string(u"<a "),
                                       std::u16string(u"[^"), std::u16string(u"][x"),
                                       std::u16string(u"<!-- x\n\n"), std::u16string(u"](x "),
                                       std::u16string(u"\\cite{"), std::u16string(u"$"),
                                       std::u16string(u"```\n\n"), std::u16string(u"<!--\n\n"),
                                       std::u16string(u"\\begin{verbatim}\n\n"),
                                       std::u16string(u"\xD800x\xFFFF")}) {
      std::u16string text;
      while (text.size() < 200000) text += unit;
      std::size_t words = 0;
      DocumentSplitter(format).Split(text, [&](const DocumentWord&) { ++words; });
      EXPECT_LT(words, text.size());
    }
  }
}

TEST(FindUnknownWords, CompoundsAreJudgedWholeThenByPart) {
  testing::OnFreshThread([] {
    SpellCheck speller;
    speller.Init();
    speller.AddToCustom(u"Zorblat");
    DocumentSplitter splitter(kMarkdown);
    const std::u16string text =
        u"copy-on-write and comand-line, wrld-teh, *zorblat* `xqz` [lnik](u)";
    std::vector<UnknownWord> unknown = speller.FindUnknownWords(splitter, text);
    EXPECT_THAT(unknown, ElementsAre(UnknownWord{u"comand", 18, 6}, UnknownWord{u"wrld", 31, 4},
                                     UnknownWord{u"teh", 36, 3}, UnknownWord{u"lnik", 58, 4}));
    DocumentSplitter again(kMarkdown);
    unknown = speller.FindUnknownWords(again, u"*zorblat*", kFalse);
    EXPECT_THAT(unknown, ElementsAre(UnknownWord{u"zorblat", 1, 7}));
  });
}

}  // namespace
}  // namespace quenvar
