#include "dictionary/custom_list.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <unordered_set>

#include "base/code_location.h"
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_lines.h"

namespace quenvar {
namespace {

std::string FileOrDefault(std::u16string_view sFile) {
  return sFile.empty() ? DefaultCustomFile() : FileSystemPath(sFile);
}

}  // namespace

void CustomWordList::Add(std::u16string word) {
  lowered_.push_back(ToLower(word));
  if (!words_) words_.emplace();
  words_->push_back(std::move(word));
}

void CustomWordList::Replace(std::vector<std::u16string> words) {
  std::vector<std::u16string> lowered;
  lowered.reserve(words.size());
  for (const std::u16string& word : words) lowered.push_back(ToLower(word));
  words_ = std::move(words);
  lowered_ = std::move(lowered);
}

bool CustomWordList::ContainsLowered(std::u16string_view lowered) const {
  for (const std::u16string& entry : lowered_) {
    if (entry == lowered) return true;
  }
  return false;
}

void AddToCustom(const std::u16string& sWord) {
  ThreadCustomWords().Add(sWord);
}

bool IsInCustom(std::u16string_view sWord) {
  return ThreadCustomWords().ContainsLowered(ToLower(sWord));
}

void SaveCustom(std::u16string_view sFile) {
  const std::string path = FileOrDefault(sFile);
  std::string content;
  if (const WordArray& words = ThreadCustomWords().words()) {
    for (const std::u16string& word : *words) {
      content += ToSingleByte(word);
      content += "\r\n";
    }
  }
  ReplaceFile(ThreadFileSystem(), path, content);
}

void LoadCustom(std::u16string_view sFile) { LoadCustomFile(FileOrDefault(sFile)); }

void LoadCustomFile(const std::string& path) {
  const std::string content = ReadFile(ThreadFileSystem(), path);
  std::vector<std::u16string> words;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) words.push_back(FromSingleByte(line));
    return true;
  });
  if (!words.empty()) ThreadCustomWords().Replace(std::move(words));
}

std::string DefaultCustomFile() {
  const std::string file =
      FileHoldingCode(reinterpret_cast<const void*>(&DefaultCustomFile));
  if (file.empty()) throw Error("cannot find the component's own file");
  return file.substr(0, file.rfind('/')) + "/qzvcust.dic";
}

std::optional<std::string> ReasonCustomFileCannotKeep(std::u16string_view word) {
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

std::vector<std::u16string> MergeIntoCustomFile(const std::string& path,
                                                std::span<const std::u16string> words) {
  for (const std::u16string& word : words) {
    if (const std::optional<std::string> reason = ReasonCustomFileCannotKeep(word)) {
      throw Error("\"" + ToUtf8(word) + "\" " + *reason + "; nothing added to '" + path +
                  "'");
    }
  }
  std::vector<std::u16string> added;
  if (words.empty()) return added;
  const FileSystem& files = ThreadFileSystem();
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) CreateFolders(files, path.substr(0, slash));
  // Other processes adding to the file wait until this one has read it,
  // merged and saved, so that no one's words are lost.
  const FileLock lock(files, path);
  std::string content;
  try {
    content = ReadFile(files, path);
  } catch (const std::system_error& e) {
    if (e.code() != std::errc::no_such_file_or_directory) throw;
  }
  std::unordered_set<std::u16string> held;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) held.insert(ToLower(FromSingleByte(line)));
    return true;
  });
  std::string lines;
  for (const std::u16string& word : words) {
    if (!held.insert(ToLower(word)).second) continue;
    lines += ToSingleByte(word);
    lines += "\r\n";
    added.push_back(word);
  }
  if (added.empty()) return added;
  if (!content.empty() && content.back() != '\n' && content.back() != '\r') content += "\r\n";
  ReplaceFile(files, path, content + lines);
  return added;
}

std::string PersonalDictionaryPath() {
  std::string data_home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) data_home = xdg;
  if (!data_home.starts_with('/')) {
    std::string home;
    if (const char* variable = std::getenv("HOME")) home = variable;
    if (home.empty()) {
      if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
      }
    }
    if (home.empty()) {
      throw Error("cannot find the home folder for the personal dictionary");
    }
    data_home = home + "/.local/share";
  }
  return data_home + "/quenvarspell/personal.dic";
}

}  // namespace quenvar
