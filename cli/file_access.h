// Reading the tool's inputs and replacing a file in one step, with errors
// that name the file.

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

// Replaces the content of the existing file at path (or, for a symbolic
// link, of the file it names) with bytes: writes a new file with the same
// permission bits in the same folder, flushes it to disk and renames it over
// the old one, so that the file holds the old or the new content, never a
// mix. Throws std::system_error naming the path; the old file is then
// unchanged and the new one removed.
void ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_FILE_ACCESS_H_
