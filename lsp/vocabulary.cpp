#include "lsp/vocabulary.h"

#include <system_error>

#include "base/file_system.h"
#include "base/text.h"

namespace quenvar::lsp {
namespace {

// word in lower case, and without a possessive 's (or ’s) when it has one.
std::u16string Folded(std::u16string_view word, bool drop_possessive) {
  if (drop_possessive && word.size() > 2 && (word.ends_with(u"'s") || word.ends_with(u"\u2019s"))) {
    word.remove_suffix(2);
  }
  return ToLower(word);
}

bool Holds(const std::unordered_set<std::u16string>& words, std::u16string_view word) {
  if (words.empty()) return false;
  return words.contains(Folded(word, false)) || words.contains(Folded(word, true));
}

}  // namespace

Vocabulary::Vocabulary() {
  if (!speller_.IsMainListLoaded()) speller_.Init();
}

bool Vocabulary::Accepts(std::u16string_view word) {
  return speller_.CheckWord(std::u16string(word), spelling_) || Holds(ignored_, word) ||
         Holds(project_, word);
}

std::vector<UnknownWord> Vocabulary::UnknownWords(DocumentSplitter& splitter,
                                                  std::u16string_view text) {
  std::vector<UnknownWord> unknown = speller_.FindUnknownWords(splitter, text, spelling_);
  std::erase_if(unknown, [&](const UnknownWord& word) {
    return Holds(ignored_, word.word) || Holds(project_, word.word);
  });
  return unknown;
}

std::vector<std::u16string> Vocabulary::Corrections(const std::u16string& word,
                                                    std::int32_t count) {
  WordArray corrections = speller_.GetRankedSuggestions(word, spelling_, count);
  return corrections ? std::move(*corrections) : std::vector<std::u16string>{};
}

void Vocabulary::LoadPersonal(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::exists(file, error)) return;
  speller_.LoadCustom(FromUtf8(file.string()));
}

void Vocabulary::AddToPersonal(const std::u16string& word,
                               const std::filesystem::path& file) {
  if (const std::optional<std::string> reason = WhyCustomFileCannotKeep(word)) {
    throw Error("\"" + ToUtf8(word) + "\" " + *reason);
  }
  speller_.AddToCustom(word);
  speller_.AddToCustomFile({word}, FromUtf8(file.string()));
}

void Vocabulary::Ignore(std::u16string_view word) { ignored_.insert(Folded(word, false)); }

void Vocabulary::SetProjectWords(const std::vector<std::u16string>& words) {
  project_.clear();
  for (const std::u16string& word : words) project_.insert(Folded(word, false));
}

std::vector<std::u16string> ReadWordList(const std::filesystem::path& file) {
  std::string content;
  try {
    content = ReadFile(FileSystem(), file.string());
  } catch (const std::system_error& e) {
    if (e.code() == std::errc::no_such_file_or_directory) return {};
    throw;
  }
  std::vector<std::u16string> words;
  std::string_view rest = content;
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
    words.push_back(FromUtf8(line));
  }
  return words;
}

}  // namespace quenvar::lsp
