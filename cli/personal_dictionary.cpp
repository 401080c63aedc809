#include "cli/personal_dictionary.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "base/file_system.h"
#include "base/text.h"
#include "cli/text_encoding.h"

namespace quenvar::cli {
namespace {

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  if (const passwd* entry = ::getpwuid(::getuid())) {
    if (entry->pw_dir != nullptr && *entry->pw_dir != '\0') return entry->pw_dir;
  }
  throw std::runtime_error(
      "cannot find the home folder for the personal dictionary; name one "
      "with --personal");
}

}  // namespace

std::filesystem::path PersonalDictionaryPath(const std::string& option) {
  if (!option.empty()) return option;
  std::filesystem::path data_home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) data_home = xdg;
  if (data_home.empty() || data_home.is_relative()) {
    data_home = HomeFolder() / ".local" / "share";
  }
  return data_home / "quenvarspell" / "personal.dic";
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

std::optional<std::string> UnstorableReason(std::u16string_view word) {
  if (word.size() < 2) return "is shorter than two characters";
  if (word.find_first_of(u"\r\n") != std::u16string_view::npos) {
    return "holds a line break";
  }
  if (!std::all_of(word.begin(), word.end(),
                   [](char16_t c) { return SingleByteOf(c) >= 0; })) {
    return "holds characters that Windows-1252 lacks";
  }
  return std::nullopt;
}

std::vector<std::u16string> AddToPersonalDictionary(
    const std::filesystem::path& file,
    const std::vector<std::u16string>& words) {
  std::vector<std::u16string> added;
  if (words.empty()) return added;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
  // Other processes adding to the file wait until this one has read it,
  // merged and saved, so that no one's words are lost.
  const FileSystem files;
  const FileLock lock(files, file.string());
  std::exception_ptr failure;
  // A fresh thread has a custom list of its own, empty, and no main word
  // list: CheckWord there accepts only the file's words (and the short and
  // numeric words that every list accepts).
  std::thread worker([&] {
    try {
      SpellCheck speller;
      LoadPersonalDictionary(speller, file);
      for (const std::u16string& word : words) {
        if (speller.CheckWord(word)) continue;
        speller.AddToCustom(word);
        added.push_back(word);
      }
      if (!added.empty()) speller.SaveCustom(FromUtf8(file.string()));
    } catch (...) {
      failure = std::current_exception();
    }
  });
  worker.join();
  if (failure) std::rethrow_exception(failure);
  return added;
}

int RunAdd(const std::vector<std::string>& words,
           const std::filesystem::path& file) {
  std::vector<std::u16string> candidates;
  for (const std::string& text : words) {
    std::u16string word = DecodeArgument(text);
    if (const std::optional<std::string> reason = UnstorableReason(word)) {
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
    if (speller.CheckWord(word)) continue;
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
