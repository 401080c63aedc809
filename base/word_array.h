// Helpers for word arrays, which may be without storage (std::nullopt).

#ifndef QUENVARSPELL_BASE_WORD_ARRAY_H_
#define QUENVARSPELL_BASE_WORD_ARRAY_H_

#include <cstdint>

#include <quenvarspell/types.h>

namespace quenvar {

// The highest index of words, or -1 when it has no storage or no elements.
// Never fails.
std::int32_t SafeUpperBound(const WordArray& words);

// Appends the words of source, in order, to destination. A destination
// without storage becomes a copy of source (so it stays without storage when
// source has none).
void AppendWords(WordArray& destination, const WordArray& source);

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_WORD_ARRAY_H_
