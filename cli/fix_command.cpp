#include "cli/fix_command.h"

#include <cstdint>
#include <iostream>
#include <stdexcept>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "cli/file_access.h"
#include "cli/personal_dictionary.h"
#include "cli/text_encoding.h"

namespace quenvar::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Records the user's replacements, and every word that the dialog may have
// added to the custom list: the words reported, and the replacements.
class FixEvents : public SpellCheckEvents {
 public:
  void SpellWordNotInDic(const std::u16string& sOriginalWord, std::int32_t,
                         Boolean&) override {
    candidates.push_back(sOriginalWord);
  }
  void SpellReplace(const std::u16string& sOriginalWord,
                    const std::u16string& sReplacementWord,
                    std::int32_t lPosStart, WordArray&) override {
    replacements.push_back({static_cast<std::size_t>(lPosStart), sOriginalWord,
                            sReplacementWord});
    candidates.push_back(sReplacementWord);
  }

  std::vector<Replacement> replacements;
  std::vector<std::u16string> candidates;
};

// The candidates that the custom list accepts and the main list does not:
// the words added with Add Word during the walk (and any that the personal
// dictionary already held, which adding again leaves as they are).
std::vector<std::u16string> AddedWords(SpellCheck& speller,
                                       const std::vector<std::u16string>& candidates) {
  std::vector<std::u16string> added;
  for (const std::u16string& word : candidates) {
    if (speller.CheckWord(word, kTrue) && !speller.CheckWord(word, kFalse) &&
        !WhyCustomFileCannotKeep(word)) {
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

int RunFix(const std::string& path, const std::filesystem::path& personal) {
  const std::string original = ReadFileBytes(path);
  std::u16string text = DecodeDocument(path, original);

  SpellCheck speller;
  speller.Init();
  LoadPersonalDictionary(speller, personal);
  FixEvents events;
  const std::uint32_t cookie = speller.Advise(events);
  speller.CheckText(text, kTrue);
  speller.Unadvise(cookie);

  // The words the user added are theirs whatever becomes of the document,
  // so they are saved first.
  const std::vector<std::u16string> added =
      AddToPersonalDictionary(personal, AddedWords(speller, events.candidates));
  const auto report_added = [&] {
    for (const std::u16string& word : added) {
      std::cout << ToUtf8(word) << ": added to " << personal.string() << '\n';
    }
  };
  if (!events.replacements.empty()) {
    std::string fixed = original.starts_with(kByteOrderMark)
                            ? std::string(kByteOrderMark)
                            : std::string();
    fixed += ToUtf8(ApplyReplacements(text, events.replacements));
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
  std::cout << path << ": " << events.replacements.size()
            << (events.replacements.size() == 1 ? " word" : " words")
            << " replaced\n";
  report_added();
  return 0;
}

}  // namespace quenvar::cli
