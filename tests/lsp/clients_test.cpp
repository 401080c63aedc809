// Real editors as clients of the server: Neovim's built-in client and
// Emacs's eglot with flymake, each on the same Markdown file, applying a
// code action as their users do.

#include <string>

#include <gtest/gtest.h>

#include "tests/cli/tool_runner.h"

namespace quenvar::lsp::testing {
namespace {

using cli::testing::ProgramResult;
using cli::testing::ReadBytes;
using cli::testing::RunProgram;
using cli::testing::SourceDir;
using cli::testing::TempDir;
using cli::testing::ToolPath;
using cli::testing::WriteBytes;

class ClientsTest : public ::testing::Test {
 protected:
  ClientsTest() {
    WriteBytes(Notes(), ReadBytes((SourceDir() / "tests/lsp/data/notes.md").string()));
  }

  std::string Notes() const { return home_.File("notes.md"); }
  std::string Personal() const { return home_.File("personal.dic"); }
  std::string Script(const char* name) const {
    return (SourceDir() / "tests/lsp/clients" / name).string();
  }

  ProgramResult Run(const std::vector<std::string>& argv) {
    return RunProgram(argv, "",
                      {{"HOME", home_.path()},
                       {"XDG_CONFIG_HOME", home_.File("config")},
                       {"XDG_DATA_HOME", home_.File("data")},
                       {"XDG_STATE_HOME", home_.File("state")},
                       {"QUENVARSPELL_TOOL", ToolPath()},
                       {"PERSONAL", Personal()},
                       {"EMACSLOADPATH", std::nullopt}},
                      120);
  }

  TempDir home_;
};

// The prose misspellings are marked, not the code block's or the URL's;
// the first action corrects, "Add" saves the word and takes its mark away,
// and an edited line is checked again.
TEST_F(ClientsTest, NeovimMarksCorrectsAddsAndRechecks) {
  const ProgramResult result =
      Run({"/usr/bin/nvim", "--headless", "--clean", "-S", Script("neovim_session.lua"), Notes()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "marked: goverment recieve tommorow seperate\n"
            "corrected: # Notes on the government\n"
            "marked: recieve tommorow seperate\n"
            "marked: tommorow seperate\n"
            "marked: tommorow seperate mispeling\n");
  EXPECT_EQ(ReadBytes(Personal()), "recieve\r\n");
}

TEST_F(ClientsTest, EglotMarksThroughFlymakeAndAppliesTheCorrection) {
  const ProgramResult result = Run({"/usr/bin/emacs", "-Q", "--batch", "-l",
                                    Script("eglot_session.el"), ToolPath(), Personal(), Notes()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "marked: goverment recieve tommorow seperate\n"
            "corrected: # Notes on the government\n"
            "marked: recieve tommorow seperate\n");
}

}  // namespace
}  // namespace quenvar::lsp::testing
