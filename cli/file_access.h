// Reading the tool's inputs, with errors that name the file.

#ifndef QUENVARSPELL_CLI_FILE_ACCESS_H_
#define QUENVARSPELL_CLI_FILE_ACCESS_H_

#include <string>
#include <string_view>

namespace quenvar::cli {

// Returns the whole content of the file at path. Throws std::system_error
// whose what() is "PATH: reason" when the file cannot be opened or read, and
// with EISDIR for a directory.
std::string ReadFileBytes(const std::string& path);

// Returns all of standard input. Throws std::system_error ("<stdin>: reason")
// when it cannot be read.
std::string ReadStandardInput();

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_FILE_ACCESS_H_
