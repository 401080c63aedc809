#include "document/html_markup.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ascii.h"
#include "document/prose_words.h"

namespace quenvar::document {
namespace {

struct NamedCharacter {
  std::u16string_view name;
  char16_t character;
};

// The Latin-1 letters and signs from U+00C0 on, in code point order.
constexpr std::array<std::u16string_view, 64> kLatin1Letters = {
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",   u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave", u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",  u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",   u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",   u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave", u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",  u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",   u"yacute", u"thorn",  u"yuml"};

constexpr NamedCharacter kNamed[] = {
    {u"amp", u'&'},       {u"lt", u'<'},         {u"gt", u'>'},         {u"quot", u'"'},
    {u"apos", u'\''},     {u"nbsp", u'\u00A0'},  {u"shy", u'\u00AD'},   {u"copy", u'\u00A9'},
    {u"reg", u'\u00AE'},  {u"trade", u'\u2122'}, {u"mdash", u'\u2014'}, {u"ndash", u'\u2013'},
    {u"lsquo", u'\u2018'}, {u"rsquo", u'\u2019'}, {u"ldquo", u'\u201C'}, {u"rdquo", u'\u201D'},
    {u"sbquo", u'\u201A'}, {u"bdquo", u'\u201E'}, {u"laquo", u'\u00AB'}, {u"raquo", u'\u00BB'},
    {u"lsaquo", u'\u2039'}, {u"rsaquo", u'\u203A'}, {u"hellip", u'\u2026'}, {u"ensp", u'\u2002'},
    {u"emsp", u'\u2003'}, {u"thinsp", u'\u2009'}, {u"zwnj", u'\u200C'},  {u"zwj", u'\u200D'},
    {u"middot", u'\u00B7'}, {u"bull", u'\u2022'}, {u"deg", u'\u00B0'},   {u"sect", u'\u00A7'},
    {u"para", u'\u00B6'}, {u"iexcl", u'\u00A1'}, {u"iquest", u'\u00BF'}, {u"cent", u'\u00A2'},
    {u"pound", u'\u00A3'}, {u"euro", u'\u20AC'}, {u"yen", u'\u00A5'},    {u"OElig", u'\u0152'},
    {u"oelig", u'\u0153'}, {u"Scaron", u'\u0160'}, {u"scaron", u'\u0161'}, {u"Yuml", u'\u0178'},
    {u"minus", u'\u2212'}, {u"hyphen", u'\u2010'}, {u"dash", u'\u2010'}};

// The character a reference's name stands for; 0 for an unknown name.
char32_t CharacterNamed(std::u16string_view name) {
  for (std::size_t i = 0; i < kLatin1Letters.size(); ++i) {
    if (kLatin1Letters[i] == name) return static_cast<char32_t>(0xC0 + i);
  }
  for (const NamedCharacter& named : kNamed) {
    if (named.name == name) return named.character;
  }
  return 0;
}

bool IsSpaceCharacter(char32_t c) {
  return c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || c == 0x202F || c == 0x3000 ||
         c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHexDigit(char16_t c) {
  return IsAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// The longest reference name or number worth reading.
constexpr std::size_t kLongestReference = 32;

constexpr std::u16string_view kEndTags[] = {
    u"", u"</script", u"</style", u"</pre", u"</code", u"</kbd", u"</samp", u"</textarea"};

RawElement RawElementNamed(std::u16string_view text, std::size_t at, std::size_t end) {
  for (std::size_t i = 1; i < std::size(kEndTags); ++i) {
    const std::u16string_view name = kEndTags[i].substr(2);
    if (end - at == name.size() && MatchesFolded(text, at, name)) {
      return static_cast<RawElement>(i);
    }
  }
  return RawElement::kNone;
}

// Where the first of closing occurs in text[i, limit), or limit.
std::size_t FindBefore(std::u16string_view text, std::size_t i, std::size_t limit,
                       std::u16string_view closing) {
  const std::size_t at = text.substr(0, limit).find(closing, i);
  return at == std::u16string_view::npos ? limit : at;
}

}  // namespace

std::size_t DecodeEntity(std::u16string_view text, std::size_t i, std::u16string& prose) {
  std::size_t j = i + 1;
  const std::size_t limit = std::min(text.size(), i + 2 + kLongestReference);
  char32_t character = 0;
  if (j < limit && text[j] == u'#') {
    ++j;
    const bool hex = j < limit && (text[j] == u'x' || text[j] == u'X');
    if (hex) ++j;
    const std::size_t digits = j;
    std::uint32_t value = 0;
    while (j < limit && (hex ? IsHexDigit(text[j]) : IsAsciiDigit(text[j]))) {
      const char16_t c = text[j];
      const std::uint32_t digit = IsAsciiDigit(c) ? c - u'0' : (AsciiLower(c) - u'a' + 10u);
      value = std::min<std::uint32_t>(value * (hex ? 16u : 10u) + digit, 0x110000);
      ++j;
    }
    if (j == digits) return i + 1;
    character = value;
  } else {
    while (j < limit && (IsAsciiLetter(text[j]) || IsAsciiDigit(text[j]))) ++j;
    if (j == i + 1 || j >= text.size() || text[j] != u';') return i + 1;
    character = CharacterNamed(text.substr(i + 1, j - i - 1));
  }
  if (j < text.size() && text[j] == u';') ++j;
  const bool lone_surrogate = character >= 0xD800 && character <= 0xDFFF;
  if (character == 0 || character >= 0x110000 || lone_surrogate || IsSpaceCharacter(character)) {
    Blank(prose, i, j);
    return j;
  }
  std::size_t at = i;
  if (character >= 0x10000) {
    prose[at++] = static_cast<char16_t>(0xD7C0 + (character >> 10));
    prose[at++] = static_cast<char16_t>(0xDC00 | (character & 0x3FF));
  } else {
    prose[at++] = static_cast<char16_t>(character == 0xFFFF ? u' ' : character);
  }
  std::fill(prose.begin() + static_cast<std::ptrdiff_t>(at),
            prose.begin() + static_cast<std::ptrdiff_t>(j), kJoiner);
  return j;
}

void DecodeEntities(std::u16string_view text, std::size_t from, std::size_t to,
                    std::u16string& prose) {
  for (std::size_t i = text.substr(0, to).find(u'&', from); i != std::u16string_view::npos;
       i = text.substr(0, to).find(u'&', i)) {
    i = DecodeEntity(text, i, prose);
  }
}

std::u16string_view EndTagOf(RawElement element) {
  return kEndTags[static_cast<std::size_t>(element)];
}

bool StartsComment(std::u16string_view text, std::size_t i) {
  return text.substr(i, 4) == u"<!--";
}

namespace {

// A declaration, processing instruction or CDATA section at i, blanked.
Markup MaskDeclaration(std::u16string_view text, std::size_t i, std::size_t limit,
                       std::u16string& prose) {
  const bool cdata = text.substr(i, 9) == u"<![CDATA[";
  const std::u16string_view closing = cdata ? u"]]>" : u">";
  std::size_t end = FindBefore(text, i + 2, limit, closing);
  const bool closed = end < limit;
  end = closed ? end + closing.size() : limit;
  Blank(prose, i, end);
  return {end, closed, RawElement::kNone};
}

}  // namespace

Markup MaskMarkup(std::u16string_view text, std::size_t i, std::size_t limit,
                  std::u16string& prose) {
  const char16_t next = i + 1 < limit ? text[i + 1] : u'\0';
  if (next == u'!' || next == u'?') return MaskDeclaration(text, i, limit, prose);
  std::size_t end = i;
  const bool end_tag = next == u'/';
  const std::size_t name = end_tag ? i + 2 : i + 1;
  if (name >= limit || !IsAsciiLetter(text[name])) return {i, true, RawElement::kNone};
  end = name;
  while (end < limit && !IsSpace(text[end]) && text[end] != u'>' && text[end] != u'/') ++end;
  const RawElement raw = end_tag ? RawElement::kNone : RawElementNamed(text, name, end);
  // Attributes: name, and = value, quoted or not.
  while (end < limit && text[end] != u'>') {
    if (IsSpace(text[end]) || text[end] == u'/') {
      ++end;
      continue;
    }
    const std::size_t attribute = end;
    while (end < limit && !IsSpace(text[end]) && text[end] != u'>' && text[end] != u'=' &&
           text[end] != u'/') {
      ++end;
    }
    const bool read = (end - attribute == 3 && MatchesFolded(text, attribute, u"alt")) ||
                      (end - attribute == 5 && MatchesFolded(text, attribute, u"title"));
    std::size_t j = end;
    while (j < limit && IsSpace(text[j])) ++j;
    if (j >= limit || text[j] != u'=') continue;
    ++j;
    while (j < limit && IsSpace(text[j])) ++j;
    if (j >= limit) {
      end = j;
      break;
    }
    if (text[j] == u'"' || text[j] == u'\'') {
      const std::size_t value = j + 1;
      const std::size_t value_end = FindBefore(text, value, limit, text.substr(j, 1));
      if (read) {
        Blank(prose, i, value);
        DecodeEntities(text, value, value_end, prose);
        i = value_end;
      }
      end = value_end < limit ? value_end + 1 : limit;
    } else {
      end = j;
      while (end < limit && !IsSpace(text[end]) && text[end] != u'>') ++end;
    }
  }
  const bool closed = end < limit;
  if (closed) ++end;
  Blank(prose, i, end);
  const bool self_closing = closed && end >= 2 && text[end - 2] == u'/';
  return {end, closed, self_closing ? RawElement::kNone : raw};
}

}  // namespace quenvar::document
