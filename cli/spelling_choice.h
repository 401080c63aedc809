// Which spelling of English the tool follows: the one named on the command
// line, else the one the environment names as Hunspell and Aspell read it.

#ifndef QUENVARSPELL_CLI_SPELLING_CHOICE_H_
#define QUENVARSPELL_CLI_SPELLING_CHOICE_H_

#include <string>

#include <quenvarspell/spell_check.h>

namespace quenvar::cli {

// The tags ChooseSpelling takes, for help texts.
inline constexpr const char* kSpellingTags = "en, en_US, en_GB, en_GB-ize, en_CA, en_AU";

// The spelling tag names: a tag ParseSpelling knows, or one of Aspell's
// names for them (english, american, british, british-ise, british-ize,
// canadian, australian). When tag is empty, the one the first of
// DICTIONARY, LC_ALL, LC_MESSAGES and LANG that is set and not empty names,
// read up to a '.' or '@' (en_GB.UTF-8 is en_GB), and kEnglish when it
// names none or none is set. Throws std::runtime_error for a tag that names
// no spelling.
Spelling ChooseSpelling(const std::string& tag);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_SPELLING_CHOICE_H_
