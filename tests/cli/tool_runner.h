// Running the quenvarspell tool, or another program, as a subprocess.

#ifndef QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_
#define QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace quenvar::cli::testing {

// What a finished program left: its exit status (128 + the signal number
// when a signal ended it) and everything it wrote.
struct ProgramResult {
  int status;
  std::string out;
  std::string err;
};

// Runs argv[0] with argv, feeding input to its standard input, in this
// process's environment changed by env (a value of std::nullopt removes the
// variable). Kills the program after timeout_seconds and fails the test.
ProgramResult RunProgram(
    const std::vector<std::string>& argv, const std::string& input,
    const std::map<std::string, std::optional<std::string>>& env,
    int timeout_seconds = 60);

// The tool built beside these tests.
std::string ToolPath();

// The repository's root folder.
std::filesystem::path SourceDir();

// The shared test helpers for temp folders and file bytes.
using quenvar::testing::ReadBytes;
using quenvar::testing::TempDir;
using quenvar::testing::WriteBytes;

}  // namespace quenvar::cli::testing

#endif  // QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_
