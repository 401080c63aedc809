#include "dictionary/check_word.h"

#include <array>
#include <string_view>

#include "base/ascii.h"
#include "base/byte_coding.h"
#include "base/numeric.h"
#include "base/text.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "resources/word_details_format.h"

namespace quenvar {
namespace {

// The Latin letters of Windows-1252 beyond ASCII: Š Œ Ž š œ ž Ÿ, and À to ÿ
// but for × and ÷. (ƒ, ª, º and µ serve as symbols more than as letters.)
constexpr bool IsLatinLetterBeyondAscii(unsigned char byte) {
  return byte == 0x8A || byte == 0x8C || byte == 0x8E || byte == 0x9A ||
         byte == 0x9C || byte == 0x9E || byte == 0x9F ||
         (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7);
}

// The Windows-1252 letters with an accent (À to Ý, à to ÿ, Š š Ž ž Ÿ) and,
// at the same places, the letters without it, as their canonical
// decompositions give them; letters without a decomposition (æ, ø, ß, þ)
// are not among them.
constexpr std::string_view kAccented =
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD1\xD2\xD3\xD4"
    "\xD5\xD6\xD9\xDA\xDB\xDC\xDD"
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4"
    "\xF5\xF6\xF9\xFA\xFB\xFC\xFD\xFF"
    "\x8A\x9A\x8E\x9E\x9F";
constexpr std::string_view kWithoutAccents =
    "AAAAAACEEEEIIIINOOOOOUUUUY"
    "aaaaaaceeeeiiiinooooouuuuyy"
    "SsZzY";
static_assert(kAccented.size() == kWithoutAccents.size());

// kWithoutAccents by byte: 0 for a byte not in kAccented.
constexpr std::array<char, 256> kUnaccented = [] {
  std::array<char, 256> plain{};
  for (std::size_t i = 0; i < kAccented.size(); ++i) {
    plain[static_cast<unsigned char>(kAccented[i])] = kWithoutAccents[i];
  }
  return plain;
}();

// Whether the main word list holds bytes (a lower-cased single-byte form)
// in its key's bucket: every entry counts.
struct InAnyEntry {
  const MainWordList& list;
  bool operator()(std::string_view bytes) const { return list.BucketContains(bytes); }
};

// Likewise, counting only the entries of one spelling.
struct InEntryOf {
  const MainWordList& list;
  Spelling spelling;
  bool operator()(std::string_view bytes) const {
    const std::int32_t index = list.BucketFind(bytes);
    return index >= 0 && SpellingHolds(spelling, index);
  }
};

// Whether in_list holds word, lower-cased.
template <typename InList>
bool InMainList(std::u16string_view word, const InList& in_list) {
  std::string& bytes = ThreadScratchBytes();
  // A character Windows-1252 lacks can be in no entry of the list.
  if (!ToSingleByte(word, bytes)) return false;
  return in_list(bytes);
}

// Whether in_list holds word with its accents taken off (naive for naïve);
// false for a word without accented letters.
// REQUIRES: word.size() >= 2.
template <typename InList>
bool InMainListWithoutAccents(std::u16string_view word, const InList& in_list) {
  std::string& bytes = ThreadScratchBytes();
  if (!ToSingleByte(word, bytes)) return false;
  bool accented = false;
  for (char& b : bytes) {
    if (const char plain = kUnaccented[static_cast<unsigned char>(b)]) {
      b = plain;
      accented = true;
    }
  }
  return accented && in_list(bytes);
}

template <typename Text>
bool CountsAsCorrectAlone(const Text& word) {
  return word.size() < 2 || IsNumeric(word);
}

// CheckWord for any text, over the entries in_list counts; the ASCII words'
// shortcut gives the same answers.
template <typename InList>
bool CheckWordAnyText(std::u16string_view sWord, bool bCheckCustom, const InList& in_list) {
  const std::u16string w = ToLower(sWord);
  if (CountsAsCorrectAlone(w)) return true;
  if (InMainList(w, in_list)) return true;

  const std::u16string c = CleanWord(w);
  if (c != w) {
    if (CountsAsCorrectAlone(c)) return true;
    if (InMainList(c, in_list)) return true;
  }
  // Beyond the word rules above: English writes some of its borrowed words
  // with accents or without, and the list holds many in one form only.
  if (InMainListWithoutAccents(c, in_list)) return true;
  return bCheckCustom && IsInCustom(w);
}

template <typename InList>
bool CheckWordWith(std::u16string_view sWord, bool bCheckCustom, const InList& in_list) {
  // Most words are ASCII: they are lower-cased, looked up and cleaned in
  // their single-byte form, which then is the word itself.
  std::string& bytes = ThreadScratchBytes();
  if (!ToLowerAscii(sWord, bytes)) return CheckWordAnyText(sWord, bCheckCustom, in_list);
  if (CountsAsCorrectAlone(bytes)) return true;
  if (in_list(bytes)) return true;

  if (!IsPlainWord(bytes)) {
    const std::size_t length = bytes.size();
    CleanBytes(bytes);
    // The cleaned word is a part of the word, so equal only when as long.
    if (bytes.size() != length) {
      if (CountsAsCorrectAlone(bytes)) return true;
      if (in_list(bytes)) return true;
    }
  }
  return bCheckCustom && ThreadCustomWords().size() != 0 && IsInCustom(ToLower(sWord));
}

}  // namespace

bool IsPlainWord(std::string_view bytes) {
  for (char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (byte < 64 || byte > 123) return false;
  }
  return true;
}

void CleanBytes(std::string& bytes) {
  // Every byte is either dropped or kept as it is, and what is kept never
  // moves forward, so the cleaning can overwrite the bytes it has read.
  std::size_t kept = 0;
  int taken = 0;  // letters, spaces and apostrophes
  for (const char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (IsAsciiLetter(byte) || IsLatinLetterBeyondAscii(byte) || b == ' ' ||
        (b == '\'' && kept > 0)) {
      bytes[kept++] = b;
      ++taken;
    } else if (b == '-') {
      if (taken > 0) bytes[kept++] = '-';
    } else if (b >= '0' && b <= '9') {
      bytes[kept++] = b;
    } else if (taken > 0) {
      break;
    }
  }
  bytes.resize(taken < 2 ? 0 : kept);

  const std::string_view clean = bytes;
  if (clean.ends_with('-') || clean.ends_with('\'')) {
    bytes.pop_back();
  } else if (clean.ends_with("'s")) {
    bytes.resize(bytes.size() - 2);
  }
}

std::u16string CleanWord(std::u16string_view word) {
  std::string bytes = ToSingleByte(word);
  if (IsPlainWord(bytes)) return std::u16string(word);
  CleanBytes(bytes);
  return FromSingleByte(bytes);
}

bool CheckWord(std::u16string_view sWord, bool bCheckCustom) {
  return CheckWordWith(sWord, bCheckCustom, InAnyEntry{ThreadDicWords()});
}

bool CheckWord(std::u16string_view sWord, Spelling spelling, bool bCheckCustom) {
  if (spelling == Spelling::kEnglish) return CheckWord(sWord, bCheckCustom);
  return CheckWordWith(sWord, bCheckCustom, InEntryOf{ThreadDicWords(), spelling});
}

std::uint8_t EntrySpellings(std::int32_t index) {
  const std::span<const std::uint8_t> details = FindResource("DIC", 102);
  const auto entries = static_cast<std::size_t>(kDicCapacity);
  const auto code = static_cast<std::uint8_t>(details[static_cast<std::size_t>(index)] >>
                                              kSpellingsShift);
  if (code != kListedSpellings) return details[entries + code];
  // The listed entries are in list order: a binary search finds the index.
  // (Clang 14 cannot compile libstdc++ 12's ranges, so no iota_view.)
  const std::span<const std::uint8_t> listed = SplitDetailsTail(details, entries).listed;
  const auto wanted = static_cast<std::uint32_t>(index);
  std::size_t low = 0;
  std::size_t high = listed.size() / kListedEntrySize;
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    const std::span<const std::uint8_t> entry = listed.subspan(middle * kListedEntrySize);
    const std::uint32_t at = DecodeLengthPrefix(entry);
    if (at == wanted) return entry[kLengthPrefixSize];
    if (at < wanted) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return 0;
}

bool SpellingHolds(Spelling spelling, std::int32_t index) {
  return spelling == Spelling::kEnglish || (EntrySpellings(index) & SpellingBit(spelling)) != 0;
}

}  // namespace quenvar
