// A plain rendering of CheckWord and of the word cleaning it shares with the
// suggestions, step by step as their rules read: ICU's lower-case mapping,
// letter test and decomposition called directly, the cleaning on a fresh copy, the main list's key range
// scanned entry by entry, the custom list word by word. The fast versions in
// dictionary/ must agree with it on every input.

#ifndef QUENVARSPELL_TESTS_LITERAL_CHECK_WORD_H_
#define QUENVARSPELL_TESTS_LITERAL_CHECK_WORD_H_

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "base/numeric.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"

namespace quenvar::testing {

// ICU's full lower-case mapping in the default locale.
inline std::u16string LiteralLower(std::u16string_view text) {
  const auto length = static_cast<int32_t>(text.size());
  UErrorCode status = U_ZERO_ERROR;
  const int32_t needed =
      u_strToLower(nullptr, 0, text.data(), length, nullptr, &status);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  status = U_ZERO_ERROR;
  u_strToLower(out.data(), needed, text.data(), length, nullptr, &status);
  if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
  return out;
}

// The characters of the bytes 0x80 to 0x9F in Windows-1252, the five
// undefined ones as the C1 controls of their numbers.
inline constexpr char16_t kLiteralHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Windows-1252 form of text, from the code page's own table: '?' for a
// character the code page lacks; sets complete to whether it has them all.
inline std::string LiteralSingleByte(std::u16string_view text,
                                     bool& complete) {
  std::string bytes;
  complete = true;
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes += static_cast<char>(c);
      continue;
    }
    const char16_t* at = std::find(std::begin(kLiteralHigh), std::end(kLiteralHigh), c);
    if (at == std::end(kLiteralHigh)) {
      bytes += '?';
      complete = false;
    } else {
      bytes += static_cast<char>(0x80 + (at - kLiteralHigh));
    }
  }
  return bytes;
}

// The character of a Windows-1252 byte.
inline char16_t LiteralCharOf(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return b >= 0x80 && b < 0xA0 ? kLiteralHigh[b - 0x80] : static_cast<char16_t>(b);
}

// A letter of the cleaning: what ICU counts as alphabetic, but for five
// characters of Windows-1252 that serve as symbols: ƒ, ª, º, µ and the
// modifier circumflex.
inline bool LiteralIsLetter(char16_t c) {
  return u_isalpha(c) && std::u16string_view(u"\u0192\u00AA\u00BA\u00B5\u02C6").find(c) ==
                             std::u16string_view::npos;
}

inline std::u16string LiteralCleanWord(std::u16string_view word) {
  bool complete;
  const std::string bytes = LiteralSingleByte(word, complete);
  if (std::all_of(bytes.begin(), bytes.end(), [](char b) {
        return static_cast<unsigned char>(b) >= 64 &&
               static_cast<unsigned char>(b) <= 123;
      })) {
    return std::u16string(word);
  }
  std::u16string out;
  int taken = 0;  // letters, spaces and apostrophes
  for (char b : bytes) {
    const char16_t c = LiteralCharOf(b);
    if (LiteralIsLetter(c) || b == ' ' || (b == '\'' && !out.empty())) {
      out.push_back(c);
      ++taken;
    } else if (b == '-') {
      if (taken > 0) out.push_back(u'-');
    } else if (b >= '0' && b <= '9') {
      out.push_back(static_cast<char16_t>(b));
    } else if (taken > 0) {
      break;
    }
  }
  if (taken < 2) out.clear();
  const std::u16string_view clean = out;
  if (clean.ends_with(u'-') || clean.ends_with(u'\'')) {
    out.pop_back();
  } else if (clean.ends_with(u"'s")) {
    out.resize(out.size() - 2);
  }
  return out;
}

// Whether an entry of the key range of bytes equals it, found by scanning
// the whole range. REQUIRES: bytes.size() >= 2.
inline bool LiteralBucketContains(std::string_view bytes) {
  const MainWordList& list = ThreadDicWords();
  const std::uint32_t key = PrefixKey(bytes);
  for (std::int32_t i = std::max(list.PrefixStart(key), 0);
       i <= std::min(list.PrefixEnd(key), list.capacity() - 1); ++i) {
    if (list.Entry(i) == bytes) return true;
  }
  return false;
}

// Whether an entry of the key range of word's single-byte form equals it.
// REQUIRES: word.size() >= 2.
inline bool LiteralInMainList(std::u16string_view word) {
  bool complete;
  const std::string bytes = LiteralSingleByte(word, complete);
  // A character Windows-1252 lacks is in no entry.
  return complete && LiteralBucketContains(bytes);
}

// word in canonical decomposition (NFD) with every combining mark dropped.
inline std::u16string LiteralWithoutAccents(std::u16string_view word) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
  std::u16string decomposed(word.size() * 4 + 1, u'\0');
  const int32_t length =
      unorm2_normalize(nfd, word.data(), static_cast<int32_t>(word.size()),
                       decomposed.data(), static_cast<int32_t>(decomposed.size()), &status);
  if (U_FAILURE(status)) throw std::runtime_error(u_errorName(status));
  decomposed.resize(static_cast<std::size_t>(length));
  std::erase_if(decomposed, [](char16_t c) { return u_getCombiningClass(c) != 0; });
  return decomposed;
}

inline bool LiteralCheckWord(std::u16string_view sWord, bool bCheckCustom) {
  const std::u16string w = LiteralLower(sWord);
  if (w.size() < 2 || IsNumeric(w) || LiteralInMainList(w)) return true;
  const std::u16string c = LiteralCleanWord(w);
  if (c != w && (c.size() < 2 || IsNumeric(c) || LiteralInMainList(c))) {
    return true;
  }
  // The cleaned word without its accents, when it has any, as that entry.
  const std::u16string plain = LiteralWithoutAccents(c);
  if (plain != c && LiteralInMainList(plain)) return true;
  if (!bCheckCustom) return false;
  const WordArray words = ThreadCustomWords().words();
  return words && std::any_of(words->begin(), words->end(),
                              [&](const std::u16string& custom) {
                                return LiteralLower(custom) == w;
                              });
}

}  // namespace quenvar::testing

#endif  // QUENVARSPELL_TESTS_LITERAL_CHECK_WORD_H_
