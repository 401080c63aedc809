// The words the language server accepts: the component's (the main list and
// the personal dictionary, which is this thread's custom list), the
// project's word list, and the words ignored for the session.

#ifndef QUENVARSPELL_LSP_VOCABULARY_H_
#define QUENVARSPELL_LSP_VOCABULARY_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/spell_check.h>

namespace quenvar::lsp {

// Lives on one thread, whose lists it uses; it loads the built-in list
// unless the thread has.
class Vocabulary {
 public:
  Vocabulary();

  // The spelling CheckWord and the corrections follow (kEnglish unless set).
  void SetSpelling(Spelling spelling) { spelling_ = spelling; }

  // True when CheckWord accepts word in the spelling, or the project's list or the ignored
  // words hold it (letter case and a possessive 's aside).
  bool Accepts(std::u16string_view word);

  // The words of text, the next piece of splitter's document, that it
  // does not accept (SpellCheck::FindUnknownWords, less the project's and
  // the ignored words).
  std::vector<UnknownWord> UnknownWords(DocumentSplitter& splitter, std::u16string_view text);

  // Up to count corrections of word in the spelling, likeliest first.
  std::vector<std::u16string> Corrections(const std::u16string& word, std::int32_t count);

  // Replaces the custom list with the words of file when file exists.
  // Throws std::system_error when it exists and cannot be read.
  void LoadPersonal(const std::filesystem::path& file);

  // Merges word into file under the lock that `quenvarspell add` takes
  // (AddToCustomFile) and accepts it. Throws Error for a word the file
  // cannot keep and std::system_error when the file cannot be written;
  // the word is then accepted for the session only.
  void AddToPersonal(const std::u16string& word, const std::filesystem::path& file);

  void Ignore(std::u16string_view word);
  void SetProjectWords(const std::vector<std::u16string>& words);

 private:
  SpellCheck speller_;
  Spelling spelling_ = Spelling::kEnglish;
  std::unordered_set<std::u16string> project_;  // in lower case
  std::unordered_set<std::u16string> ignored_;  // in lower case
};

// The words of a project word list: one a line, UTF-8, blanks around them
// and empty lines ignored. A file that does not exist holds none. Throws
// std::system_error when it exists and cannot be read.
std::vector<std::u16string> ReadWordList(const std::filesystem::path& file);

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_VOCABULARY_H_
