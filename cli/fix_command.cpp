#include "cli/fix_command.h"

#include <iostream>
#include <stdexcept>
#include <variant>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "cli/file_access.h"
#include "cli/personal_dictionary.h"
#include "cli/text_encoding.h"

namespace quenvar::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The user's replacements, and every word that the dialog may have added to
// the custom list: the words shown, and the replacements.
struct Choices {
  std::vector<Replacement> replacements;
  std::vector<std::u16string> candidates;
};

// Shows the dialog for each word of text, a document in format, that
// spelling does not accept, in text order: Cancel ends the walk, Ignore and
// a choice of one character change nothing. A word is checked again when
// its turn comes, so one added with Add Word is accepted from then on.
Choices Walk(SpellCheck& speller, Spelling spelling, DocumentFormat format,
             std::u16string_view text) {
  Choices choices;
  DocumentSplitter splitter(format);
  // The words the lists reject before the walk: adding words only shortens it.
  for (const UnknownWord& unknown : speller.FindUnknownWords(splitter, text, spelling)) {
    if (speller.CheckWord(unknown.word, spelling)) continue;
    choices.candidates.push_back(unknown.word);
    const Variant choice = speller.ShowSuggestionDialog(unknown.word);
    if (choice == Variant(kFalse)) break;
    const auto* chosen = std::get_if<std::u16string>(&choice);
    if (chosen != nullptr && chosen->size() > 1 && *chosen != unknown.word) {
      choices.replacements.push_back(
          {unknown.offset, std::u16string(text.substr(unknown.offset, unknown.length)), *chosen});
      choices.candidates.push_back(*chosen);
    }
  }
  return choices;
}

// The candidates that the custom list accepts and the main list does not
// under spelling: the words added with Add Word during the walk (and any
// that the personal dictionary already held, which adding again leaves as
// they are).
std::vector<std::u16string> AddedWords(SpellCheck& speller, Spelling spelling,
                                       const std::vector<std::u16string>& candidates) {
  std::vector<std::u16string> added;
  for (const std::u16string& word : candidates) {
    if (speller.CheckWord(word, spelling, kTrue) &&
        !speller.CheckWord(word, spelling, kFalse) && !WhyCustomFileCannotKeep(word)) {
      added.push_back(word);
    }
  }
  return added;
}

}  // namespace

std::u16string ApplyReplacements(std::u16string_view text,
                                 const std::vector<Replacement>& replacements) {
  std::u16string result;
  result.reserve(text.size());
  std::size_t copied = 0;  // text before this offset is in result
  for (const Replacement& r : replacements) {
    if (r.offset < copied || text.substr(r.offset, r.word.size()) != r.word) {
      throw std::logic_error("fix: a replaced word is not where it was reported");
    }
    result.append(text, copied, r.offset - copied);
    result += r.replacement;
    copied = r.offset + r.word.size();
  }
  result.append(text, copied);
  return result;
}

int RunFix(const std::string& path, const std::filesystem::path& personal,
           Spelling spelling) {
  const std::string original = ReadFileBytes(path);
  const std::u16string text = DecodeDocument(path, original);

  SpellCheck speller;
  speller.Init();
  LoadPersonalDictionary(speller, personal);
  const Choices choices = Walk(speller, spelling, FormatOfFileName(path), text);

  // The words the user added are theirs whatever becomes of the document,
  // so they are saved first.
  const std::vector<std::u16string> added = AddToPersonalDictionary(
      personal, AddedWords(speller, spelling, choices.candidates));
  const auto report_added = [&] {
    for (const std::u16string& word : added) {
      std::cout << ToUtf8(word) << ": added to " << personal.string() << '\n';
    }
  };
  if (!choices.replacements.empty()) {
    std::string fixed = original.starts_with(kByteOrderMark)
                            ? std::string(kByteOrderMark)
                            : std::string();
    fixed += ToUtf8(ApplyReplacements(text, choices.replacements));
    try {
      if (ReadFileBytes(path) != original) {
        throw std::runtime_error(path +
                                 ": changed on disk while it was being fixed; "
                                 "left as it is");
      }
      ReplaceFile(FileSystem(), path, fixed);
    } catch (...) {
      report_added();  // saved all the same
      throw;
    }
  }
  std::cout << path << ": " << choices.replacements.size()
            << (choices.replacements.size() == 1 ? " word" : " words")
            << " replaced\n";
  report_added();
  return 0;
}

}  // namespace quenvar::cli
