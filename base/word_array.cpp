#include "base/word_array.h"

#include <algorithm>
#include <limits>

namespace quenvar {

std::int32_t SafeUpperBound(const WordArray& words) {
  if (!words) return -1;
  const std::size_t highest = std::min<std::size_t>(
      words->size(), std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(highest) - 1;
}

void AppendWords(WordArray& destination, const WordArray& source) {
  if (SafeUpperBound(destination) == -1) {
    destination = source;
    return;
  }
  if (SafeUpperBound(source) == -1) return;
  destination->insert(destination->end(), source->begin(), source->end());
}

}  // namespace quenvar
