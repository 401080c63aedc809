// The custom word list: the host's and the user's own words, kept per thread
// in the order added, and saved to and loaded from a plain text file.

#ifndef QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_
#define QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/types.h>

namespace quenvar {

class CustomWordList {
 public:
  // The words exactly as added or loaded; std::nullopt until the first.
  const WordArray& words() const { return words_; }

  // words(), each lower-cased, in the same order (empty without storage).
  const std::vector<std::u16string>& lowered() const { return lowered_; }

  void Add(std::u16string word);

  // Replaces every word with words. REQUIRES: !words.empty().
  void Replace(std::vector<std::u16string> words);

  // True when some word, lower-cased, equals lowered exactly.
  bool ContainsLowered(std::u16string_view lowered) const;

 private:
  WordArray words_;
  std::vector<std::u16string> lowered_;  // words_, each lower-cased
};

// This thread's custom list, created without storage on first use.
CustomWordList& ThreadCustomWords();

// Appends sWord, unchanged, to this thread's custom list.
void AddToCustom(const std::u16string& sWord);

// True when this thread's custom list holds sWord, ignoring letter case.
bool IsInCustom(std::u16string_view sWord);

// Writes this thread's custom list to sFile (empty: DefaultCustomFile()), one
// Windows-1252 line per word, each ended by CR LF, replacing the file
// atomically. Throws std::system_error; the old file is then unchanged.
void SaveCustom(std::u16string_view sFile);

// Runs LoadCustomFile on sFile, or on DefaultCustomFile() when it is empty.
void LoadCustom(std::u16string_view sFile);

// Replaces this thread's custom list with the lines of two or more characters
// of the file at path, when it has any. Throws std::system_error when the
// file cannot be read; the list is then unchanged.
void LoadCustomFile(const std::string& path);

// The folder of the library (or program) holding the component, followed by
// "/qzvcust.dic". Throws Error when that file cannot be found.
std::string DefaultCustomFile();

// Why word cannot be kept in a custom file as it is, or std::nullopt when it
// can: the file holds one Windows-1252 line a word and skips lines shorter
// than two characters when it is read.
std::optional<std::string> ReasonCustomFileCannotKeep(std::u16string_view word);

// Appends to the custom file at path a line for each of words that neither
// the file nor an earlier word holds yet (letter case ignored), keeping every
// byte the file had, and returns those words in order. Holds the file's lock
// (FileLock) from reading to replacing it, so that processes adding at once
// each keep every word; creates the file and its folder only when there is a
// word to add. Throws Error, writing nothing, when a word cannot be kept, and
// std::system_error when the file cannot be read or replaced.
std::vector<std::u16string> MergeIntoCustomFile(const std::string& path,
                                                std::span<const std::u16string> words);

// The user's personal dictionary, shared by the tool and the editors' hosts:
// $XDG_DATA_HOME/quenvarspell/personal.dic, where an unset, empty or relative
// XDG_DATA_HOME stands for ~/.local/share. Throws Error when the home folder
// is unknown.
std::string PersonalDictionaryPath();

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_
