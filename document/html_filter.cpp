// HTML and XML: tags, comments, declarations and the contents of the
// elements that hold code are blanked, character references decoded; the
// alt and title attributes' values are read as prose.

#include "document/filter.h"
#include "document/html_markup.h"
#include "document/text_scan.h"

namespace quenvar::document {
namespace {

enum class Open : std::uint32_t { kNothing, kTag, kComment, kRawContent };

class HtmlFilter : public Filter {
 public:
  explicit HtmlFilter(std::uint32_t state)
      : open_(static_cast<Open>(state & 3)), raw_(static_cast<RawElement>((state >> 2) & 7)) {}

  std::uint32_t state() const override {
    return static_cast<std::uint32_t>(open_) | static_cast<std::uint32_t>(raw_) << 2;
  }

  void Mask(std::u16string_view text, std::u16string& prose) override {
    CopyProse(text, prose);
    TextScan scan(text);
    std::size_t i = 0;
    switch (open_) {
      case Open::kTag: {
        const std::size_t limit = std::min(scan.ParagraphEnd(0), text.size());
        const std::size_t gt = text.substr(0, limit).find(u'>');
        i = gt == std::u16string_view::npos ? limit : gt + 1;
        Blank(prose, 0, i);
        if (gt != std::u16string_view::npos || limit < text.size()) open_ = Open::kNothing;
        break;
      }
      case Open::kComment:
      case Open::kRawContent:
        i = Closed(text, 0, 0, true, scan, prose);
        break;
      case Open::kNothing:
        break;
    }
    while (i < text.size()) {
      i = text.find_first_of(u"<&", i);
      if (i == std::u16string_view::npos) break;
      if (text[i] == u'&') {
        i = DecodeEntity(text, i, prose);
        continue;
      }
      if (StartsComment(text, i)) {
        open_ = Open::kComment;
        i = Closed(text, i, i + 4, false, scan, prose);
        continue;
      }
      const std::size_t paragraph_end = scan.ParagraphEnd(i);
      const std::size_t limit = std::min(paragraph_end, text.size());
      const Markup markup = MaskMarkup(text, i, limit, prose);
      if (markup.end == i) {
        ++i;
      } else if (!markup.closed) {
        // A tag left open ends with its paragraph, or goes on into the next
        // text.
        if (paragraph_end == kNowhere) open_ = Open::kTag;
        i = markup.end;
      } else if (markup.raw != RawElement::kNone) {
        open_ = Open::kRawContent;
        raw_ = markup.raw;
        i = Closed(text, markup.end, markup.end, false, scan, prose);
      } else {
        i = markup.end;
      }
    }
  }

 private:
  // Blanks from start the open comment or raw element's content, whose end
  // is looked for from from on, up to its end; one never closed ends with
  // the paragraph of start, or, when the text holds no paragraph end or the
  // construct was carried from the previous text, goes on into the next
  // text. Returns where reading goes on.
  std::size_t Closed(std::u16string_view text, std::size_t start, std::size_t from,
                     bool carried, TextScan& scan, std::u16string& prose) {
    const bool comment = open_ == Open::kComment;
    std::size_t end = kNowhere;
    if (const std::size_t at = scan.Find(comment ? u"-->" : EndTagOf(raw_), from);
        at != kNowhere) {
      const std::size_t gt = comment ? at + 2 : text.find(u'>', at);
      end = gt == std::u16string_view::npos ? text.size() : gt + 1;
    } else if (!carried) {
      end = scan.ParagraphEnd(start);
    }
    if (end == kNowhere) {
      Blank(prose, start, text.size());
      return text.size();
    }
    open_ = Open::kNothing;
    raw_ = RawElement::kNone;
    Blank(prose, start, end);
    return end;
  }

  Open open_;
  RawElement raw_;
};

}  // namespace

std::unique_ptr<Filter> MakeHtmlFilter(std::uint32_t state) {
  return std::make_unique<HtmlFilter>(state);
}

}  // namespace quenvar::document
