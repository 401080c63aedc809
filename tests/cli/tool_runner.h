// Running the quenvarspell tool, or another program, as a subprocess.

#ifndef QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_
#define QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

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

// A fresh folder, removed with everything in it when the object ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace quenvar::cli::testing

#endif  // QUENVARSPELL_TESTS_CLI_TOOL_RUNNER_H_
