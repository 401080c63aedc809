#include "lsp/settings.h"

#include <array>

namespace quenvar::lsp {

std::vector<std::string> ReadSettings(const nlohmann::json& value, Settings& settings) {
  std::vector<std::string> problems;
  if (!value.is_object()) return problems;
  const nlohmann::json& ours =
      value.contains("quenvarspell") ? value["quenvarspell"] : value;
  if (!ours.is_object()) return {"the setting quenvarspell is no object"};
  if (const auto it = ours.find("personalDictionary"); it != ours.end()) {
    if (it->is_string()) {
      settings.personal_dictionary = it->get<std::string>();
    } else {
      problems.push_back("personalDictionary is no file name");
    }
  }
  if (const auto it = ours.find("severity"); it != ours.end()) {
    static constexpr std::array<std::string_view, 4> kSeverities = {"error", "warning",
                                                                    "information", "hint"};
    const auto known = it->is_string() ? std::ranges::find(kSeverities, it->get<std::string>())
                                       : kSeverities.end();
    if (known != kSeverities.end()) {
      settings.severity = static_cast<int>(known - kSeverities.begin()) + 1;
    } else {
      problems.push_back("severity is none of error, warning, information, hint");
    }
  }
  if (const auto it = ours.find("language"); it != ours.end()) {
    const std::optional<Spelling> spelling =
        it->is_string() ? ParseSpelling(it->get<std::string>()) : std::nullopt;
    if (spelling) {
      settings.spelling = spelling;
    } else {
      problems.push_back("language is none of en, en_US, en_GB, en_GB-ize, en_CA, en_AU");
    }
  }
  if (const auto it = ours.find("formats"); it != ours.end() && it->is_object()) {
    for (const auto& [language, format] : it->items()) {
      const std::optional<TextKind> kind =
          format.is_string() ? KindOfLanguage(format.get<std::string>()) : std::nullopt;
      if (kind) {
        settings.formats.insert_or_assign(language, *kind);
      } else {
        problems.push_back("formats: " + format.dump() + " for " + language +
                           " is no languageId the server knows");
      }
    }
  } else if (it != ours.end()) {
    problems.push_back("formats is no object");
  }
  return problems;
}

TextKind KindOfDocument(const Settings& settings, std::string_view language_id) {
  if (const auto it = settings.formats.find(language_id); it != settings.formats.end()) {
    return it->second;
  }
  return KindOfLanguage(language_id).value_or(DocumentFormat::kText);
}

}  // namespace quenvar::lsp
