// A document format's filter: it blanks the markup of a text, so that what
// stays in place is the prose whose words are checked.

#ifndef QUENVARSPELL_DOCUMENT_FILTER_H_
#define QUENVARSPELL_DOCUMENT_FILTER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <quenvarspell/document_splitter.h>

namespace quenvar::document {

class Filter {
 public:
  virtual ~Filter() = default;

  // Sets prose to text with every character that is not prose a space and
  // each decoded character reference or escape in place (its rest
  // joiners), so that offsets stay; text continues the text of the previous
  // call.
  virtual void Mask(std::u16string_view text, std::u16string& prose) = 0;

  // What is open at the end of the text masked last; below 2^31, 0 when
  // nothing is.
  virtual std::uint32_t state() const = 0;
};

// The filter of format, resuming at state (0: a document's start).
std::unique_ptr<Filter> MakeFilter(DocumentFormat format, std::uint32_t state);

std::unique_ptr<Filter> MakeMarkdownFilter(std::uint32_t state);
std::unique_ptr<Filter> MakeHtmlFilter(std::uint32_t state);
std::unique_ptr<Filter> MakeTexFilter(std::uint32_t state);

}  // namespace quenvar::document

#endif  // QUENVARSPELL_DOCUMENT_FILTER_H_
