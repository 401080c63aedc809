// The built-in word list blob, generated at build time by embed_word_list:
// the text's length (4 bytes, little-endian), its zlib stream at level 9,
// one zero byte.

#ifndef QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_
#define QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_

#include <cstdint>
#include <span>

namespace quenvar {

std::span<const std::uint8_t> WordListBlob();

}  // namespace quenvar

#endif  // QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_
