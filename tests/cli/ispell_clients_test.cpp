// Ispell clients others wrote, driving the tool as their speller: Emacs's
// ispell-buffer on LaTeX (against Aspell, the reference for how the
// protocol behaves), Lingua::Ispell, and Test::Spelling under prove.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"

namespace quenvar::cli::testing {
namespace {

using ::testing::HasSubstr;

std::string ClientFile(const std::string& name) {
  return (SourceDir() / "tests" / "cli" / "clients" / name).string();
}

class IspellClientsTest : public ::testing::Test {
 protected:
  ProgramResult Run(const std::vector<std::string>& args,
                    const std::map<std::string, std::optional<std::string>>& env = {}) {
    std::map<std::string, std::optional<std::string>> all = {
        {"HOME", home_.path()}, {"XDG_DATA_HOME", home_.File("data")}};
    all.insert(env.begin(), env.end());
    return RunProgram(args, "", all, 300);
  }

  TempDir home_;
};

// Emacs in latex-mode sends "+" and stops only where the speller says: at
// the misspelled words, not at control sequences, reference keys or math.
TEST_F(IspellClientsTest, EmacsStopsAtTheSameLatexWordsAsWithAspell) {
  const std::string paper = home_.File("paper.tex");
  WriteBytes(paper,
             "\\documentclass[a4paper]{article}\n\\usepackage[utf8]{inputenc}\n"
             "\\begin{document}\n\\section{Introdution}\n\\label{sec:intro}\n"
             "As \\cite{knuth84} shows in \\textbf{teh} book, $x^2 + y$ is\n"
             "\\emph{recieved} well. See~\\ref{sec:intro} and \\url{http://x.org/wrold}.\n"
             "% a commnt\n\\end{document}\n");
  const auto stops = [&](const std::string& speller) {
    const ProgramResult result = Run({"/usr/bin/emacs", "-Q", "--batch", "-l",
                                      ClientFile("ispell_stops.el"), speller, paper});
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
  };
  EXPECT_EQ(stops(ToolPath()), "Introdution\nteh\nrecieved\n");
  EXPECT_EQ(stops(ToolPath()), stops("/usr/bin/aspell"));
}

TEST_F(IspellClientsTest, LinguaIspellGetsItsAnswersAndPersonalFile) {
  const std::string personal = home_.File("words.dic");
  const ProgramResult result =
      Run({"/usr/bin/perl", ClientFile("lingua_ispell.pl"), ToolPath(), personal});
  EXPECT_EQ(result.status, 0) << result.err;
  // Terse mode: correct words, numbers and dashes get no line.
  EXPECT_EQ(result.out,
            "miss Teh The Tea They\nmiss recieve receive relieve received\nnone xqzxqz\n");
  // "*" as typed, "&" in lower case, "@" for the session only.
  EXPECT_EQ(ReadBytes(personal), "Quenvar\r\nflurbix\r\n");
}

TEST_F(IspellClientsTest, TestSpellingUnderProve) {
  const auto prove = [&](const std::string& text) {
    const std::string pod = home_.File("doc.pod");
    WriteBytes(pod, "=head1 NAME\n\n" + text + "\n\n=cut\n");
    return Run({"/usr/bin/prove", "-v", ClientFile("spelling.t")},
               {{"QUENVARSPELL", ToolPath()}, {"SPELLING_POD", pod}});
  };
  EXPECT_EQ(prove("The receipt of the house").status, 0);
  const ProgramResult result = prove("The recieve of teh house");
  EXPECT_NE(result.status, 0);
  EXPECT_THAT(result.out + result.err, HasSubstr("1: recieve, teh"));
}

}  // namespace
}  // namespace quenvar::cli::testing
