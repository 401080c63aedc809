#include "dictionary/check_word.h"

#include "base/ascii.h"
#include "base/numeric.h"
#include "base/text.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"

namespace quenvar {
namespace {

// Whether the main word list holds word, lower-cased, in its key's bucket.
bool InMainList(std::u16string_view word) {
  std::string& bytes = ThreadScratchBytes();
  // A character Windows-1252 lacks can be in no entry of the list.
  if (!ToSingleByte(word, bytes)) return false;
  return ThreadDicWords().BucketContains(bytes);
}

template <typename Text>
bool CountsAsCorrectAlone(const Text& word) {
  return word.size() < 2 || IsNumeric(word);
}

bool CustomListIsEmpty() {
  const WordArray& words = ThreadCustomWords().words();
  return !words || words->empty();
}

// CheckWord for any text; the ASCII words' shortcut gives the same answers.
bool CheckWordAnyText(std::u16string_view sWord, bool bCheckCustom) {
  const std::u16string w = ToLower(sWord);
  if (CountsAsCorrectAlone(w)) return true;
  if (InMainList(w)) return true;

  const std::u16string c = CleanWord(w);
  if (c != w) {
    if (CountsAsCorrectAlone(c)) return true;
    if (InMainList(c)) return true;
  }
  return bCheckCustom && IsInCustom(w);
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
    if (IsAsciiLetter(static_cast<unsigned char>(b)) || b == ' ' ||
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
  return std::u16string(bytes.begin(), bytes.end());
}

bool CheckWord(std::u16string_view sWord, bool bCheckCustom) {
  // Most words are ASCII: they are lower-cased, looked up and cleaned in
  // their single-byte form, which then is the word itself.
  std::string& bytes = ThreadScratchBytes();
  if (!ToLowerAscii(sWord, bytes)) return CheckWordAnyText(sWord, bCheckCustom);
  if (CountsAsCorrectAlone(bytes)) return true;
  const MainWordList& list = ThreadDicWords();
  if (list.BucketContains(bytes)) return true;

  if (!IsPlainWord(bytes)) {
    const std::size_t length = bytes.size();
    CleanBytes(bytes);
    // The cleaned word is a part of the word, so equal only when as long.
    if (bytes.size() != length) {
      if (CountsAsCorrectAlone(bytes)) return true;
      if (list.BucketContains(bytes)) return true;
    }
  }
  return bCheckCustom && !CustomListIsEmpty() && IsInCustom(ToLower(sWord));
}

}  // namespace quenvar
