#include <quenvarspell/document_splitter.h>

#include <string>

#include "document/filter.h"
#include "document/prose_words.h"
#include "document/text_scan.h"

namespace quenvar {
namespace {

// Plain text: everything is prose.
class TextFilter : public document::Filter {
 public:
  void Mask(std::u16string_view text, std::u16string& prose) override {
    document::CopyProse(text, prose);
  }
  std::uint32_t state() const override { return 0; }
};

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

namespace document {

std::unique_ptr<Filter> MakeFilter(DocumentFormat format, std::uint32_t state) {
  switch (format) {
    case DocumentFormat::kMarkdown:
      return MakeMarkdownFilter(state);
    case DocumentFormat::kHtml:
      return MakeHtmlFilter(state);
    case DocumentFormat::kTex:
      return MakeTexFilter(state);
    case DocumentFormat::kText:
      break;
  }
  return std::make_unique<TextFilter>();
}

}  // namespace document

DocumentFormat FormatOfFileName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  const std::size_t slash = name.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return DocumentFormat::kText;
  }
  const std::string extension = LowerAscii(name.substr(dot + 1));
  if (extension == "md" || extension == "markdown") return DocumentFormat::kMarkdown;
  if (extension == "html" || extension == "htm" || extension == "xhtml" || extension == "xml") {
    return DocumentFormat::kHtml;
  }
  if (extension == "tex" || extension == "latex" || extension == "sty" || extension == "cls") {
    return DocumentFormat::kTex;
  }
  return DocumentFormat::kText;
}

std::optional<DocumentFormat> FormatOfModeName(std::string_view mode) {
  if (mode == "none" || mode == "text") return DocumentFormat::kText;
  if (mode == "markdown") return DocumentFormat::kMarkdown;
  if (mode == "html" || mode == "sgml") return DocumentFormat::kHtml;
  if (mode == "tex") return DocumentFormat::kTex;
  return std::nullopt;
}

class DocumentSplitter::Impl {
 public:
  Impl(DocumentFormat format, std::uint32_t state)
      : filter(document::MakeFilter(format, state)) {}

  std::unique_ptr<document::Filter> filter;
  document::ProseWords words;
  std::u16string prose;
};

DocumentSplitter::DocumentSplitter(DocumentFormat format, std::uint32_t state)
    : format_(format), impl_(std::make_unique<Impl>(format, state)) {}

DocumentSplitter::~DocumentSplitter() = default;

void DocumentSplitter::Split(std::u16string_view text,
                             const std::function<void(const DocumentWord&)>& visit) {
  impl_->filter->Mask(text, impl_->prose);
  impl_->words.Split(impl_->prose, visit);
}

std::uint32_t DocumentSplitter::state() const { return impl_->filter->state(); }

}  // namespace quenvar
