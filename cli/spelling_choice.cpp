#include "cli/spelling_choice.h"

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace quenvar::cli {
namespace {

// The dictionary names Ispell clients pass (Emacs's "american", "british"),
// as Aspell takes them.
constexpr std::pair<std::string_view, Spelling> kAspellNames[] = {
    {"english", Spelling::kEnglish},         {"american", Spelling::kAmerican},
    {"british", Spelling::kBritish},         {"british-ise", Spelling::kBritish},
    {"british-ize", Spelling::kBritishIze},  {"canadian", Spelling::kCanadian},
    {"australian", Spelling::kAustralian},
};

std::optional<Spelling> Named(std::string_view name) {
  if (const std::optional<Spelling> spelling = ParseSpelling(name)) return spelling;
  for (const auto& [aspell_name, spelling] : kAspellNames) {
    if (aspell_name == name) return spelling;
  }
  return std::nullopt;
}

}  // namespace

Spelling ChooseSpelling(const std::string& tag) {
  if (!tag.empty()) {
    if (const std::optional<Spelling> spelling = Named(tag)) return *spelling;
    throw std::runtime_error("no dictionary \"" + tag + "\"; the dictionaries are " +
                             kSpellingTags);
  }
  for (const char* variable : {"DICTIONARY", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    const std::string_view locale(value);
    return Named(locale.substr(0, locale.find_first_of(".@"))).value_or(Spelling::kEnglish);
  }
  return Spelling::kEnglish;
}

}  // namespace quenvar::cli
