// The `fix` command: interactive correction of a file in the suggestion
// dialog.

#ifndef QUENVARSPELL_CLI_FIX_COMMAND_H_
#define QUENVARSPELL_CLI_FIX_COMMAND_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/types.h>

namespace quenvar::cli {

// A word of a text and what replaces it.
struct Replacement {
  std::size_t offset;  // of the word, in UTF-16 code units
  std::u16string word;
  std::u16string replacement;
};

// Returns text with each replacement made. REQUIRES: replacements are in
// ascending order of offset and do not overlap; each offset is that of the
// original text, whatever earlier replacements did to the length. Throws
// std::logic_error when a word does not stand at its offset.
std::u16string ApplyReplacements(std::u16string_view text,
                                 const std::vector<Replacement>& replacements);

// `fix`: walks the words of the UTF-8 file at path, read in the format its
// name's extension names (FormatOfFileName), showing the suggestion dialog
// for each word spelling does not accept (FindUnknownWords), makes every
// replacement the user chooses, and writes the result back in one step
// (ReplaceFile) when something changed; Cancel in the dialog ends the walk
// and keeps the replacements chosen before it. Words the user added with
// Add Word are saved to the personal dictionary file.
// Reports what it did on standard output and returns 0. Throws, leaving the
// file as it was, when it cannot be read, is not UTF-8, changed on disk
// during the walk, or the dialog cannot be shown.
int RunFix(const std::string& path, const std::filesystem::path& personal,
           Spelling spelling);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_FIX_COMMAND_H_
