// Markdown as CommonMark and GitHub write it, line by line: the blocks that
// are code or data are blanked whole, and each paragraph's inline markup
// (code spans, link destinations, autolinks, raw HTML) is blanked before its
// words are read.

#include <algorithm>
#include <array>

#include "document/filter.h"
#include "document/html_markup.h"
#include "document/prose_words.h"
#include "document/text_scan.h"

namespace quenvar::document {
namespace {

enum class Block : std::uint32_t { kNone, kFence, kComment, kRaw };

// Fence lengths beyond this count as this much: a closing fence must be at
// least as long, up to here.
constexpr std::size_t kLongestFence = 16;
// Backtick runs longer than this open no code span.
constexpr std::size_t kLongestTicks = 32;
// Footnote labels longer than this are none.
constexpr std::size_t kLongestLabel = 64;
// List indents beyond this count as this much.
constexpr std::size_t kDeepestIndent = 63;

bool IsBlankSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r'; }

bool IsAsciiPunctuation(char16_t c) {
  return (c >= u'!' && c <= u'/') || (c >= u':' && c <= u'@') || (c >= u'[' && c <= u'`') ||
         (c >= u'{' && c <= u'~');
}

// A line's containers and indentation: the block quote markers before it
// and the column its content starts at.
struct LineStart {
  std::size_t content;  // the first character after the indentation
  std::size_t indent;   // in columns, tabs to multiples of 4
};

LineStart ReadLineStart(std::u16string_view text, std::size_t i, std::size_t end) {
  for (;;) {
    std::size_t j = i;
    while (j < end && j - i < 3 && text[j] == u' ') ++j;
    if (j >= end || text[j] != u'>') break;
    i = j + 1;
    if (i < end && text[i] == u' ') ++i;
  }
  std::size_t indent = 0;
  while (i < end && (text[i] == u' ' || text[i] == u'\t')) {
    indent = text[i] == u'\t' ? (indent / 4 + 1) * 4 : indent + 1;
    ++i;
  }
  return {i, indent};
}

bool IsBlank(std::u16string_view text, std::size_t i, std::size_t end) {
  while (i < end && IsBlankSpace(text[i])) ++i;
  return i == end;
}

// A fence line: its character, length, and whether an info string (a
// language) follows, which makes it a line that can only open a block.
struct Fence {
  char16_t mark = 0;  // 0: no fence
  std::size_t length = 0;
  bool bare = true;
};

Fence ReadFence(std::u16string_view text, std::size_t i, std::size_t end) {
  const char16_t mark = i < end ? text[i] : u'\0';
  if (mark != u'`' && mark != u'~') return {};
  std::size_t j = i;
  while (j < end && text[j] == mark) ++j;
  if (j - i < 3) return {};
  const bool bare = IsBlank(text, j, end);
  if (!bare && mark == u'`' &&
      text.substr(j, end - j).find(u'`') != std::u16string_view::npos) {
    return {};
  }
  return {mark, std::min(j - i, kLongestFence), bare};
}

// Where a fence's block stops: at its closing line, or at a line that can
// only open another block.
struct FenceEnd {
  std::size_t closer = kNowhere;  // start of the closing line
  std::size_t stop = kNowhere;    // start of a line opening another block
};

// The list item marker at text[i], and the column its content starts at;
// 0 when none is there.
std::size_t ListContentIndent(std::u16string_view text, std::size_t i, std::size_t end,
                              std::size_t indent) {
  std::size_t j = i;
  if (j < end && (text[j] == u'-' || text[j] == u'+' || text[j] == u'*')) {
    ++j;
  } else {
    while (j < end && j - i < 9 && text[j] >= u'0' && text[j] <= u'9') ++j;
    if (j == i || j >= end || (text[j] != u'.' && text[j] != u')')) return 0;
    ++j;
  }
  if (j < end && text[j] != u' ' && text[j] != u'\t' && text[j] != u'\r') return 0;
  std::size_t spaces = 0;
  while (j + spaces < end && text[j + spaces] == u' ') ++spaces;
  if (spaces == 0 || spaces > 4 || j + spaces >= end) spaces = 1;
  return std::min(indent + (j - i) + spaces, kDeepestIndent);
}

class MarkdownFilter : public Filter {
 public:
  explicit MarkdownFilter(std::uint32_t state)
      : block_(static_cast<Block>(state & 7)),
        tilde_((state >> 3) & 1),
        length_((state >> 4) & 63),
        in_paragraph_((state >> 10) & 1),
        list_indent_((state >> 11) & 63),
        started_((state >> 17) & 1) {}

  std::uint32_t state() const override {
    return static_cast<std::uint32_t>(block_) | (tilde_ ? 1u : 0u) << 3 |
           static_cast<std::uint32_t>(length_) << 4 | (in_paragraph_ ? 1u : 0u) << 10 |
           static_cast<std::uint32_t>(list_indent_) << 11 | (started_ ? 1u : 0u) << 17;
  }

  void Mask(std::u16string_view text, std::u16string& prose) override {
    CopyProse(text, prose);
    text_ = text;
    prose_ = &prose;
    TextScan scan(text);
    scan_ = &scan;
    for (auto& row : fence_ends_) row.fill({kNowhere, FenceEnd{}});
    paragraph_ = kNowhere;
    std::size_t pos = block_ == Block::kNone ? 0 : GoOnWithBlock();
    while (pos < text.size()) pos = Line(pos);
    EndParagraph(text.size());
    scan_ = nullptr;
    prose_ = nullptr;
  }

 private:
  // Reads the line at pos; returns where the next one starts.
  std::size_t Line(std::size_t pos) {
    const std::size_t end = LineEnd(text_, pos);
    const std::size_t next = std::min(end + 1, text_.size());
    const bool first_line = !started_;
    started_ = true;
    const LineStart start = ReadLineStart(text_, pos, end);
    const std::size_t c = start.content;
    if (IsBlank(text_, c, end)) {
      EndParagraph(pos);
      in_paragraph_ = false;
      return next;
    }
    if (first_line) {
      if (const std::size_t after = FrontMatterAt(pos, c, end, next); after != kNowhere) {
        return after;
      }
    }
    const std::size_t item = ListContentIndent(text_, c, end, start.indent);
    if (!in_paragraph_ && item == 0 && start.indent < list_indent_) {
      list_indent_ = start.indent;  // out of the innermost list
    }
    if (!in_paragraph_ && start.indent >= list_indent_ + 4) {
      Blank(*prose_, pos, end);  // indented code
      return next;
    }
    if (const Fence fence = ReadFence(text_, c, end); fence.mark != 0) {
      EndParagraph(pos);
      in_paragraph_ = false;
      return OpenFence(fence, pos, next);
    }
    if (text_[c] == u'<') {
      const RawElement raw = RawBlockAt(c, end);
      if (raw != RawElement::kNone || StartsComment(text_, c)) {
        EndParagraph(pos);
        in_paragraph_ = false;
        return OpenHtmlBlock(raw, pos, c);
      }
    }
    if (text_[c] == u'[' && !in_paragraph_ && LabelDefinitionAt(pos, c, end)) return next;
    if (item != 0) {
      EndParagraph(pos);
      list_indent_ = item;
    }
    if (text_[c] == u'#') {
      EndParagraph(pos);
      Inline(c, end);  // a heading
      in_paragraph_ = false;
      return next;
    }
    if (paragraph_ == kNowhere) paragraph_ = pos;
    in_paragraph_ = true;
    return next;
  }

  // Front matter opening the document with the line at pos (content from
  // c), blanked: where the text after it starts; kNowhere when there is none.
  std::size_t FrontMatterAt(std::size_t pos, std::size_t c, std::size_t end,
                            std::size_t next) {
    const std::u16string_view line = text_.substr(c, end - c);
    if (!(line.starts_with(u"---") || line.starts_with(u"+++")) || !IsBlank(text_, c + 3, end)) {
      return kNowhere;
    }
    const std::size_t after = FrontMatterEnd(text_[c], next);
    if (after != kNowhere) Blank(*prose_, pos, after);
    return after;
  }

  // A label definition on the line at pos (content from c, at a '['): a
  // footnote's label is blanked and its text read on (false); a link
  // reference definition is blanked whole (true). False when there is none.
  bool LabelDefinitionAt(std::size_t pos, std::size_t c, std::size_t end) {
    const std::size_t label_end = text_.substr(0, end).find(u"]:", c);
    if (label_end == std::u16string_view::npos) return false;
    if (c + 1 < end && text_[c + 1] == u'^') {
      Blank(*prose_, c, label_end + 2);
      return false;
    }
    Blank(*prose_, pos, end);
    return true;
  }

  // The end of the front matter that opens the document with a line of
  // mark: after its closing line; kNowhere when it has none.
  std::size_t FrontMatterEnd(char16_t mark, std::size_t from) const {
    for (std::size_t pos = from; pos < text_.size();) {
      const std::size_t end = LineEnd(text_, pos);
      const std::u16string_view line = text_.substr(pos, end - pos);
      if ((line.starts_with(mark == u'-' ? u"---" : u"+++") ||
           (mark == u'-' && line.starts_with(u"..."))) &&
          IsBlank(text_, pos + 3, end)) {
        return std::min(end + 1, text_.size());
      }
      pos = end + 1;
    }
    return kNowhere;
  }

  // Looks for the end of a fence of mark and length from the line at from
  // on; each search is remembered until the walk passes what it found.
  FenceEnd FindFenceEnd(char16_t mark, std::size_t length, std::size_t from) {
    auto& [searched_from, found] = fence_ends_[mark == u'~' ? 1 : 0][length];
    const std::size_t until = std::min(found.closer, found.stop);
    if (searched_from != kNowhere && from >= searched_from && (until == kNowhere || from <= until)) {
      return found;
    }
    searched_from = from;
    found = {};
    for (std::size_t pos = from; pos < text_.size();) {
      const std::size_t end = LineEnd(text_, pos);
      const Fence fence = ReadFence(text_, ReadLineStart(text_, pos, end).content, end);
      if (fence.mark == mark) {
        if (!fence.bare) {
          found.stop = pos;
          break;
        }
        if (fence.length >= length) {
          found.closer = pos;
          break;
        }
      }
      pos = end + 1;
    }
    return found;
  }

  // Blanks a fenced block that opens at the line at pos; returns where
  // reading goes on.
  std::size_t OpenFence(const Fence& fence, std::size_t pos, std::size_t next) {
    const FenceEnd found = FindFenceEnd(fence.mark, fence.length, next);
    if (found.closer != kNowhere) {
      const std::size_t end = std::min(LineEnd(text_, found.closer) + 1, text_.size());
      Blank(*prose_, pos, end);
      return end;
    }
    // Never closed: the block ends with its paragraph, or before the next
    // block's opening line, or goes on into the next text.
    const std::size_t limit = std::min(scan_->ParagraphEnd(pos), found.stop);
    if (limit != kNowhere) {
      Blank(*prose_, pos, limit);
      return limit;
    }
    block_ = Block::kFence;
    tilde_ = fence.mark == u'~';
    length_ = fence.length;
    Blank(*prose_, pos, text_.size());
    return text_.size();
  }

  // The raw HTML element whose start tag opens the line at c.
  RawElement RawBlockAt(std::size_t c, std::size_t end) const {
    for (const RawElement raw : {RawElement::kScript, RawElement::kStyle, RawElement::kPre,
                                 RawElement::kTextarea}) {
      const std::u16string_view name = EndTagOf(raw).substr(2);
      const std::size_t after = c + 1 + name.size();
      if (MatchesFolded(text_, c + 1, name) &&
          (after >= end || text_[after] == u'>' || text_[after] == u' ' ||
           text_[after] == u'\t' || text_[after] == u'\r')) {
        return raw;
      }
    }
    return RawElement::kNone;
  }

  // The closing text of a comment or a raw element's block.
  static std::u16string_view Closing(RawElement raw) {
    return raw == RawElement::kNone ? std::u16string_view(u"-->") : EndTagOf(raw);
  }

  // One past the closing of a block found at at (the closing's start).
  std::size_t AfterClosing(RawElement raw, std::size_t at) const {
    if (raw == RawElement::kNone) return at + 3;
    const std::size_t gt = text_.find(u'>', at);
    return gt == std::u16string_view::npos ? text_.size() : gt + 1;
  }

  // Blanks a comment or raw element that opens at c on the line at pos.
  std::size_t OpenHtmlBlock(RawElement raw, std::size_t pos, std::size_t c) {
    const std::size_t at = scan_->Find(Closing(raw), c + 4);
    if (at != kNowhere) {
      const std::size_t end = AfterClosing(raw, at);
      Blank(*prose_, pos, end);
      return end;
    }
    const std::size_t limit = scan_->ParagraphEnd(pos);
    if (limit != kNowhere) {
      Blank(*prose_, pos, limit);
      return limit;
    }
    block_ = raw == RawElement::kNone ? Block::kComment : Block::kRaw;
    length_ = static_cast<std::size_t>(raw);
    Blank(*prose_, pos, text_.size());
    return text_.size();
  }

  // Blanks the rest of a block open at the end of the previous text;
  // returns where reading goes on.
  std::size_t GoOnWithBlock() {
    std::size_t end = text_.size();
    bool closed = true;
    if (block_ == Block::kFence) {
      const FenceEnd found = FindFenceEnd(tilde_ ? u'~' : u'`', length_, 0);
      if (found.closer != kNowhere) {
        end = std::min(LineEnd(text_, found.closer) + 1, text_.size());
      } else if (found.stop != kNowhere) {
        end = found.stop;
      } else {
        closed = false;
      }
    } else {
      const auto raw = block_ == Block::kRaw ? static_cast<RawElement>(length_) : RawElement::kNone;
      const std::size_t at = scan_->Find(Closing(raw), 0);
      if (at != kNowhere) {
        end = AfterClosing(raw, at);
      } else {
        closed = false;
      }
    }
    Blank(*prose_, 0, end);
    if (closed) {
      block_ = Block::kNone;
      tilde_ = false;
      length_ = 0;
    }
    return end;
  }

  void EndParagraph(std::size_t end) {
    if (paragraph_ == kNowhere) return;
    Inline(paragraph_, end);
    paragraph_ = kNowhere;
  }

  // One past the closing run of exactly n backticks after from, before
  // end; kNowhere when none. Runs seen are remembered for the paragraph, so
  // that runs without a partner cost one scan together.
  std::size_t CodeSpanEnd(std::size_t from, std::size_t n, std::size_t end) {
    if (n > kLongestTicks) return kNowhere;
    if (ticks_scanned_ && (last_run_[n] == kNowhere || last_run_[n] < from)) return kNowhere;
    for (std::size_t i = from; i < end;) {
      if (text_[i] != u'`') {
        ++i;
        continue;
      }
      const std::size_t run = i;
      while (i < end && text_[i] == u'`') ++i;
      const std::size_t length = i - run;
      if (length <= kLongestTicks) last_run_[length] = run;
      if (length == n) return i;
    }
    ticks_scanned_ = true;
    return kNowhere;
  }

  // Blanks the inline markup of text_[begin, end): escapes, code spans,
  // autolinks and raw HTML, link destinations and reference labels; decodes
  // character references.
  void Inline(std::size_t begin, std::size_t end) {
    last_run_.fill(kNowhere);
    ticks_scanned_ = false;
    bracket_from_ = kNowhere;
    for (std::size_t i = begin; i < end;) {
      const std::size_t next = InlineMarkupEnd(i, end);
      i = next == kNowhere ? i + 1 : next;
    }
  }

  // Where the inline construct at i ends, blanked or decoded; kNowhere when
  // none starts there.
  std::size_t InlineMarkupEnd(std::size_t i, std::size_t end) {
    switch (text_[i]) {
      case u'\\':
        if (i + 1 < end && IsAsciiPunctuation(text_[i + 1])) {
          (*prose_)[i] = kJoiner;
          return i + 2;
        }
        return kNowhere;
      case u'`':
        return CodeSpanAt(i, end);
      case u'<':
        return AngleMarkupAt(i, end);
      case u']':
        return LinkTailAt(i, end);
      case u'[':
        return FootnoteReferenceAt(i, end);
      case u'&':
        return DecodeEntity(text_, i, *prose_);
      default:
        return kNowhere;
    }
  }

  // A run of backticks at i and the code span it opens, or the run alone
  // when nothing closes it.
  std::size_t CodeSpanAt(std::size_t i, std::size_t end) {
    std::size_t j = i;
    while (j < end && text_[j] == u'`') ++j;
    const std::size_t close = CodeSpanEnd(j, j - i, end);
    const std::size_t span_end = close == kNowhere ? j : close;
    Blank(*prose_, i, span_end);
    return span_end;
  }

  // A comment, an autolink or a tag at the '<' at i.
  std::size_t AngleMarkupAt(std::size_t i, std::size_t end) {
    if (StartsComment(text_, i)) {
      const std::size_t at = scan_->Find(u"-->", i + 4);
      const std::size_t comment_end = at == kNowhere || at >= end ? end : at + 3;
      Blank(*prose_, i, comment_end);
      return comment_end;
    }
    if (const std::size_t link_end = AutolinkEnd(i, end); link_end != kNowhere) {
      Blank(*prose_, i, link_end);
      return link_end;
    }
    const Markup markup = MaskMarkup(text_, i, end, *prose_);
    return markup.end > i ? markup.end : kNowhere;
  }

  // After a link text's ']' at i: its destination, or its reference label.
  std::size_t LinkTailAt(std::size_t i, std::size_t end) {
    if (i + 1 < end && text_[i + 1] == u'(') return DestinationEnd(i + 1, end);
    if (i + 1 < end && text_[i + 1] == u'[') {
      const std::size_t close = NextBracket(i + 2, end);
      if (close != kNowhere) {
        Blank(*prose_, i + 1, close + 1);
        return close + 1;
      }
    }
    return kNowhere;
  }

  // A footnote reference, [^label], at i.
  std::size_t FootnoteReferenceAt(std::size_t i, std::size_t end) {
    if (i + 1 >= end || text_[i + 1] != u'^') return kNowhere;
    const std::size_t close = FootnoteLabelEnd(i + 2, end);
    if (close == kNowhere) return kNowhere;
    Blank(*prose_, i, close + 1);
    return close + 1;
  }

  // The ']' that ends a footnote reference's label at from: within
  // kLongestLabel characters, with no space before it; kNowhere when none.
  std::size_t FootnoteLabelEnd(std::size_t from, std::size_t end) const {
    for (std::size_t i = from; i < end && i - from <= kLongestLabel; ++i) {
      if (text_[i] == u']') return i;
      if (IsBlankSpace(text_[i]) || text_[i] == u'\n' || text_[i] == u'[') return kNowhere;
    }
    return kNowhere;
  }

  // The first ']' at or after from, before end; kNowhere when none. The
  // answer is remembered until the walk passes it, so that brackets
  // without an end cost one scan together.
  std::size_t NextBracket(std::size_t from, std::size_t end) {
    if (bracket_from_ == kNowhere || from < bracket_from_ ||
        (bracket_ != kNowhere && from > bracket_)) {
      const std::size_t close = text_.substr(0, end).find(u']', from);
      bracket_from_ = from;
      bracket_ = close == std::u16string_view::npos ? kNowhere : close;
    }
    return bracket_;
  }

  // One past an autolink at i (<scheme:...> or <name@host>), or kNowhere.
  std::size_t AutolinkEnd(std::size_t i, std::size_t end) const {
    std::size_t j = i + 1;
    bool scheme_or_mail = false;
    while (j < end && text_[j] != u'>') {
      const char16_t c = text_[j];
      if (c == u' ' || c == u'<' || c == u'\n' || c == u'\t') return kNowhere;
      if (c == u':' || c == u'@') scheme_or_mail = true;
      ++j;
    }
    return j < end && scheme_or_mail && j > i + 1 && text_[i + 1] != u'/' ? j + 1 : kNowhere;
  }

  // Blanks a link destination whose '(' is at open: <...> or a run without
  // spaces, parentheses balanced; a title after it stays. Returns where
  // reading goes on.
  std::size_t DestinationEnd(std::size_t open, std::size_t end) {
    std::size_t j = open + 1;
    while (j < end && (text_[j] == u' ' || text_[j] == u'\t' || text_[j] == u'\n')) ++j;
    if (j < end && text_[j] == u'<') {
      while (j < end && text_[j] != u'>' && text_[j] != u'\n') ++j;
      if (j < end && text_[j] == u'>') ++j;
    } else {
      std::size_t depth = 0;
      while (j < end && !IsBlankSpace(text_[j]) && text_[j] != u'\n') {
        if (text_[j] == u'(') {
          ++depth;
        } else if (text_[j] == u')') {
          if (depth == 0) break;
          --depth;
        }
        ++j;
      }
    }
    Blank(*prose_, open, j);
    return j;
  }

  Block block_;
  bool tilde_;
  std::size_t length_;  // a fence's length, or a raw block's element
  bool in_paragraph_;
  std::size_t list_indent_;
  bool started_;

  // During Mask.
  std::u16string_view text_;
  std::u16string* prose_ = nullptr;
  TextScan* scan_ = nullptr;
  std::size_t paragraph_ = kNowhere;  // where the open paragraph starts
  std::array<std::array<std::pair<std::size_t, FenceEnd>, kLongestFence + 1>, 2> fence_ends_;
  std::array<std::size_t, kLongestTicks + 1> last_run_;
  bool ticks_scanned_ = false;
  std::size_t bracket_from_ = kNowhere;  // the last NextBracket asked
  std::size_t bracket_ = kNowhere;
};

}  // namespace

std::unique_ptr<Filter> MakeMarkdownFilter(std::uint32_t state) {
  return std::make_unique<MarkdownFilter>(state);
}

}  // namespace quenvar::document
