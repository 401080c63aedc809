#include "dictionary/check_word.h"

#include "component/numeric.h"
#include "component/text.h"
#include "component/thread_state.h"
#include "dictionary/custom_list.h"

namespace quenvar {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool EndsWith(std::u16string_view text, std::u16string_view tail) {
  return text.size() >= tail.size() &&
         text.substr(text.size() - tail.size()) == tail;
}

// Whether the main word list holds word, lower-cased, in its key's bucket.
bool InMainList(std::u16string_view word) {
  std::string& bytes = State().scratch_bytes;
  // A character Windows-1252 lacks can be in no entry of the list.
  if (!ToSingleByte(word, bytes)) return false;
  return State().sDicWords.BucketContains(bytes);
}

bool CountsAsCorrectAlone(std::u16string_view word) {
  return word.size() < 2 || IsNumeric(word);
}

}  // namespace

bool IsPlainWord(std::string_view bytes) {
  for (char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    if (byte < 64 || byte > 123) return false;
  }
  return true;
}

std::u16string CleanWord(std::u16string_view word) {
  const std::string bytes = ToSingleByte(word);
  if (IsPlainWord(bytes)) return std::u16string(word);

  std::u16string out;
  int taken = 0;  // letters, spaces and apostrophes
  for (char b : bytes) {
    if (IsAsciiLetter(b) || b == ' ' || (b == '\'' && !out.empty())) {
      out.push_back(static_cast<char16_t>(b));
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

  if (EndsWith(out, u"-") || EndsWith(out, u"'")) {
    out.pop_back();
  } else if (EndsWith(out, u"'s")) {
    out.resize(out.size() - 2);
  }
  return out;
}

bool CheckWord(std::u16string_view sWord, bool bCheckCustom) {
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

}  // namespace quenvar
