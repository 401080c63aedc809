#include "cli/text_position.h"

namespace quenvar::cli {
namespace {

bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::size_t CharacterCount(std::u16string_view text) {
  std::size_t count = 0;
  for (char16_t unit : text) {
    if (!IsLowSurrogate(unit)) ++count;
  }
  return count;
}

TextPosition TextPositions::At(std::size_t offset) {
  for (; offset_ < offset; ++offset_) {
    const char16_t unit = text_[offset_];
    if (unit == u'\n') {
      ++position_.line;
      position_.column = 1;
    } else if (!IsLowSurrogate(unit)) {
      ++position_.column;
    }
  }
  return position_;
}

}  // namespace quenvar::cli
