// The user's personal dictionary: where it lives, loading it into the
// component's custom list, adding words to it, and the `add` command.

#ifndef QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_
#define QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/spell_check.h>

namespace quenvar::cli {

// The personal dictionary file: option when it is not empty, otherwise
// $XDG_DATA_HOME/quenvarspell/personal.dic, where an unset, empty or relative
// XDG_DATA_HOME stands for ~/.local/share. Throws std::runtime_error when the
// home folder is needed and unknown.
std::filesystem::path PersonalDictionaryPath(const std::string& option);

// Loads file into speller's custom list (the component's LoadCustom) when it
// exists; a file that does not exist yet is an empty dictionary. Throws
// std::system_error when the file exists but cannot be read.
void LoadPersonalDictionary(SpellCheck& speller, const std::filesystem::path& file);

// Why word cannot be kept in a personal dictionary file, or std::nullopt when
// it can. The file holds one word per line in Windows-1252 and skips lines
// shorter than two characters when it is read, so such words, words with a
// line break and words with characters outside Windows-1252 would not come
// back as they were added.
std::optional<std::string> UnstorableReason(std::u16string_view word);

// Adds to file those of words that it does not accept yet (it ignores letter
// case, as the custom list does) and returns them, in order. Creates the
// file, and its folder, only when there is a word to add. Holds the lock of
// the file (FileLock) from reading it to saving it, so that processes adding
// at once each keep every word. Runs the component
// on a thread of its own, so the caller's custom list, which may hold words
// accepted for one session only, is neither saved nor changed; words another
// process added to the file meanwhile are kept. Throws std::system_error when
// the file cannot be read or written. REQUIRES: every word is storable.
std::vector<std::u16string> AddToPersonalDictionary(
    const std::filesystem::path& file, const std::vector<std::u16string>& words);

// The `add` command: adds each word (UTF-8) that is not accepted yet to the
// personal dictionary file and reports each on standard output, "WORD: added
// to FILE" or "WORD: already accepted". Adds nothing and returns 2 after
// reporting on standard error when a word cannot be stored; returns 0
// otherwise. Throws the component's and std::system_error for file errors.
int RunAdd(const std::vector<std::string>& words,
           const std::filesystem::path& file);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_PERSONAL_DICTIONARY_H_
