// The server's settings, as a client gives them in initializationOptions
// and workspace/didChangeConfiguration.

#ifndef QUENVARSPELL_LSP_SETTINGS_H_
#define QUENVARSPELL_LSP_SETTINGS_H_

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <quenvarspell/spell_check.h>

#include "lsp/line_check.h"

namespace quenvar::lsp {

struct Settings {
  // Empty: the one the command line names, else the user's.
  std::filesystem::path personal_dictionary;
  int severity = 3;  // the protocol's DiagnosticSeverity: Information
  // The spelling of English words are checked in; empty: the command line's.
  std::optional<Spelling> spelling;
  // languageId -> the kind of text its documents are checked as.
  std::map<std::string, TextKind, std::less<>> formats;
};

// Reads the settings that value holds (itself, or its member
// "quenvarspell") into settings:
//   {"personalDictionary": "/path/file.dic",
//    "severity": "error" | "warning" | "information" | "hint",
//    "language": "en_GB" (a tag ParseSpelling knows),
//    "formats": {"rst": "plaintext", "svelte": "html", ...}}
// A format names one of KindOfLanguage's languageIds. Settings value does
// not name are left as they were. Returns a sentence for each setting it
// cannot use, which it leaves as it was.
std::vector<std::string> ReadSettings(const nlohmann::json& value, Settings& settings);

// The kind of text of a document of language_id: a format the settings
// name for it, else the one KindOfLanguage knows, else plain text.
TextKind KindOfDocument(const Settings& settings, std::string_view language_id);

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_SETTINGS_H_
