#include "dictionary/custom_list.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "component/file_io.h"
#include "component/text.h"
#include "component/thread_state.h"
#include "dictionary/text_lines.h"

namespace quenvar {
namespace {

std::string FileOrDefault(std::u16string_view sFile) {
  return sFile.empty() ? DefaultCustomFile() : FileSystemPath(sFile);
}

// The absolute path of the file that holds this code.
std::string ComponentFile() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&DefaultCustomFile), &info) != 0 &&
      info.dli_fname != nullptr && info.dli_fname[0] != '\0') {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
  }
  // The main program reports the name it was started by, which may not be
  // a path; the kernel knows its file.
  char executable[PATH_MAX];
  const ssize_t length =
      ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) throw Error("cannot find the component's own file");
  return std::string(executable, static_cast<std::size_t>(length));
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
  State().sCustomWords.Add(sWord);
}

bool IsInCustom(std::u16string_view sWord) {
  return State().sCustomWords.ContainsLowered(ToLower(sWord));
}

void SaveCustom(std::u16string_view sFile) {
  const std::string path = FileOrDefault(sFile);
  std::string content;
  if (const WordArray& words = State().sCustomWords.words()) {
    for (const std::u16string& word : *words) {
      content += ToSingleByte(word);
      content += "\r\n";
    }
  }
  ReplaceFile(path, content, *State().file_system);
}

void LoadCustom(std::u16string_view sFile) { LoadCustomFile(FileOrDefault(sFile)); }

void LoadCustomFile(const std::string& path) {
  const std::string content = ReadFile(path, *State().file_system);
  std::vector<std::u16string> words;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) words.push_back(FromSingleByte(line));
    return true;
  });
  if (!words.empty()) State().sCustomWords.Replace(std::move(words));
}

std::string DefaultCustomFile() {
  const std::string file = ComponentFile();
  return file.substr(0, file.rfind('/')) + "/qzvcust.dic";
}

}  // namespace quenvar
