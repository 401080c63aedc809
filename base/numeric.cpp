#include "base/numeric.h"

namespace quenvar {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSign(char16_t c) { return c == u'+' || c == u'-'; }
bool IsCurrencySign(char16_t c) {
  return c == u'$' || c == u'\u20AC' || c == u'\u00A3' || c == u'\u00A5';
}

// The character a code unit stands for: a UTF-16 unit as it is, a byte below
// 0x80 as its ASCII character, and any other byte as U+FFFF, which none of
// the tests accept (whether char is signed or not).
char16_t CharOf(char16_t c) { return c; }
char16_t CharOf(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x80 ? byte : u'\uFFFF';
}

// Reads UTF-16 text or bytes alike, through CharOf.
template <typename Char>
class Scanner {
 public:
  explicit Scanner(std::basic_string_view<Char> text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }
  bool Peek(bool (*test)(char16_t)) const {
    return !AtEnd() && test(CharOf(text_[pos_]));
  }
  bool Take(bool (*test)(char16_t)) {
    if (!Peek(test)) return false;
    ++pos_;
    return true;
  }
  bool Take(char16_t a, char16_t b) {
    if (AtEnd() || (CharOf(text_[pos_]) != a && CharOf(text_[pos_]) != b)) {
      return false;
    }
    ++pos_;
    return true;
  }
  void SkipBlanks() {
    while (Take(IsBlank)) {
    }
  }
  // Digits, with single commas allowed between two digits.
  bool TakeGroupedDigits() {
    if (!Take(IsDigit)) return false;
    for (;;) {
      if (Take(IsDigit)) continue;
      if (pos_ + 1 < text_.size() && CharOf(text_[pos_]) == u',' &&
          IsDigit(CharOf(text_[pos_ + 1]))) {
        pos_ += 2;
        continue;
      }
      return true;
    }
  }
  bool TakeDigits() {
    if (!Take(IsDigit)) return false;
    while (Take(IsDigit)) {
    }
    return true;
  }

 private:
  std::basic_string_view<Char> text_;
  std::size_t pos_ = 0;
};

template <typename Char>
bool IsNumericText(std::basic_string_view<Char> text) {
  // Words start with a letter almost always: answer them without scanning.
  if (text.empty()) return false;
  const char16_t first = CharOf(text.front());
  if (!IsDigit(first) && !IsBlank(first) && !IsSign(first) &&
      !IsCurrencySign(first) && first != u'.') {
    return false;
  }

  Scanner<Char> s(text);
  s.SkipBlanks();
  bool currency = s.Take(IsCurrencySign);
  s.Take(IsSign);
  if (!currency) currency = s.Take(IsCurrencySign);
  s.SkipBlanks();

  const bool integer_digits = s.TakeGroupedDigits();
  bool fraction_digits = false;
  if (s.Take(u'.', u'.')) fraction_digits = s.TakeDigits();
  if (!integer_digits && !fraction_digits) return false;

  if (s.Take(u'e', u'E')) {
    s.Take(IsSign);
    if (!s.TakeDigits()) return false;
  }
  s.SkipBlanks();
  if (!currency && s.Take(IsCurrencySign)) s.SkipBlanks();
  return s.AtEnd();
}

}  // namespace

bool IsNumeric(std::u16string_view text) { return IsNumericText(text); }

bool IsNumeric(std::string_view ascii) { return IsNumericText(ascii); }

}  // namespace quenvar
