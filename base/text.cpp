#include "base/text.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <array>
#include <cstring>

#include <quenvarspell/types.h>

#include "base/ascii.h"

namespace quenvar {
namespace {

// The characters of the bytes 0x80-0x9F. Undefined bytes map to the C1
// control of the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Turkish and Azeri case 'I' and 'i' differently; every other locale's
// mapping of ASCII letters is the plain one.
bool DefaultLocaleCasesDottedI() {
  const char* locale = uloc_getDefault();
  for (const char* language : {"tr", "az", "tur", "aze"}) {
    const std::size_t n = std::strlen(language);
    if (std::strncmp(locale, language, n) == 0 &&
        (locale[n] == '\0' || locale[n] == '_' || locale[n] == '-' ||
         locale[n] == '@')) {
      return true;
    }
  }
  return false;
}

bool AsciiMapsPlainly(std::u16string_view text, char16_t special_i) {
  if (!IsAscii(text)) return false;
  return text.find(special_i) == std::u16string_view::npos ||
         !DefaultLocaleCasesDottedI();
}

using IcuCaseMap = int32_t (*)(UChar*, int32_t, const UChar*, int32_t,
                               const char*, UErrorCode*);

void IcuMapCase(IcuCaseMap map, std::u16string_view text, std::u16string& out) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX / 3)) {
    throw Error("text too long for case mapping");
  }
  const auto length = static_cast<int32_t>(text.size());
  // Full case mapping grows a string at most threefold.
  out.resize(text.size() * 3 + 1);
  UErrorCode status = U_ZERO_ERROR;
  const int32_t produced =
      map(out.data(), static_cast<int32_t>(out.size()), text.data(), length,
          nullptr, &status);
  if (U_FAILURE(status)) {
    throw Error(std::string("case mapping failed: ") + u_errorName(status));
  }
  out.resize(static_cast<std::size_t>(produced));
}

// Converts text between UTF-8 and UTF-16 with convert, one of ICU's
// converters that substitute: invalid sequences and lone surrogates become
// U+FFFD. The result has room for growth code units per unit of text.
template <typename Out, typename In, typename Convert>
Out ConvertUtf(In text, std::size_t growth, Convert convert) {
  if (text.size() > static_cast<std::size_t>(INT32_MAX) / growth) {
    throw Error("text too long to convert");
  }
  Out out(text.size() * growth, typename Out::value_type{});
  int32_t produced = 0;
  UErrorCode status = U_ZERO_ERROR;
  convert(out.data(), static_cast<int32_t>(out.size()), &produced, text.data(),
          static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  if (U_FAILURE(status)) {
    throw Error(std::string("UTF-8 conversion failed: ") + u_errorName(status));
  }
  out.resize(static_cast<std::size_t>(produced));
  return out;
}

}  // namespace

int SingleByteOf(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
  }
  return -1;
}

char16_t CharOfSingleByte(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

bool ToSingleByte(std::u16string_view text, std::string& out) {
  out.resize(text.size());
  bool exact = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80) {
      out[i] = static_cast<char>(c);
      continue;
    }
    const int byte = SingleByteOf(c);
    if (byte < 0) {
      out[i] = kSubstituteByte;
      exact = false;
    } else {
      out[i] = static_cast<char>(byte);
    }
  }
  return exact;
}

std::string ToSingleByte(std::u16string_view text) {
  std::string out;
  ToSingleByte(text, out);
  return out;
}

bool IsAscii(std::u16string_view text) {
  for (char16_t c : text) {
    if (c >= 0x80) return false;
  }
  return true;
}

std::u16string FromSingleByte(std::string_view bytes) {
  std::u16string out;
  FromSingleByte(bytes, out);
  return out;
}

bool FromSingleByte(std::string_view bytes, std::u16string& out) {
  out.resize(bytes.size());
  unsigned seen = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    seen |= b;
    out[i] = b < 0x80 ? b : CharOfSingleByte(b);
  }
  return seen < 0x80;
}

void ToLower(std::u16string_view text, std::u16string& out) {
  if (AsciiMapsPlainly(text, u'I')) {
    out.assign(text);
    for (char16_t& c : out) c = AsciiLower(c);
    return;
  }
  IcuMapCase(u_strToLower, text, out);
}

bool ToLowerAscii(std::u16string_view text, std::string& out) {
  // AsciiMapsPlainly's test, made in the same pass as the lowering: this is
  // the check of every word, where a second scan shows.
  out.resize(text.size());
  char16_t seen = 0;  // every character ORed together
  bool capital_i = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    seen |= c;
    capital_i |= c == u'I';
    out[i] = static_cast<char>(AsciiLower(c));
  }
  return seen < 0x80 && !(capital_i && DefaultLocaleCasesDottedI());
}

std::u16string ToLower(std::u16string_view text) {
  std::u16string out;
  ToLower(text, out);
  return out;
}

std::u16string ToUpper(std::u16string_view text) {
  std::u16string out;
  if (AsciiMapsPlainly(text, u'i')) {
    out.assign(text);
    for (char16_t& c : out) c = AsciiUpper(c);
    return out;
  }
  IcuMapCase(u_strToUpper, text, out);
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  return ConvertUtf<std::u16string>(text, 1, u_strFromUTF8WithSub);
}

std::string ToUtf8(std::u16string_view text) {
  // A UTF-16 code unit takes at most three UTF-8 bytes.
  return ConvertUtf<std::string>(text, 3, u_strToUTF8WithSub);
}

}  // namespace quenvar
