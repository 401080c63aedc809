// The tool's commands, run as a user or an editor runs them: as a
// subprocess, judged by what it prints and its exit status.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"

namespace quenvar::cli::testing {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ToolTest : public ::testing::Test {
 protected:
  // Runs the tool with environment variables set as in locale (which
  // names a spelling for the others unset; none by default).
  ProgramResult Run(std::vector<std::string> args, const std::string& input = "",
                    const std::map<std::string, std::string>& locale = {}) {
    args.insert(args.begin(), ToolPath());
    std::map<std::string, std::optional<std::string>> env = {
        {"HOME", home_.path()}, {"XDG_DATA_HOME", home_.File("data")}};
    for (const char* name : {"DICTIONARY", "LC_ALL", "LC_MESSAGES", "LANG"}) {
      const auto value = locale.find(name);
      env[name] = value == locale.end() ? std::nullopt : std::optional(value->second);
    }
    return RunProgram(args, input, env);
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = home_.File(name);
    WriteBytes(path, bytes);
    return path;
  }

  std::string DefaultPersonal() const {
    return home_.File("data") + "/quenvarspell/personal.dic";
  }

  TempDir home_;
};

// The pipe's answers, each cut before its suggestions.
std::vector<std::string> AnswerHeads(const std::string& out) {
  std::vector<std::string> answers;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    answers.push_back(line.substr(0, line.find(':')));
  }
  return answers;
}

TEST_F(ToolTest, CheckReportsLinesAndColumnsInCharacters) {
  // "é" is two bytes and one character, the emoji two UTF-16 units and one
  // character; the CR of a CR LF line end belongs to no column.
  const std::string file = Write(
      "notes.txt",
      "The café is nice.\r\nOne \xF0\x9F\x98\x80 recieve, xqzxqz\n\nlast wrld");
  const ProgramResult result = Run({"check", file});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  EXPECT_THAT(result.out, StartsWith(file + ":2:7: recieve: "));
  EXPECT_THAT(result.out, HasSubstr("receive"));
  EXPECT_THAT(result.out, HasSubstr("\n" + file + ":2:16: xqzxqz: no suggestions\n"));
  EXPECT_THAT(result.out, HasSubstr("\n" + file + ":4:6: wrld: "));
}

TEST_F(ToolTest, CheckReadsStandardInputAndExitsZeroForCleanText) {
  EXPECT_EQ(Run({"check"}, "The house is small.\n").status, 0);
  ProgramResult result = Run({"check", "-"}, "helo\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.out, StartsWith("<stdin>:1:1: helo: "));
  // A byte order mark is not a character of the first word.
  result = Run({"check"}, "\xEF\xBB\xBFhouse xqzxqz");
  EXPECT_EQ(result.out, "<stdin>:1:7: xqzxqz: no suggestions\n");
}

TEST_F(ToolTest, UnreadableInputsAreReportedAndTheOthersStillChecked) {
  const std::string bad = Write("bad.txt", "fine words \xC3\x28 here");
  const std::string good = Write("good.txt", "wrld\n");
  const std::string missing = home_.File("missing.txt");
  const ProgramResult result =
      Run({"check", missing, home_.path(), bad, good});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.out, StartsWith(good + ":1:1: wrld: "));
  EXPECT_EQ(result.err,
            "quenvarspell: " + missing + ": No such file or directory\n"
            "quenvarspell: " + home_.path().string() + ": Is a directory\n"
            "quenvarspell: " + bad + ": invalid UTF-8 at byte 11\n");
  EXPECT_EQ(Run({"list", bad}).status, 2);
  EXPECT_EQ(Run({"check"}, "\xFF").err, "quenvarspell: <stdin>: invalid UTF-8 at byte 0\n");
}

// Input is read in pieces of about a megabyte; positions and byte numbers
// run on across them, also within a line longer than a piece.
TEST_F(ToolTest, LargeInputsKeepTheirPositions) {
  std::string text;
  while (text.size() < 1500000) text += "ab ";
  text += "wrld\n";
  text += "second " + std::string(1200000, 'x') + " wrld\n";
  while (text.size() < 4000000) text += "ab ";
  text += "\xC3\x28";
  const std::string file = Write("big.txt", text);
  const ProgramResult result = Run({"check", file});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.out, StartsWith(file + ":1:1500001: wrld: world, "));
  EXPECT_THAT(result.out, Not(HasSubstr("xxx")));  // longer than any word
  EXPECT_THAT(result.out, HasSubstr("\n" + file + ":2:1200009: wrld: world, "));
  EXPECT_EQ(result.err, "quenvarspell: " + file + ": invalid UTF-8 at byte " +
                            std::to_string(text.size() - 2) + "\n");
}

// A failed write to standard output stops the run with an error.
TEST_F(ToolTest, WriteErrorsAreReported) {
  const std::string file = Write("words.txt", "wrld\n");
  for (const std::string& args : std::vector<std::string>{
           "list " + file, "check " + file, "suggest recieve", "--version", "-a"}) {
    const ProgramResult result =
        RunProgram({"/bin/sh", "-c", "exec " + ToolPath() + " " + args + " >/dev/full"},
                   "wrld\n", {{"HOME", home_.path()}});
    EXPECT_EQ(result.status, 2) << args;
    EXPECT_EQ(result.err,
              "quenvarspell: cannot write standard output: No space left on device\n")
        << args;
  }
  // A "#" that could not save, with no later one that did, fails the session.
  EXPECT_EQ(Run({"-a", "-p", "/proc/none/personal.dic"}, "*qxword\n#\n").status, 2);
}

TEST_F(ToolTest, ListPrintsEveryOccurrenceAndNothingElse) {
  const ProgramResult result =
      Run({"list"}, "Teh cat and teh dog. Wrld, wrld!\nhouse xqzñx\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Teh\nteh\nWrld\nwrld\nxqzñx\n");
  EXPECT_EQ(result.err, "");
}

// Misspellings with accented letters are reported whole; English's accented
// words pass, also with accents the list's entry lacks (naive, resume).
TEST_F(ToolTest, ListReportsAccentedMisspellingsAndAcceptsAccentedWords) {
  const std::string misspelt = "r\u00E9summe fa\u00E7adde pi\u00F1atta d\u00E9j\u00E0\u00E0 "
                               "Z\u00FCrihc na\u00EFvve x\u00E9qzt";
  const ProgramResult result =
      Run({"list"}, misspelt + "\ncaf\u00E9 attach\u00E9 blas\u00E9 na\u00EFve "
                                "R\u00E9sum\u00E9 fa\u00E7ade's\n");
  std::string expected = misspelt + "\n";
  std::replace(expected.begin(), expected.end(), ' ', '\n');
  EXPECT_EQ(result.out, expected);
}

TEST_F(ToolTest, SuggestPrintsOneLinePerWord) {
  const ProgramResult result = Run({"suggest", "recieve", "xqzxqz"});
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, StartsWith("recieve: "));
  EXPECT_THAT(result.out, HasSubstr("receive"));
  EXPECT_THAT(result.out, HasSubstr("\nxqzxqz: no suggestions\n"));
  EXPECT_EQ(Run({"suggest"}).status, 2);
}

TEST_F(ToolTest, AddedWordsAreSavedAndAcceptedByLaterRuns) {
  ProgramResult result = Run({"add", "Zorblat", "house", "Zorblat"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Zorblat: added to " + DefaultPersonal() +
                            "\nhouse: already accepted\nZorblat: already accepted\n");
  EXPECT_EQ(ReadBytes(DefaultPersonal()), "Zorblat\r\n");
  EXPECT_EQ(Run({"check"}, "zorblat ZORBLAT").status, 0);

  result = Run({"add", "Quux", "zorblat"});
  EXPECT_EQ(result.out, "Quux: added to " + DefaultPersonal() +
                            "\nzorblat: already accepted\n");
  EXPECT_EQ(ReadBytes(DefaultPersonal()), "Zorblat\r\nQuux\r\n");
}

TEST_F(ToolTest, AddRefusesWordsTheFileCannotKeep) {
  for (const char* word : {"x", "\xCE\xA9mega", "two\nlines"}) {
    const ProgramResult result = Run({"add", "fine", word});
    EXPECT_EQ(result.status, 2) << word;
    EXPECT_THAT(result.err, HasSubstr("nothing added")) << word;
  }
  EXPECT_FALSE(std::filesystem::exists(DefaultPersonal()));
  // Windows-1252 holds these, the euro sign included.
  EXPECT_EQ(Run({"add", "xqz\xC3\xAFx\xE2\x82\xAC"}).status, 0);
  EXPECT_EQ(ReadBytes(DefaultPersonal()), "xqz\xEFx\x80\r\n");
}

// Processes adding to one dictionary at once take turns: every word each of
// them reported as added is in the file afterwards.
TEST_F(ToolTest, ConcurrentAddsKeepEveryWord) {
  const std::string personal = home_.File("shared.dic");
  std::vector<std::vector<std::string>> words(4);
  for (std::size_t writer = 0; writer < words.size(); ++writer) {
    for (char round = 'a'; round < 'g'; ++round) {
      words[writer].push_back("qx" + std::to_string(writer) + round + "zword");
    }
  }
  std::vector<std::thread> writers;
  for (const std::vector<std::string>& mine : words) {
    writers.emplace_back([this, &personal, &mine] {
      for (const std::string& word : mine) {
        EXPECT_EQ(Run({"add", "--personal", personal, word}).status, 0);
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  std::string all;
  for (const std::vector<std::string>& mine : words) {
    for (const std::string& word : mine) all += word + '\n';
  }
  EXPECT_EQ(Run({"list", "--personal", personal}, all).out, "");
}

// Only regular files are read or replaced, through symbolic links, which
// stay links; anything else is refused at once, without waiting on a FIFO.
TEST_F(ToolTest, PersonalDictionaryMustBeARegularFile) {
  const std::string fifo = home_.File("fifo.dic");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"add", "--personal", fifo, "qxword"},
        std::vector<std::string>{"list", "--personal", fifo},
        std::vector<std::string>{"-a", "-p", fifo}}) {
    const ProgramResult result = Run(args, "qxword\n");
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_THAT(result.err, HasSubstr("not a regular file: '" + fifo + "'"));
  }
  struct stat info;
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  const std::string link = home_.File("link.dic");
  std::filesystem::create_symlink("elsewhere/target.dic", link);
  std::filesystem::create_directory(home_.File("elsewhere"));
  EXPECT_EQ(Run({"add", "--personal", link, "qxword"}).status, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(home_.File("elsewhere/target.dic")), "qxword\r\n");
  // The lock lives beside the name given, not beside whatever it links to.
  EXPECT_TRUE(std::filesystem::is_regular_file(link + ".lock"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home_.File("elsewhere")),
                          std::filesystem::directory_iterator()),
            1);
}

// A FIFO named like the lock file is refused at once, by add and by the
// pipe's #, instead of waiting for a writer that never comes.
TEST_F(ToolTest, AFifoInPlaceOfTheLockFileIsRefused) {
  const std::string personal = Write("mine.dic", "");
  ASSERT_EQ(::mkfifo((personal + ".lock").c_str(), 0600), 0);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"add", "--personal", personal, "qxword"},
        std::vector<std::string>{"-a", "-p", personal}}) {
    const ProgramResult result = Run(args, "*qxword\n#\n");
    EXPECT_EQ(result.status, 2) << args[0];
    EXPECT_THAT(result.err, HasSubstr("the lock file is not a regular file: '" + personal +
                                      ".lock'"));
  }
  EXPECT_EQ(ReadBytes(personal), "");
}

// A lock that another user keeps makes add give up after a few seconds,
// saying why, instead of waiting without end.
TEST_F(ToolTest, ALockAnotherUserKeepsEndsTheAddWithAMessage) {
  if (::geteuid() != 0 || !std::filesystem::exists("/usr/bin/setpriv")) {
    GTEST_SKIP() << "running as another user takes root and setpriv";
  }
  ASSERT_EQ(::chmod(home_.path().c_str(), 0755), 0);
  const std::string shared = home_.File("shared");
  std::filesystem::create_directory(shared);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string personal = shared + "/team.dic";
  std::thread holder([&] {
    RunProgram({"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                "flock", personal + ".lock", "sh", "-c",
                "touch \"$0/held\"; while [ ! -e \"$0/done\" ]; do sleep 0.1; done", shared},
               "", {}, 120);
  });
  for (int wait = 0; wait < 3000 && !std::filesystem::exists(shared + "/held"); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const ProgramResult result = Run({"add", "--personal", personal, "qxword"});
  WriteBytes(shared + "/done", "");
  holder.join();
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, HasSubstr("another process has held the lock for 5 seconds: '" +
                                    personal + ".lock'"));
  EXPECT_FALSE(std::filesystem::exists(personal));
}

// A dictionary with a second name is not split by a save, which would leave
// the old words under the other name.
TEST_F(ToolTest, AddRefusesADictionaryWithOtherHardLinks) {
  const std::string personal = Write("mine.dic", "first\r\n");
  const std::string other = home_.File("also.dic");
  std::filesystem::create_hard_link(personal, other);
  const ProgramResult result = Run({"add", "--personal", personal, "qxword"});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, HasSubstr("has 2 hard links"));
  EXPECT_EQ(ReadBytes(personal), "first\r\n");
  EXPECT_EQ(std::filesystem::hard_link_count(personal), 2u);
}

TEST_F(ToolTest, PersonalOptionAndDefaultLocation) {
  const std::string mine = home_.File("mine.dic");
  EXPECT_EQ(Run({"add", "--personal", mine, "Zorblat"}).status, 0);
  EXPECT_EQ(ReadBytes(mine), "Zorblat\r\n");
  EXPECT_FALSE(std::filesystem::exists(DefaultPersonal()));
  EXPECT_EQ(Run({"--personal", mine, "check"}, "zorblat").status, 0);
  EXPECT_EQ(Run({"check", "--personal", mine}, "zorblat").status, 0);
  EXPECT_EQ(Run({"check"}, "zorblat").status, 1);

  // Without XDG_DATA_HOME the dictionary lives under ~/.local/share.
  const ProgramResult result =
      RunProgram({ToolPath(), "add", "Zorblat"}, "",
                 {{"HOME", home_.path()}, {"XDG_DATA_HOME", std::nullopt}});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadBytes(home_.File(".local/share/quenvarspell/personal.dic")),
            "Zorblat\r\n");

  const ProgramResult bad = Run({"check", "--personal", home_.path()}, "house");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.err, "quenvarspell: " + home_.path().string() + ": Is a directory\n");
}

TEST_F(ToolTest, CommandLineUsage) {
  ProgramResult result = Run({"--version"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "quenvarspell " QUENVAR_VERSION "\n");
  for (const char* command : {"check", "list", "suggest", "add", "pipe", "fix"}) {
    result = Run({command, "--help"});
    EXPECT_EQ(result.status, 0) << command;
    EXPECT_THAT(result.out, HasSubstr("--personal FILE")) << command;
  }
  EXPECT_EQ(Run({}).status, 2);
  EXPECT_EQ(Run({"spell"}).status, 2);
  EXPECT_EQ(Run({"check", "--bogus"}).status, 2);
}

TEST_F(ToolTest, EveryCommandFollowsTheSpellingItIsGiven) {
  const std::string text = "colour color organise organize\n";
  EXPECT_EQ(Run({"list"}, text).out, "");
  EXPECT_EQ(Run({"list", "-d", "en"}, text).out, "");
  EXPECT_EQ(Run({"list", "-d", "en_US"}, text).out, "colour\norganise\n");
  EXPECT_EQ(Run({"list", "--lang", "en_GB"}, text).out, "color\norganize\n");
  EXPECT_EQ(Run({"list", "--lang=en_GB-ize"}, text).out, "color\norganise\n");
  EXPECT_EQ(Run({"-d", "en_CA", "list"}, text).out, "color\norganise\n");
  EXPECT_EQ(Run({"-l", "-d", "american"}, text).out, "colour\norganise\n");
  EXPECT_THAT(Run({"check", "-d", "en_AU"}, text).out,
              StartsWith("<stdin>:1:8: color: colour"));
  EXPECT_THAT(Run({"suggest", "-d", "en_US", "colour"}).out, StartsWith("colour: color, "));
  EXPECT_THAT(Run({"-a", "-d", "en_GB"}, "color colour\n").out,
              HasSubstr("\n& color 10 0: colour, "));

  // Added under one spelling, a word is accepted under every one.
  EXPECT_EQ(Run({"add", "-d", "en_GB", "colour", "color"}).out,
            "colour: already accepted\ncolor: added to " + DefaultPersonal() + "\n");
  EXPECT_EQ(Run({"list", "-d", "en_GB"}, text).out, "organize\n");

  const ProgramResult unknown = Run({"list", "-d", "en_NZ"}, text);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_THAT(unknown.err, HasSubstr("no dictionary \"en_NZ\""));
  EXPECT_THAT(Run({"list", "--help"}).out, HasSubstr("en_GB-ize"));
}

TEST_F(ToolTest, TheDefaultSpellingComesFromTheEnvironment) {
  const std::string text = "colour color\n";
  const auto listed = [&](const std::map<std::string, std::string>& locale) {
    return Run({"list"}, text, locale).out;
  };
  EXPECT_EQ(listed({{"LANG", "en_US.UTF-8"}}), "colour\n");
  EXPECT_EQ(listed({{"LANG", "en_GB.UTF-8"}, {"LC_MESSAGES", "en_US.UTF-8"}}), "colour\n");
  EXPECT_EQ(listed({{"LC_MESSAGES", "en_US"}, {"LC_ALL", "en_GB.utf8@euro"}}), "color\n");
  EXPECT_EQ(listed({{"LC_ALL", "en_US.UTF-8"}, {"DICTIONARY", "en_GB-ize"}}), "color\n");
  // The first that is set decides, also when it names no English spelling.
  EXPECT_EQ(listed({{"LC_ALL", ""}, {"LC_MESSAGES", "de_DE.UTF-8"}, {"LANG", "en_US"}}), "");
  EXPECT_EQ(listed({{"LANG", "C.UTF-8"}}), "");
  EXPECT_EQ(listed({{"LANG", "en_NZ.UTF-8"}}), "");
  // The command line comes first.
  EXPECT_EQ(Run({"list", "-d", "en"}, text, {{"LANG", "en_US.UTF-8"}}).out, "");
}

TEST_F(ToolTest, FixRefusesWhatItCannotRewrite) {
  const std::string bad = Write("bad.txt", "wrld \xE2\x82");
  ProgramResult result = Run({"fix", bad});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.err, "quenvarspell: " + bad + ": invalid UTF-8 at byte 5\n");
  EXPECT_EQ(ReadBytes(bad), "wrld \xE2\x82");

  EXPECT_EQ(Run({"fix", home_.File("missing.txt")}).status, 2);

  // Without a display the dialog cannot open; the file stays as it was.
  const std::string text = Write("text.txt", "wrld\n");
  result = RunProgram({ToolPath(), "fix", text}, "",
                      {{"HOME", home_.path()},
                       {"DISPLAY", std::nullopt},
                       {"WAYLAND_DISPLAY", std::nullopt},
                       {"QT_QPA_PLATFORM", std::nullopt}});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, StartsWith("quenvarspell: "));
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
  EXPECT_EQ(ReadBytes(text), "wrld\n");
}

TEST_F(ToolTest, PipeSpeaksIspell) {
  const ProgramResult result = Run(
      {"-a", "-m", "-B", "-C", "-S", "-d", "american", "-Tutf8", "--encoding=utf-8"},
      "!\n+\n-\n~tex\n$$cr\n%\n"   // modes: no answers
      "^helo house\n"               // escaped: offsets count the ^
      "house xqzxqz\r\n"            // CR LF from a client on Windows
      "\n"
      "!\n^house wrld\n%\n"        // terse: no "*"
      "^caf\xE9 xqzxq\xE9\n");      // ISO-8859-1, answered in it
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  const std::string banner = "@(#) International Ispell Version 3.1.20 "
                             "(but really QuenvarSpell " QUENVAR_VERSION ")\n";
  ASSERT_THAT(result.out, StartsWith(banner));
  const std::string answers = result.out.substr(banner.size());
  EXPECT_THAT(answers, StartsWith("& helo "));
  EXPECT_THAT(answers, HasSubstr(" 1: hello"));
  // Ranked suggestions, ten at most, likeliest first.
  EXPECT_THAT(answers, HasSubstr("\n*\n\n*\n# xqzxqz 6\n\n\n& wrld 10 7: world, "));
  EXPECT_THAT(answers, HasSubstr("\n\n*\n"));  // café, read as ISO-8859-1
  EXPECT_THAT(answers, HasSubstr(" xqzxq\xE9 "));
}

// The Ispell flags clients pass, TeX mode, "&" and what is no word.
TEST_F(ToolTest, PipeTexModeAndIspellFlags) {
  const std::string mine = home_.File("mine.dic");
  const ProgramResult result =
      Run({"-a", "-t", "-P", "-m", "-n", "-x", "-W", "2", "-w", "-", "-p", mine},
          "^xq recieve 1984 --- \xF0\x9F\x98\x80 tset-case\n"
          "^\\cite[p.~5]{knuth84} wrold $a+b$ \\emph{teh} % commnt\n"
          "-\n^\\emph{x}\n+\n^\\emph{x}\n&Quenvarword\n#\n");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(AnswerHeads(result.out),
            (std::vector<std::string>{
                "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell "
                QUENVAR_VERSION ")",
                "*", "& recieve 10 4", "& tset 10 23", "*", "",  // a compound's unknown part
                "& wrold 10 22", "& teh 10 40", "",
                "",  // plain text: \emph{x} is code
                "*", ""}));
  EXPECT_EQ(ReadBytes(mine), "quenvarword\r\n");
}

// -H and --mode choose the format; what a line leaves open goes on.
TEST_F(ToolTest, PipeHtmlAndMarkdownModes) {
  const std::string input =
      "^<p title=\"Helo\">wrld <code>xqz</code> &eacute;tude\n^<!-- hiden\n^ -->teh\n";
  std::vector<std::string> heads = AnswerHeads(Run({"-a", "-H"}, input).out);
  EXPECT_EQ(std::vector<std::string>(heads.begin() + 1, heads.end()),
            (std::vector<std::string>{"& Helo 10 11", "& wrld 10 17", "*", "", "", "& teh 10 5",
                                      ""}));
  heads = AnswerHeads(
      Run({"-a", "--mode", "markdown"}, "!\n^```\n^wrld\n^```\n^*wrld* `teh`\n").out);
  EXPECT_EQ(std::vector<std::string>(heads.begin() + 1, heads.end()),
            (std::vector<std::string>{"", "", "", "& wrld 10 2", ""}));
  EXPECT_EQ(Run({"-l", "--mode", "tex"}, "\\emph{wrld} $teh$\n").out, "wrld\n");
  EXPECT_EQ(Run({"-l", "-t"}, "\\begin{verbatim}\nteh\n\\end{verbatim} wrld\n").out, "wrld\n");
}

// Aspell refuses such -W values; accepting them accepted every word.
TEST_F(ToolTest, PipeRefusesBadWordLengths) {
  for (const char* value : {"-1", "99999999999999999999999", "abc", "3x"}) {
    const ProgramResult result = Run({"-a", "-W", value}, "wrld\n");
    EXPECT_EQ(result.status, 2) << value;
    EXPECT_EQ(result.out, "") << value;
    EXPECT_THAT(result.err, HasSubstr("-W")) << value;
  }
  EXPECT_THAT(Run({"-a", "-W", "3"}, "teh wrld\n").out, HasSubstr("\n*\n& wrld 10 4"));
}

// An endless line is read and answered in pieces: memory stays bounded,
// offsets stay exact.
TEST_F(ToolTest, PipeAnswersAnEndlessLineInPieces) {
  std::string line;
  while (line.size() < 3000000) line += "house ";
  const std::size_t offset = line.size();
  line += "wrld";
  const ProgramResult result = Run({"-a"}, "!\n^" + line + "\n^teh\n");
  EXPECT_THAT(result.out, HasSubstr("\n& wrld 10 " + std::to_string(offset + 1) + ":"));
  EXPECT_THAT(result.out, HasSubstr("\n\n& teh 10 1:"));
  EXPECT_EQ(Run({"-l"}, line).out, "wrld\n");
}

TEST_F(ToolTest, PipeKeepsPersonalAndSessionWordsApart) {
  const std::string mine = home_.File("mine.dic");
  const ProgramResult result =
      Run({"-a", "-p", mine},
          "@Sessionword\n*Keepword\n^sessionword keepword\n#\n*Laterword\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, HasSubstr(")\n*\n*\n\n"));
  // "#" saved the word added with "*" before it, and nothing else.
  EXPECT_EQ(ReadBytes(mine), "Keepword\r\n");
  EXPECT_EQ(Run({"-l", "-p", mine}, "keepword sessionword\n").out, "sessionword\n");
  EXPECT_THAT(Run({"pipe", "--personal", mine}, "keepword\n").out, EndsWith(")\n*\n\n"));
}

TEST_F(ToolTest, IspellListAndVersion) {
  ProgramResult result = Run({"-vv"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "@(#) International Ispell Version 3.1.20 "
                        "(but really QuenvarSpell " QUENVAR_VERSION ")\n");
  result = Run({"-l", "-B"}, "Teh cat. wrld\ncaf\xE9 xqzxq\xE9\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "Teh\nwrld\nxqzxq\xE9\n");
}

// The real documents of tests/data/documents, read in their extension's
// format: every misspelling planted in their prose is flagged.
TEST_F(ToolTest, RealDocumentsHaveEveryPlantedMisspellingFlagged) {
  const std::filesystem::path folder = SourceDir() / "tests" / "data" / "documents";
  std::istringstream planted(ReadBytes((folder / "planted.txt").string()));
  std::map<std::string, std::string> listed;
  int count = 0;
  for (std::string line; std::getline(planted, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::string file = line.substr(0, line.find('\t'));
    const std::string word = line.substr(file.size() + 1);
    if (!listed.contains(file)) listed[file] = "\n" + Run({"list", (folder / file).string()}).out;
    EXPECT_THAT(listed[file], HasSubstr("\n" + word + "\n")) << file;
    ++count;
  }
  EXPECT_GE(count, 30);
  EXPECT_EQ(listed.size(), 6u);
}

TEST_F(ToolTest, EveryModeFindsTheSameWordsInTheSample) {
  const std::string sample = (SourceDir() / "examples" / "sample.txt").string();
  const std::string text = ReadBytes(sample);
  const std::string listed = Run({"list", sample}).out;
  EXPECT_EQ(Run({"-l"}, text).out, listed);
  // check's lines are "FILE:LINE:COLUMN: WORD: suggestions".
  std::istringstream report(Run({"check", sample}).out);
  std::string checked;
  for (std::string line; std::getline(report, line);) {
    const std::size_t word = line.find(": ") + 2;
    checked += line.substr(word, line.find(':', word) - word) + "\n";
  }
  EXPECT_EQ(checked, listed);
  EXPECT_EQ(listed, "recieve\ntommorow\nseperate\noccured\ngoverment\ndefinately\n");
}

}  // namespace
}  // namespace quenvar::cli::testing
