// Emacs as a real Ispell client: flyspell-buffer with ispell-program-name
// set to the tool must mark exactly the misspelled words, both when it asks
// word by word through the pipe (a short buffer) and when it first runs the
// tool with -l (a buffer over flyspell-large-region, 1,000 characters).

#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"

namespace quenvar::cli::testing {
namespace {

using ::testing::Contains;
using ::testing::Not;
using ::testing::StartsWith;

const std::vector<std::string> kSampleMisspellings = {
    "recieve", "tommorow", "seperate", "occured", "goverment", "definately"};

std::string Sample() {
  return ReadBytes((SourceDir() / "examples" / "sample.txt").string());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class EmacsTest : public ::testing::Test {
 protected:
  // Runs flyspell-buffer over text in a batch Emacs that reads no init file
  // and has a home of its own. Returns the marked words; the argument lists
  // the tool was started with are in Invocations().
  std::vector<std::string> MarkedWords(const std::string& text, bool utf8) {
    const std::string file = home_.File("text.txt");
    WriteBytes(file, text);
    // The speller Emacs runs is a script that notes its arguments.
    const std::string speller = home_.File("speller");
    WriteBytes(speller, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + Log() +
                            "'\nexec '" + ToolPath() + "' \"$@\"\n");
    ::chmod(speller.c_str(), 0755);
    std::vector<std::string> args = {
        "/usr/bin/emacs", "-Q", "--batch", "-l",
        (SourceDir() / "tests" / "cli" / "flyspell_marks.el").string(), speller,
        file};
    if (utf8) args.push_back("utf-8");
    const ProgramResult result = RunProgram(
        args, "",
        {{"HOME", home_.path()}, {"XDG_DATA_HOME", home_.File("data")},
         {"EMACSLOADPATH", std::nullopt}, {"EMACS_SOCKET_NAME", std::nullopt}},
        300);
    EXPECT_EQ(result.status, 0) << result.err;
    return Lines(result.out);
  }

  // Runs ispell-buffer over text, choosing each first suggestion, and
  // returns the corrected text.
  std::string CorrectedByIspell(const std::string& text) {
    const std::string file = home_.File("text.txt");
    WriteBytes(file, text);
    const ProgramResult result = RunProgram(
        {"/usr/bin/emacs", "-Q", "--batch", "-l",
         (SourceDir() / "tests" / "cli" / "ispell_first_choice.el").string(), ToolPath(), file},
        "",
        {{"HOME", home_.path()}, {"XDG_DATA_HOME", home_.File("data")},
         {"EMACSLOADPATH", std::nullopt}, {"EMACS_SOCKET_NAME", std::nullopt}},
        300);
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  }

  std::vector<std::string> Invocations() { return Lines(ReadBytes(Log())); }

 private:
  std::string Log() const { return home_.File("invocations.log"); }

  TempDir home_;
};

std::vector<std::string> Repeated(const std::vector<std::string>& words, int times) {
  std::vector<std::string> all;
  for (int i = 0; i < times; ++i) all.insert(all.end(), words.begin(), words.end());
  return all;
}

TEST_F(EmacsTest, ShortBufferIsCheckedWordByWordThroughThePipe) {
  ASSERT_LT(Sample().size(), 1000u);
  EXPECT_EQ(MarkedWords(Sample(), true), kSampleMisspellings);
  const std::vector<std::string> invocations = Invocations();
  EXPECT_THAT(invocations, Contains("-vv"));
  EXPECT_THAT(invocations, Contains(StartsWith("-a ")));
  EXPECT_THAT(invocations, Not(Contains(StartsWith("-l"))));
}

TEST_F(EmacsTest, LongBufferIsListedWithDashLFirst) {
  std::string text;
  for (int i = 0; i < 5; ++i) text += Sample() + "\n";
  EXPECT_EQ(MarkedWords(text, true), Repeated(kSampleMisspellings, 5));
  EXPECT_THAT(Invocations(), Contains(StartsWith("-l")));
}

// Emacs's own default for a plain Ispell sends ISO-8859-1; "café" must
// neither break the list nor be reported.
TEST_F(EmacsTest, DefaultSettingSendsIsoLatin1) {
  std::string text;
  for (int i = 0; i < 5; ++i) text += Sample() + "\n";
  EXPECT_EQ(MarkedWords(text, false), Repeated(kSampleMisspellings, 5));
  EXPECT_THAT(Invocations(), Contains(StartsWith("-l")));
}

// The marks around a word are not part of it, so a correction keeps them.
TEST_F(EmacsTest, IspellBufferKeepsQuotesGuillemetsAndDashes) {
  EXPECT_EQ(CorrectedByIspell("He said \u201cteh\u201d and 'wrld' and \u00abrecieve\u00bb now, "
                              "wrld\u2014teh.\n"),
            "He said \u201cthe\u201d and 'world' and \u00abreceive\u00bb now, "
            "world\u2014the.\n");
}

}  // namespace
}  // namespace quenvar::cli::testing
