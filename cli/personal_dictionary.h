// The user's personal dictionary: where it lives, loading it into the
// component's custom list, adding words to it, and the `add` command.

#ifndef QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_
#define QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/spell_check.h>

namespace quenvar::cli {

// The personal dictionary file: option when it is not empty, otherwise
// PersonalDictionaryFile(). Throws std::runtime_error when the home folder
// is needed and unknown.
std::filesystem::path PersonalDictionaryPath(const std::string& option);

// Loads file into speller's custom list (the component's LoadCustom) when it
// exists; a file that does not exist yet is an empty dictionary. Throws
// std::system_error when the file exists but cannot be read.
void LoadPersonalDictionary(SpellCheck& speller, const std::filesystem::path& file);

// Adds to file those of words that it does not hold yet (SpellCheck's
// AddToCustomFile, under the file's lock) and returns them, in order; the
// caller's custom list, which may hold words accepted for one session only,
// is neither saved nor changed. Throws Error for a word the file cannot keep
// and std::system_error when the file cannot be read or written.
std::vector<std::u16string> AddToPersonalDictionary(
    const std::filesystem::path& file, const std::vector<std::u16string>& words);

// The `add` command: adds each word (UTF-8) that spelling does not accept
// yet to the personal dictionary file and reports each on standard output,
// "WORD: added to FILE" or "WORD: already accepted". Adds nothing and
// returns 2 after reporting on standard error when a word cannot be stored;
// returns 0 otherwise. Throws the component's and std::system_error for
// file errors.
int RunAdd(const std::vector<std::string>& words,
           const std::filesystem::path& file, Spelling spelling);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_
