#include "document/text_scan.h"

#include <algorithm>

#include "base/ascii.h"

namespace quenvar::document {

void CopyProse(std::u16string_view text, std::u16string& prose) {
  prose.assign(text);
  std::replace(prose.begin(), prose.end(), u'\uFFFF', u' ');
}

void Blank(std::u16string& prose, std::size_t from, std::size_t to) {
  to = std::min(to, prose.size());
  if (from < to) {
    std::fill(prose.begin() + static_cast<std::ptrdiff_t>(from),
              prose.begin() + static_cast<std::ptrdiff_t>(to), u' ');
  }
}

std::size_t LineEnd(std::u16string_view text, std::size_t i) {
  const std::size_t lf = text.find(u'\n', i);
  return lf == std::u16string_view::npos ? text.size() : lf;
}

bool MatchesFolded(std::u16string_view text, std::size_t at, std::u16string_view word) {
  if (at > text.size() || text.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (AsciiLower(text[at + i]) != word[i]) return false;
  }
  return true;
}

std::size_t TextScan::ParagraphEnd(std::size_t from) {
  if (from == 0) {
    std::size_t i = 0;
    while (i < text_.size() && (text_[i] == u' ' || text_[i] == u'\t' || text_[i] == u'\r')) ++i;
    if (i < text_.size() && text_[i] == u'\n') return 0;
  }
  if (paragraph_from_ != kNowhere && from >= paragraph_from_ &&
      (paragraph_end_ == kNowhere || from < paragraph_end_)) {
    return paragraph_end_;
  }
  paragraph_from_ = from;
  paragraph_end_ = kNowhere;
  for (std::size_t lf = text_.find(u'\n', from); lf != std::u16string_view::npos;) {
    std::size_t i = lf + 1;
    while (i < text_.size() && (text_[i] == u' ' || text_[i] == u'\t' || text_[i] == u'\r')) {
      ++i;
    }
    if (i < text_.size() && text_[i] == u'\n') {
      paragraph_end_ = lf + 1;
      break;
    }
    lf = text_.find(u'\n', i);
  }
  return paragraph_end_;
}

std::size_t TextScan::Find(std::u16string_view needle, std::size_t from) {
  auto search = std::find_if(searches_.begin(), searches_.end(),
                             [&](const Search& s) { return s.needle == needle; });
  if (search != searches_.end() && from >= search->from && from <= search->found) {
    return search->found;  // nothing between: the same answer
  }
  if (search == searches_.end()) search = searches_.insert(searches_.end(), {std::u16string(needle), 0, 0});
  const char16_t first = needle.front();
  const char16_t upper = IsAsciiLower(first) ? AsciiUpper(first) : first;
  std::size_t found = kNowhere;
  for (std::size_t i = from; i < text_.size(); ++i) {
    const char16_t c = text_[i];
    if ((c == first || c == upper) && MatchesFolded(text_, i, needle)) {
      found = i;
      break;
    }
  }
  search->from = from;
  search->found = found;
  return found;
}

}  // namespace quenvar::document
