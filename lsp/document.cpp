#include "lsp/document.h"

#include <algorithm>
#include <utility>

#include <quenvarspell/types.h>

namespace quenvar::lsp {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The length of line without its line end.
std::size_t ContentLength(std::u16string_view line) {
  std::size_t length = line.size();
  if (length > 0 && line[length - 1] == u'\n') --length;
  if (length > 0 && line[length - 1] == u'\r') --length;
  return length;
}

// The UTF-8 length of the character that starts at text[i], and how many
// UTF-16 units it takes; a lone surrogate is written as U+FFFD.
std::pair<std::size_t, std::size_t> Utf8Length(std::u16string_view text, std::size_t i) {
  const char16_t c = text[i];
  if (c < 0x80) return {1, 1};
  if (c < 0x800) return {2, 1};
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    return {4, 2};
  }
  return {3, 1};
}

// Cuts text into lines at "\n", "\r\n" and "\r", each keeping its end. The
// piece after a last line end is kept only when keep_empty_last is set.
std::vector<std::u16string> SplitLines(std::u16string_view text, bool keep_empty_last) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\n' && text[i] != u'\r') continue;
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    lines.emplace_back(text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size() || keep_empty_last) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

Document::Document(std::string_view utf8_text, PositionEncoding encoding)
    : encoding_(encoding) {
  ReplaceAll(utf8_text);
}

void Document::ReplaceAll(std::string_view utf8_text) {
  lines_.clear();
  for (std::u16string& text : SplitLines(FromUtf8(utf8_text), true)) {
    lines_.push_back({std::move(text)});
  }
}

std::size_t Document::Offset(const Line& line, std::size_t character) const {
  const std::size_t length = ContentLength(line.text);
  if (encoding_ == PositionEncoding::kUtf16) return std::min(character, length);
  std::size_t offset = 0;
  for (std::size_t units = 0; offset < length && units < character;) {
    const auto [bytes, code_units] = Utf8Length(line.text, offset);
    units += bytes;
    offset += code_units;
  }
  return std::min(offset, length);
}

void Document::Replace(Position from, Position to, std::string_view utf8_text) {
  const std::size_t last = lines_.size() - 1;
  const auto offset_of = [&](Position position) {
    if (position.line > last) return std::pair{last, ContentLength(lines_[last].text)};
    return std::pair{position.line, Offset(lines_[position.line], position.character)};
  };
  auto begin = offset_of(from);
  auto end = offset_of(to);
  if (end < begin) std::swap(begin, end);
  auto [first, first_offset] = begin;
  const auto [end_line, end_offset] = end;
  std::u16string text = lines_[first].text.substr(0, first_offset);
  text += FromUtf8(utf8_text);
  text.append(lines_[end_line].text, end_offset);
  // A "\r" that ends the line before and a "\n" now after it are one end.
  if (first > 0 && !text.empty() && text.front() == u'\n' &&
      lines_[first - 1].text.back() == u'\r') {
    --first;
    text.insert(0, lines_[first].text);
  }
  std::vector<std::u16string> pieces = SplitLines(text, end_line == last);
  const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(first);
  lines_.erase(at, lines_.begin() + static_cast<std::ptrdiff_t>(end_line + 1));
  std::vector<Line> fresh;
  fresh.reserve(pieces.size());
  for (std::u16string& piece : pieces) fresh.push_back({std::move(piece)});
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(first),
                std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
  if (lines_.empty()) lines_.push_back({});
}

std::vector<Mark> Document::Marks(std::u16string_view text,
                                  const std::vector<UnknownWord>& unknown) const {
  std::vector<Mark> marks;
  marks.reserve(unknown.size());
  if (encoding_ == PositionEncoding::kUtf16) {
    for (const UnknownWord& word : unknown) {
      marks.push_back({word.offset, word.offset + word.length, word.word});
    }
    return marks;
  }
  // Words come in text order: one walk gives every column.
  std::size_t offset = 0;
  std::size_t units = 0;
  const auto units_at = [&](std::size_t target) {
    while (offset < target && offset < text.size()) {
      const auto [bytes, code_units] = Utf8Length(text, offset);
      units += bytes;
      offset += code_units;
    }
    return units;
  };
  for (const UnknownWord& word : unknown) {
    const std::size_t start = units_at(word.offset);
    marks.push_back({start, units_at(word.offset + word.length), word.word});
  }
  return marks;
}

void Document::Check(const LineChecker& checker) {
  std::uint32_t state = 0;
  for (Line& line : lines_) {
    if (!line.checked || line.state != state) {
      LineWords words = checker.Check(state, line.text);
      if (words.unknown.size() > kMaxMarks) words.unknown.resize(kMaxMarks);
      line.marks = Marks(line.text, words.unknown);
      line.state = state;
      line.state_after = words.state_after;
      line.checked = true;
      line.sent = nullptr;
    }
    state = line.state_after;
  }
}

void Document::Uncheck() {
  for (Line& line : lines_) line.checked = false;
}

}  // namespace quenvar::lsp
