// The commands that report on texts and words without changing anything:
// `check`, `list` and `suggest`.

#ifndef QUENVARSPELL_CLI_REPORT_COMMANDS_H_
#define QUENVARSPELL_CLI_REPORT_COMMANDS_H_

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/types.h>

namespace quenvar::cli {

// The commands check, and suggest from, the words spelling accepts.

// `check`: for every word of each input that is in no word list, prints
// "NAME:LINE:COLUMN: WORD: s1, s2, ..." (or "...: WORD: no suggestions") on
// standard output, in text order; lines and columns are 1-based characters.
// An input is a file name, or "-" for standard input, which is also read
// when inputs is empty. Each input is read in mode, or without one in the
// format its name's extension names (FormatOfFileName; standard input
// plain text). An input that cannot be read or is not UTF-8 is reported on
// standard error and the others are still checked. Returns 0 when nothing
// was found, 1 when something was, 2 when an input failed.
int RunCheck(const std::vector<std::string>& inputs,
             const std::filesystem::path& personal,
             std::optional<DocumentFormat> mode, Spelling spelling);

// `list`: prints each occurrence of a word that is in no word list, one per
// line, in text order, and nothing else. Inputs and failures as for
// RunCheck. Returns 0, or 2 when an input failed.
int RunList(const std::vector<std::string>& inputs,
            const std::filesystem::path& personal,
            std::optional<DocumentFormat> mode, Spelling spelling);

// `suggest`: prints "WORD: s1, s2, ..." or "WORD: no suggestions" for each
// word (UTF-8). Returns 0.
int RunSuggest(const std::vector<std::string>& words,
               const std::filesystem::path& personal, Spelling spelling);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_REPORT_COMMANDS_H_
