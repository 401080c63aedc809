#include "dictionary/custom_list.h"

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

}  // namespace quenvar
