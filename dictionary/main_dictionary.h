// Loading the built-in word list, which the component carries compressed as
// its "DIC" resource 101, into the main word list.

#ifndef QUENVARSPELL_DICTIONARY_MAIN_DICTIONARY_H_
#define QUENVARSPELL_DICTIONARY_MAIN_DICTIONARY_H_

#include <cstdint>
#include <span>

namespace quenvar {

// Runs LoadMainDictionaryFrom on the "DIC" resource 101. Every call loads
// the list anew.
void LoadMainDictionary();

// Fills this thread's main word list from blob: the text's length (4 bytes,
// little-endian), then its zlib stream. The text goes through a new temp
// file ("qzv" names recorded by the thread's SysInfo, created exclusively,
// mode 0600), whose name is deleted before the text is written and which
// LoadWordList reads back through its descriptor; where the temp folder
// cannot serve (missing, read-only, full, every name taken) through a file
// in memory instead. Throws Error when the zlib in use is incompatible or
// blob is not a complete stream of that length, std::system_error for file
// failures; the list is unchanged unless the failure comes after
// LoadWordList has begun.
void LoadMainDictionaryFrom(std::span<const std::uint8_t> blob);

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_MAIN_DICTIONARY_H_
