#include "cli/personal_dictionary.h"

#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "cli/text_encoding.h"

namespace quenvar::cli {

std::filesystem::path PersonalDictionaryPath(const std::string& option) {
  if (!option.empty()) return option;
  try {
    return ToUtf8(PersonalDictionaryFile());
  } catch (const Error& e) {
    throw std::runtime_error(std::string(e.what()) + "; name one with --personal");
  }
}

void LoadPersonalDictionary(SpellCheck& speller,
                            const std::filesystem::path& file) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (status.type() == std::filesystem::file_type::not_found) return;
  if (status.type() == std::filesystem::file_type::directory) {
    throw std::system_error(EISDIR, std::generic_category(), file.string());
  }
  speller.LoadCustom(FromUtf8(file.string()));
}

std::vector<std::u16string> AddToPersonalDictionary(
    const std::filesystem::path& file,
    const std::vector<std::u16string>& words) {
  return SpellCheck().AddToCustomFile(words, FromUtf8(file.string()));
}

int RunAdd(const std::vector<std::string>& words,
           const std::filesystem::path& file, Spelling spelling) {
  std::vector<std::u16string> candidates;
  for (const std::string& text : words) {
    std::u16string word = DecodeArgument(text);
    if (const std::optional<std::string> reason = WhyCustomFileCannotKeep(word)) {
      std::cerr << "quenvarspell: \"" << text << "\" " << *reason
                << "; nothing added\n";
      return 2;
    }
    candidates.push_back(std::move(word));
  }
  // The file's words are left to AddToPersonalDictionary, which reads the
  // file once, under its lock.
  SpellCheck speller;
  speller.Init();
  std::vector<std::u16string> fresh;
  for (const std::u16string& word : candidates) {
    if (speller.CheckWord(word, spelling)) continue;
    speller.AddToCustom(word);  // a repeated argument is then accepted
    fresh.push_back(word);
  }
  const std::vector<std::u16string> added = AddToPersonalDictionary(file, fresh);
  auto next_added = added.begin();
  for (const std::u16string& word : candidates) {
    if (next_added != added.end() && *next_added == word) {
      std::cout << ToUtf8(word) << ": added to " << file.string() << '\n';
      ++next_added;
    } else {
      std::cout << ToUtf8(word) << ": already accepted\n";
    }
  }
  return 0;
}

}  // namespace quenvar::cli
