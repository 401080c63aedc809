#include "document/prose_words.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/ascii.h"

namespace quenvar::document {
namespace {

// What a character is to a word.
enum class Kind : std::uint8_t {
  kSpace,       // ends tokens
  kLetter,
  kMark,        // a combining mark: part of the word, not a letter
  kDigit,
  kApostrophe,  // ' ’ ʼ: inside words, stripped around them
  kHyphen,      // - ‐ ‑: joins compounds; two in a row are a dash
  kJoiner,      // part of the word, left out of it
  kUnderscore,  // inside: an identifier
  kAt,          // inside: a mail address or a handle
  kDot,         // inside: a file name, a domain, a.b
  kBreak,       // every other character: punctuation, symbols, quotes, dashes
};

// Characters of a token that call for a closer look.
enum TokenFlag : std::uint8_t {
  kColon = 1,      // URLs, std::move
  kSlash = 2,      // paths, URLs
  kBackslash = 4,  // Windows paths
  kCode = 8,       // = { } and the > of -> and =>
  kW = 16,         // www.
  kParen = 32,     // f()
};

struct AsciiClass {
  std::array<Kind, 128> kind;
  std::array<std::uint8_t, 128> flags;
};

constexpr AsciiClass MakeAsciiClass() {
  AsciiClass table{};
  for (int c = 0; c < 128; ++c) {
    Kind kind = Kind::kBreak;
    if (c <= ' ' || c == 0x7F) {
      kind = Kind::kSpace;
    } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      kind = Kind::kLetter;
    } else if (c >= '0' && c <= '9') {
      kind = Kind::kDigit;
    } else if (c == '\'') {
      kind = Kind::kApostrophe;
    } else if (c == '-') {
      kind = Kind::kHyphen;
    } else if (c == '_') {
      kind = Kind::kUnderscore;
    } else if (c == '@') {
      kind = Kind::kAt;
    } else if (c == '.') {
      kind = Kind::kDot;
    }
    table.kind[static_cast<std::size_t>(c)] = kind;
  }
  table.flags[':'] = kColon;
  table.flags['/'] = kSlash;
  table.flags['\\'] = kBackslash;
  for (char c : {'=', '{', '}', '>'}) table.flags[static_cast<std::size_t>(c)] = kCode;
  table.flags['w'] = kW;
  table.flags['W'] = kW;
  table.flags['('] = kParen;
  return table;
}
constexpr AsciiClass kAscii = MakeAsciiClass();

Kind KindOfCodePoint(UChar32 c) {
  switch (c) {
    case 0x85: case 0xA0: case 0x1680: case 0x2028: case 0x2029: case 0x202F:
    case 0x205F: case 0x3000: case 0xFEFF:
      return Kind::kSpace;
    case 0x2019: case 0x02BC:
      return Kind::kApostrophe;
    case 0x2010: case 0x2011:
      return Kind::kHyphen;
    case kJoiner: case 0xAD: case 0x200C: case 0x200D:
      return Kind::kJoiner;
    default:
      break;
  }
  if (c >= 0x2000 && c <= 0x200B) return Kind::kSpace;
  if (u_isalpha(c)) return Kind::kLetter;
  switch (u_charType(c)) {
    case U_NON_SPACING_MARK: case U_COMBINING_SPACING_MARK: case U_ENCLOSING_MARK:
      return Kind::kMark;
    case U_DECIMAL_DIGIT_NUMBER:
      return Kind::kDigit;
    default:
      return Kind::kBreak;
  }
}

// The kind of the character at i and the number of code units it takes.
struct Character {
  Kind kind;
  std::size_t size;
};

Character NonAsciiCharacterAt(std::u16string_view text, std::size_t i);

inline Character CharacterAt(std::u16string_view text, std::size_t i) {
  const char16_t unit = text[i];
  if (unit < 128) return {kAscii.kind[unit], 1};
  return NonAsciiCharacterAt(text, i);
}

__attribute__((noinline)) Character NonAsciiCharacterAt(std::u16string_view text, std::size_t i) {
  const char16_t unit = text[i];
  if (U16_IS_LEAD(unit) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
    return {KindOfCodePoint(static_cast<UChar32>(U16_GET_SUPPLEMENTARY(unit, text[i + 1]))), 2};
  }
  if (U16_IS_SURROGATE(unit)) return {Kind::kBreak, 1};
  return {KindOfCodePoint(unit), 1};
}

bool IsWordKind(Kind kind) { return kind != Kind::kSpace && kind != Kind::kBreak; }

// Kinds stripped from the ends of a word.
bool IsEdgeKind(Kind kind) {
  return kind == Kind::kApostrophe || kind == Kind::kHyphen || kind == Kind::kJoiner ||
         kind == Kind::kUnderscore || kind == Kind::kDot;
}

// The end of prose[begin, end) without the edge characters that end it;
// joiners after a letter stay, as the rest of the letter's source.
std::size_t TrimmedEnd(std::u16string_view prose, std::size_t begin, std::size_t end) {
  for (;;) {
    std::size_t joined = end;
    while (joined > begin && prose[joined - 1] == kJoiner) --joined;
    if (joined > begin && joined < end) {
      const Kind kind = CharacterAt(prose, joined - 1).kind;
      if (kind == Kind::kLetter || kind == Kind::kMark) return end;
    }
    if (end == begin || !IsEdgeKind(CharacterAt(prose, end - 1).kind)) return end;
    --end;
  }
}

bool IsWordCharAt(std::u16string_view text, std::size_t i) {
  return i < text.size() && IsWordKind(CharacterAt(text, i).kind);
}

// Pieces longer than this are no words: encoded data or run-together junk,
// whose corrections would cost time for nothing.
constexpr std::size_t kLongestWord = 64;

// Acronyms of capitals up to this long are no words (CLI, NFS, VCPKG), as
// word processors leave them; longer runs of capitals are prose in capitals.
constexpr std::size_t kLongestAcronym = 5;

// True for an acronym, or a Roman numeral in lower case up to xxxix (the
// (ii) and (iv) of enumerations), of two letters or more: a single letter
// stays a word.
bool IsAcronymOrNumeral(std::u16string_view piece) {
  if (piece.size() < 2) return false;
  if (piece.size() <= kLongestAcronym &&
      std::all_of(piece.begin(), piece.end(), [](char16_t c) { return IsAsciiUpper(c); })) {
    return true;
  }
  std::size_t i = 0;
  while (i < piece.size() && i < 3 && piece[i] == u'x') ++i;
  const std::u16string_view rest = piece.substr(i);
  for (const std::u16string_view units : {u"", u"i", u"ii", u"iii", u"iv", u"v", u"vi", u"vii",
                                          u"viii", u"ix"}) {
    if (rest == units) return true;
  }
  return false;
}

// Where the URL in token [begin, end) starts: at the scheme before "://" or
// at a "www." that starts a piece; end when there is none.
std::size_t UrlStart(std::u16string_view text, std::size_t begin, std::size_t end) {
  const std::u16string_view token = text.substr(begin, end - begin);
  const std::size_t scheme_end = token.find(u"://");
  if (scheme_end != std::u16string_view::npos && scheme_end > 0) {
    std::size_t start = scheme_end;
    while (start > 0 && (IsAsciiLetter(token[start - 1]) ||
                         (token[start - 1] >= u'0' && token[start - 1] <= u'9') ||
                         token[start - 1] == u'+' || token[start - 1] == u'-' ||
                         token[start - 1] == u'.')) {
      --start;
    }
    if (start < scheme_end) return begin + start;
  }
  for (std::size_t at = token.find(u"www."); at != std::u16string_view::npos;
       at = token.find(u"www.", at + 1)) {
    if (at == 0 || !IsWordCharAt(token, at - 1)) return begin + at;
  }
  for (std::size_t at = token.find(u"WWW."); at != std::u16string_view::npos;
       at = token.find(u"WWW.", at + 1)) {
    if (at == 0 || !IsWordCharAt(token, at - 1)) return begin + at;
  }
  return end;
}

// Whether token [begin, end), which holds a slash or a backslash, is a file
// path: /usr/share, ~/x, ./a, C:\x, a\b, a/b/c or dir/file.ext. A single
// slash between words (and/or) is prose.
bool IsPath(std::u16string_view text, std::size_t begin, std::size_t end) {
  std::size_t start = begin;
  while (start < end && !IsWordKind(CharacterAt(text, start).kind) && text[start] != u'/' &&
         text[start] != u'~' && text[start] != u'\\') {
    ++start;
  }
  const std::u16string_view token = text.substr(start, end - start);
  if (token.starts_with(u"/") || token.starts_with(u"~/") || token.starts_with(u"./") ||
      token.starts_with(u"../") || token.starts_with(u"\\")) {
    return true;
  }
  if (token.size() >= 3 && IsAsciiLetter(token[0]) && token[1] == u':' && token[2] == u'\\') {
    return true;
  }
  std::size_t slashes = 0;
  std::size_t last_slash = 0;
  for (std::size_t i = 0; i < token.size(); ++i) {
    if (token[i] == u'\\' && i > 0 && i + 1 < token.size()) return true;
    if (token[i] == u'/') {
      ++slashes;
      last_slash = i;
    }
  }
  if (slashes >= 2) return true;
  if (slashes == 1) {
    // dir/file.ext: a dot between word characters after the slash.
    for (std::size_t i = last_slash + 1; i + 1 < token.size(); ++i) {
      if (token[i] == u'.' && i > last_slash + 1 && IsWordCharAt(token, i - 1) &&
          IsAsciiLetter(token[i + 1])) {
        return true;
      }
    }
  }
  return false;
}

// Whether token [begin, end) is code: an assignment, braces, std::move,
// a->b, x => y or f().
bool IsCode(std::u16string_view text, std::size_t begin, std::size_t end) {
  const std::u16string_view token = text.substr(begin, end - begin);
  if (token.find_first_of(u"={}") != std::u16string_view::npos) return true;
  return token.find(u"::") != std::u16string_view::npos ||
         token.find(u"->") != std::u16string_view::npos ||
         token.find(u"()") != std::u16string_view::npos;
}

}  // namespace

void ProseWords::Split(std::u16string_view prose,
                       const std::function<void(const DocumentWord&)>& visit) {
  std::size_t i = 0;
  const std::size_t n = prose.size();
  while (i < n) {
    Character c = CharacterAt(prose, i);
    if (c.kind == Kind::kSpace) {
      i += c.size;
      continue;
    }
    const std::size_t begin = i;
    std::uint8_t flags = 0;
    while (i < n) {
      const char16_t unit = prose[i];
      if (unit < 128) {
        if (kAscii.kind[unit] == Kind::kSpace) break;
        flags = static_cast<std::uint8_t>(flags | kAscii.flags[unit]);
        ++i;
        continue;
      }
      c = CharacterAt(prose, i);
      if (c.kind == Kind::kSpace) break;
      i += c.size;
    }
    std::size_t end = i;
    if ((flags & (kColon | kW)) != 0) end = UrlStart(prose, begin, end);
    if ((flags & (kSlash | kBackslash)) != 0 && IsPath(prose, begin, end)) continue;
    if ((flags & (kCode | kColon | kParen)) != 0 && IsCode(prose, begin, end)) continue;
    SplitToken(prose, begin, end, visit);
  }
}

void ProseWords::SplitToken(std::u16string_view prose, std::size_t begin, std::size_t end,
                            const std::function<void(const DocumentWord&)>& visit) {
  std::size_t i = begin;
  while (i < end) {
    Character c = CharacterAt(prose, i);
    if (!IsWordKind(c.kind)) {
      i += c.size;
      continue;
    }
    // A run of word characters, parted at dashes (two hyphens or more).
    std::size_t start = i;
    Kind previous = Kind::kBreak;
    while (i < end) {
      c = CharacterAt(prose, i);
      if (!IsWordKind(c.kind)) break;
      if (c.kind == Kind::kHyphen && previous == Kind::kHyphen) {
        SplitPiece(prose, start, i - 1, visit);
        while (i < end && CharacterAt(prose, i).kind == Kind::kHyphen) ++i;
        start = i;
        previous = Kind::kBreak;
        continue;
      }
      previous = c.kind;
      i += c.size;
    }
    SplitPiece(prose, start, i, visit);
  }
}

void ProseWords::SplitPiece(std::u16string_view prose, std::size_t begin, std::size_t end,
                            const std::function<void(const DocumentWord&)>& visit) {
  while (begin < end && IsEdgeKind(CharacterAt(prose, begin).kind)) ++begin;
  end = TrimmedEnd(prose, begin, end);
  if (begin == end || end - begin > kLongestWord) return;
  bool has_letter = false;
  bool plain = true;  // the checked form is the source
  char16_t previous = 0;
  for (std::size_t i = begin; i < end;) {
    const Character c = CharacterAt(prose, i);
    switch (c.kind) {
      case Kind::kLetter:
        has_letter = true;
        if (IsAsciiUpper(prose[i]) && IsAsciiLower(previous)) return;  // camelCase
        break;
      case Kind::kDigit: case Kind::kUnderscore: case Kind::kAt: case Kind::kDot:
        return;
      case Kind::kApostrophe:
        if (prose[i] != u'\'') plain = false;
        break;
      case Kind::kHyphen:
        if (prose[i] != u'-') plain = false;
        break;
      case Kind::kJoiner:
        plain = false;
        break;
      default:
        break;
    }
    previous = prose[i];
    i += c.size;
  }
  if (!has_letter || IsAcronymOrNumeral(prose.substr(begin, end - begin))) return;
  // The parts between hyphens, each without apostrophes and joiners at its
  // ends.
  std::size_t part = begin;
  while (part < end) {
    std::size_t part_end = part;
    while (part_end < end && CharacterAt(prose, part_end).kind != Kind::kHyphen) ++part_end;
    const bool hyphen_after = part_end < end;
    std::size_t first = part;
    while (first < part_end && IsEdgeKind(CharacterAt(prose, first).kind)) ++first;
    const std::size_t last = TrimmedEnd(prose, first, part_end);
    if (first < last) {
      std::u16string_view word = prose.substr(first, last - first);
      if (!plain) {
        word_.clear();
        for (std::size_t i = first; i < last; ++i) {
          const char16_t unit = prose[i];
          if (unit == kJoiner || unit == 0xAD || unit == 0x200C || unit == 0x200D) continue;
          word_ += (unit == 0x2019 || unit == 0x02BC) ? u'\'' : unit;
        }
        word = word_;
      }
      visit({first, last - first, word, hyphen_after});
    }
    part = hyphen_after ? part_end + 1 : part_end;
  }
}

}  // namespace quenvar::document
