#include <quenvarspell/spell_check.h>

#include <algorithm>
#include <utility>

#include "component/widgets_library.h"
#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "base/file_system.h"
#include "dictionary/main_dictionary.h"
#include "dictionary/word_list.h"
#include "suggest/ranked_suggestions.h"
#include "suggest/suggestions.h"
#include "textcheck/check_text.h"

namespace quenvar {

// Hands each event to every sink connected at that moment, in connection
// order. A sink that is disconnected by an earlier sink's handler during the
// same event does not receive it.
class SpellCheck::ConnectedSinks : public SpellCheckEvents {
 public:
  explicit ConnectedSinks(const SpellCheck& object) : object_(object) {}

  void SpellReplace(const std::u16string& sOriginalWord,
                    const std::u16string& sReplacementWord,
                    std::int32_t lPosStart, WordArray& sSuggestions) override {
    ForEachSink([&](SpellCheckEvents& sink) {
      sink.SpellReplace(sOriginalWord, sReplacementWord, lPosStart,
                        sSuggestions);
    });
  }
  void SpellWordNotInDic(const std::u16string& sOriginalWord,
                         std::int32_t lPosStart, Boolean& Cancel) override {
    ForEachSink([&](SpellCheckEvents& sink) {
      sink.SpellWordNotInDic(sOriginalWord, lPosStart, Cancel);
    });
  }

 private:
  template <typename Raise>
  void ForEachSink(Raise raise) {
    std::vector<std::uint32_t> cookies;
    for (const Connection& c : object_.connections_) cookies.push_back(c.cookie);
    for (std::uint32_t cookie : cookies) {
      const auto& connections = object_.connections_;
      const auto it = std::find_if(
          connections.begin(), connections.end(),
          [cookie](const Connection& c) { return c.cookie == cookie; });
      if (it != connections.end()) raise(*it->sink);
    }
  }

  const SpellCheck& object_;
};

std::optional<Spelling> ParseSpelling(std::string_view tag) {
  static constexpr std::pair<std::string_view, Spelling> kTags[] = {
      {"en", Spelling::kEnglish},          {"en_US", Spelling::kAmerican},
      {"en_GB", Spelling::kBritish},       {"en_GB-ise", Spelling::kBritish},
      {"en_GB-ize", Spelling::kBritishIze}, {"en_CA", Spelling::kCanadian},
      {"en_AU", Spelling::kAustralian},
  };
  for (const auto& [name, spelling] : kTags) {
    if (name == tag) return spelling;
  }
  return std::nullopt;
}

SpellCheck::SpellCheck() = default;
SpellCheck::~SpellCheck() = default;

Boolean SpellCheck::CheckWord(const std::u16string& sWord,
                              Boolean bCheckCustom) {
  return quenvar::CheckWord(sWord, bCheckCustom != 0) ? kTrue : kFalse;
}

WordArray SpellCheck::GetSuggestions(const std::u16string& sWord,
                                     Boolean bCheckCustom) {
  return quenvar::GetSuggestions(sWord, bCheckCustom != 0);
}

WordArray SpellCheck::GetRankedSuggestions(const std::u16string& sWord,
                                           std::int32_t lMaxCount,
                                           Boolean bCheckCustom) {
  return GetRankedSuggestions(sWord, Spelling::kEnglish, lMaxCount, bCheckCustom);
}

Boolean SpellCheck::CheckWord(const std::u16string& sWord, Spelling spelling,
                              Boolean bCheckCustom) {
  return quenvar::CheckWord(sWord, spelling, bCheckCustom != 0) ? kTrue : kFalse;
}

WordArray SpellCheck::GetRankedSuggestions(const std::u16string& sWord,
                                           Spelling spelling, std::int32_t lMaxCount,
                                           Boolean bCheckCustom) {
  return quenvar::GetRankedSuggestions(sWord, spelling, lMaxCount, bCheckCustom != 0);
}

Variant SpellCheck::AddToCustom(const std::u16string& sWord) {
  quenvar::AddToCustom(sWord);
  return {};
}

Variant SpellCheck::SaveCustom(const std::u16string& sFile) {
  quenvar::SaveCustom(sFile);
  return {};
}

Boolean SpellCheck::LoadCustom(const std::u16string& sFile) {
  quenvar::LoadCustom(sFile);
  return kFalse;
}

Variant SpellCheck::ShowSuggestionDialog(const std::u16string& sWord) {
  return quenvar::ShowSuggestionDialog(sWord);
}

Variant SpellCheck::CheckText(std::u16string& sText, Boolean ShowDialog) {
  ConnectedSinks sinks(*this);
  const WalkUserInterface ui{&quenvar::ShowSuggestionDialog,
                             PendingEventsProcessor()};
  quenvar::CheckText(sText, ShowDialog != 0, sinks, ui);
  return {};
}

std::vector<UnknownWord> SpellCheck::FindUnknownWords(DocumentSplitter& splitter,
                                                      std::u16string_view text,
                                                      Boolean bCheckCustom) {
  return FindUnknownWords(splitter, text, Spelling::kEnglish, bCheckCustom);
}

std::vector<UnknownWord> SpellCheck::FindUnknownWords(DocumentSplitter& splitter,
                                                      std::u16string_view text,
                                                      Spelling spelling, Boolean bCheckCustom) {
  const bool custom = bCheckCustom != 0;
  std::vector<UnknownWord> unknown;
  // The parts of the compound being read, and the compound as one word.
  std::vector<UnknownWord> parts;
  std::u16string compound;
  splitter.Split(text, [&](const DocumentWord& word) {
    if (parts.empty() && !word.hyphen_after) {
      if (!quenvar::CheckWord(word.word, spelling, custom)) {
        unknown.push_back({std::u16string(word.word), word.offset, word.length});
      }
      return;
    }
    parts.push_back({std::u16string(word.word), word.offset, word.length});
    if (word.hyphen_after) return;
    compound.clear();
    for (const UnknownWord& part : parts) {
      if (!compound.empty()) compound += u'-';
      compound += part.word;
    }
    if (!quenvar::CheckWord(compound, spelling, custom)) {
      for (UnknownWord& part : parts) {
        if (!quenvar::CheckWord(part.word, spelling, custom)) {
          unknown.push_back(std::move(part));
        }
      }
    }
    parts.clear();
  });
  return unknown;
}

Variant SpellCheck::Init() {
  LoadMainDictionary();
  return {};
}

bool SpellCheck::IsMainListLoaded() const { return ThreadDicWords().loads() > 0; }

std::vector<std::u16string> SpellCheck::AddToCustomFile(
    const std::vector<std::u16string>& words, const std::u16string& sFile) {
  return MergeIntoCustomFile(FileSystemPath(sFile), words);
}

std::optional<std::string> WhyCustomFileCannotKeep(std::u16string_view word) {
  return ReasonCustomFileCannotKeep(word);
}

std::uint32_t SpellCheck::Advise(SpellCheckEvents& sink) {
  connections_.push_back({++last_cookie_, &sink});
  return last_cookie_;
}

void SpellCheck::Unadvise(std::uint32_t cookie) {
  const auto it = std::find_if(
      connections_.begin(), connections_.end(),
      [cookie](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) {
    throw Error("Unadvise: no sink is connected with cookie " +
                std::to_string(cookie));
  }
  connections_.erase(it);
}

std::u16string PersonalDictionaryFile() { return FromUtf8(PersonalDictionaryPath()); }

}  // namespace quenvar
