// Whether a word is spelled correctly, and the word cleaning shared with the
// suggestions.

#ifndef QUENVARSPELL_DICTIONARY_CHECK_WORD_H_
#define QUENVARSPELL_DICTIONARY_CHECK_WORD_H_

#include <cstdint>
#include <string>
#include <string_view>

#include <quenvarspell/types.h>

namespace quenvar {

// True when every byte lies in 64..123 (the ASCII letters, the at sign, the
// six characters between Z and a, and the left brace); true for no bytes.
bool IsPlainWord(std::string_view bytes);

// Cleans a word's single-byte form in place as CleanWord cleans a word that
// is not plain (a plain word is CleanWord's own exception).
void CleanBytes(std::string& bytes);

// The word with surrounding punctuation, a trailing hyphen or apostrophe, or
// a possessive 's cut off; empty when fewer than two letters, spaces and
// apostrophes remain. The letters are ASCII's and the Latin letters of
// Windows-1252 (Š Œ Ž š œ ž Ÿ, À to ÿ but for × and ÷). A plain word comes
// back unchanged.
std::u16string CleanWord(std::u16string_view word);

// A buffer of this thread's that the checks reuse, so that a check allocates
// nothing once warm.
std::string& ThreadScratchBytes();

// True when sWord counts as correctly spelled in this thread's lists: it is
// shorter than two characters or numeric once lower-cased, in the main list
// lower-cased, after cleaning, or cleaned with its accents taken off (naïve
// as naive), or (with bCheckCustom) in the custom list.
bool CheckWord(std::u16string_view sWord, bool bCheckCustom);

// CheckWord as if the main list held only the entries that spelling holds;
// for kEnglish, CheckWord itself. The custom list counts for every spelling.
bool CheckWord(std::u16string_view sWord, Spelling spelling, bool bCheckCustom);

// The spellings byte of entry index of the built-in list, as its details
// lay it out (resources/word_details_format.h). Entries are those Init
// loads: after another list's load, index still names the built-in list's
// entry. REQUIRES: 0 <= index < kDicCapacity.
std::uint8_t EntrySpellings(std::int32_t index);

// True when spelling holds entry index of the built-in list: for kEnglish
// always, else as EntrySpellings says. REQUIRES: as EntrySpellings.
bool SpellingHolds(Spelling spelling, std::int32_t index);

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_CHECK_WORD_H_
