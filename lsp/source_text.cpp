#include "lsp/source_text.h"

#include <string>

#include <unicode/uchar.h>

namespace quenvar::lsp {
namespace {

constexpr std::size_t kNotFound = std::u16string_view::npos;

// What a line leaves open, in the low byte of the state; the level of a Lua
// long bracket ([==[ is 2) in the byte above.
enum Open : std::uint32_t {
  kNothing,
  kBlockComment,
  kDoubleQuoted,
  kSingleQuoted,
  kBackquoted,
  kTripleDouble,
  kTripleSingle,
  kLuaComment,
  kLuaString,
};

bool IsIdentifierChar(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
         c == u'_' || c >= 0x80;
}

bool At(std::u16string_view line, std::size_t i, std::u16string_view text) {
  return i <= line.size() && line.substr(i).starts_with(text);
}

// The level of a Lua long bracket ([[, [=[, ...) opening at line[i], or -1.
int LongBracketLevel(std::u16string_view line, std::size_t i) {
  if (i >= line.size() || line[i] != u'[') return -1;
  std::size_t j = i + 1;
  while (j < line.size() && line[j] == u'=') ++j;
  return j < line.size() && line[j] == u'[' ? static_cast<int>(j - i - 1) : -1;
}

// Where the closing delimiter of what is open starts, from line[i] on, and
// its length; kNotFound when the line does not close it.
std::size_t FindClose(SourceLanguage language, std::uint32_t open, std::uint32_t level,
                      std::u16string_view line, std::size_t i, std::size_t& length) {
  switch (open) {
    case kBlockComment:
      length = 2;
      return line.find(u"*/", i);
    case kLuaComment:
    case kLuaString: {
      const std::u16string close = u"]" + std::u16string(level, u'=') + u"]";
      length = close.size();
      return line.find(close, i);
    }
    default:
      break;
  }
  const char16_t quote = open == kDoubleQuoted || open == kTripleDouble ? u'"'
                         : open == kBackquoted                          ? u'`'
                                                                        : u'\'';
  const bool triple = open == kTripleDouble || open == kTripleSingle;
  const bool escapes = !(language == SourceLanguage::kShell && open == kSingleQuoted) &&
                       !(language == SourceLanguage::kGo && open == kBackquoted);
  length = triple ? 3 : 1;
  for (std::size_t j = i; j < line.size(); ++j) {
    if (escapes && line[j] == u'\\') {
      ++j;
    } else if (line[j] == quote &&
               (!triple || At(line, j, std::u16string(3, quote)))) {
      return j;
    }
  }
  return kNotFound;
}

// Whether what is open at the end of line goes on into the next line: a
// one-line string does only after a backslash (and in the shell always).
bool GoesOn(SourceLanguage language, std::uint32_t open, std::u16string_view line) {
  if (open != kDoubleQuoted && open != kSingleQuoted) return true;
  if (language == SourceLanguage::kShell) return true;
  std::size_t end = line.size();
  while (end > 0 && (line[end - 1] == u'\n' || line[end - 1] == u'\r')) --end;
  return end > 0 && line[end - 1] == u'\\';
}

// After a character literal ('a', '\n') or a Rust lifetime ('a) at line[i].
std::size_t SkipCharacterLiteral(std::u16string_view line, std::size_t i) {
  if (At(line, i + 1, u"\\")) {
    const std::size_t close = line.substr(0, i + 12).find(u'\'', i + 3);
    return close == kNotFound ? i + 1 : close + 1;
  }
  return At(line, i + 2, u"'") ? i + 3 : i + 1;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0xA0 || c == 0x3000;
}

bool IsApostrophe(char16_t c) { return c == u'\'' || c == 0x2019; }
bool IsLetter(char16_t c) {
  return c < 0x80 ? (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')
                  : u_isalpha(c) || (c >= 0xD800 && c <= 0xDFFF);
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsUpper(char16_t c) { return c < 0x80 ? c >= u'A' && c <= u'Z' : u_isupper(c); }
bool IsLower(char16_t c) { return c < 0x80 ? c >= u'a' && c <= u'z' : u_islower(c); }

// A piece between blanks that names a place rather than says something.
bool IsAddress(std::u16string_view piece) {
  const std::size_t at = piece.find(u'@');
  return piece.find(u'/') != kNotFound || piece.starts_with(u"www.") ||
         (at != kNotFound && piece.find(u'.', at) != kNotFound);
}

using WordVisit = std::function<void(std::size_t, std::size_t, std::u16string_view)>;

// Visits part, a run of letters and apostrophes at offset, less the
// apostrophes around it, when a letter is left.
void VisitPart(std::u16string_view part, std::size_t offset, const WordVisit& visit) {
  std::size_t begin = 0;
  std::size_t end = part.size();
  while (begin < end && IsApostrophe(part[begin])) ++begin;
  while (end > begin && IsApostrophe(part[end - 1])) --end;
  if (begin == end) return;
  part = part.substr(begin, end - begin);
  if (part.find(u'\u2019') == kNotFound) {
    visit(offset + begin, part.size(), part);
    return;
  }
  std::u16string word(part);
  for (char16_t& c : word) {
    if (c == 0x2019) c = u'\'';
  }
  visit(offset + begin, part.size(), word);
}

// Cuts token, letters, apostrophes and underscores at offset, into the
// words of an identifier.
void VisitIdentifierWords(std::u16string_view token, std::size_t offset,
                          const WordVisit& visit) {
  std::size_t start = 0;
  for (std::size_t k = 0; k <= token.size(); ++k) {
    const bool end = k == token.size() || token[k] == u'_';
    const bool turn =
        !end && k > start &&
        ((IsLower(token[k - 1]) && IsUpper(token[k])) ||
         (IsUpper(token[k - 1]) && IsUpper(token[k]) && k + 1 < token.size() &&
          IsLower(token[k + 1])));
    if (!end && !turn) continue;
    if (k > start) VisitPart(token.substr(start, k - start), offset + start, visit);
    start = end ? k + 1 : k;
  }
}

// Where the text of a line comment starting at line[i] begins, or
// kNotFound when none starts there.
std::size_t LineCommentText(SourceLanguage language, bool c_like, std::u16string_view line,
                            std::size_t i) {
  const char16_t c = line[i];
  const bool word_start = i == 0 || IsBlank(line[i - 1]) ||
                          std::u16string_view(u";|&(").find(line[i - 1]) != kNotFound;
  const bool line_comment =
      (c_like && At(line, i, u"//")) ||
      ((language == SourceLanguage::kPython || (language == SourceLanguage::kShell && word_start)) &&
       c == u'#') ||
      (language == SourceLanguage::kLua && At(line, i, u"--") && LongBracketLevel(line, i + 2) < 0);
  if (!line_comment) return kNotFound;
  return i + (c == u'#' ? 1 : 2);
}

// What starts at line[i], outside comments and strings and no line comment:
// the comment or string it opens (kNothing for none) and how many units to
// step over, its opener or what is skipped. A Lua long bracket sets level.
struct Opener {
  std::uint32_t what;
  std::size_t length;
};

Opener OpenerAt(SourceLanguage language, bool c_like, std::u16string_view line, std::size_t i,
                std::uint32_t& level) {
  const char16_t c = line[i];
  const bool lua = language == SourceLanguage::kLua;
  const bool python = language == SourceLanguage::kPython;
  if (c == u'\\') return {kNothing, 2};
  if (c_like && At(line, i, u"/*")) return {kBlockComment, 2};
  if (lua && At(line, i, u"--")) {
    level = static_cast<std::uint32_t>(LongBracketLevel(line, i + 2));
    return {kLuaComment, 4 + level};
  }
  if (lua && LongBracketLevel(line, i) >= 0) {
    level = static_cast<std::uint32_t>(LongBracketLevel(line, i));
    return {kLuaString, 2 + level};
  }
  if (python && At(line, i, u"\"\"\"")) return {kTripleDouble, 3};
  if (python && At(line, i, u"'''")) return {kTripleSingle, 3};
  if (c == u'"') return {kDoubleQuoted, 1};
  if (c == u'\'' && (language == SourceLanguage::kC || language == SourceLanguage::kGo)) {
    return {kNothing, SkipCharacterLiteral(line, i) - i};
  }
  if (c == u'\'') return {kSingleQuoted, 1};
  if (c == u'`' && (language == SourceLanguage::kGo || language == SourceLanguage::kJavaScript)) {
    return {kBackquoted, 1};
  }
  return {kNothing, 1};
}

}  // namespace

std::uint32_t ScanSourceLine(SourceLanguage language, std::uint32_t state,
                             std::u16string_view line,
                             const std::function<void(std::size_t, std::size_t)>& prose) {
  const bool c_like = language == SourceLanguage::kC || language == SourceLanguage::kGo ||
                      language == SourceLanguage::kJavaScript;
  const auto report = [&](std::size_t begin, std::size_t end) {
    if (begin < end) prose(begin, end);
  };
  std::uint32_t open = state & 0xFF;
  std::uint32_t level = state >> 8;
  std::size_t i = 0;
  while (i < line.size()) {
    if (open != kNothing) {
      std::size_t length = 0;
      const std::size_t close = FindClose(language, open, level, line, i, length);
      if (close == kNotFound) {
        report(i, line.size());
        return GoesOn(language, open, line) ? open | level << 8 : kNothing;
      }
      report(i, close);
      i = close + length;
      open = kNothing;
      continue;
    }
    const char16_t c = line[i];
    if (IsIdentifierChar(c)) {
      while (i < line.size() && IsIdentifierChar(line[i])) ++i;
      continue;
    }
    if (const std::size_t text = LineCommentText(language, c_like, line, i); text != kNotFound) {
      report(text, line.size());
      return kNothing;
    }
    const Opener opener = OpenerAt(language, c_like, line, i, level);
    open = opener.what;
    i += opener.length;
  }
  return open == kNothing || !GoesOn(language, open, line) ? kNothing : open | level << 8;
}

void ForEachSourceWord(std::u16string_view text, const WordVisit& visit) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    const std::size_t piece_start = i;
    while (i < text.size() && !IsBlank(text[i])) ++i;
    const std::u16string_view piece = text.substr(piece_start, i - piece_start);
    if (IsAddress(piece)) continue;
    for (std::size_t j = 0; j < piece.size();) {
      if (piece[j] == u'\\') {
        j += 2;
        continue;
      }
      const auto in_token = [&](char16_t c) {
        return IsLetter(c) || IsDigit(c) || IsApostrophe(c) || c == u'_';
      };
      if (!in_token(piece[j])) {
        ++j;
        continue;
      }
      const std::size_t start = j;
      bool digit = false;
      for (; j < piece.size() && in_token(piece[j]); ++j) digit = digit || IsDigit(piece[j]);
      if (!digit) {
        VisitIdentifierWords(piece.substr(start, j - start), piece_start + start, visit);
      }
    }
  }
}

}  // namespace quenvar::lsp
