// The built-in word list's resources, generated at build time by
// embed_word_list.

#ifndef QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_
#define QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_

#include <cstdint>
#include <span>

namespace quenvar {

// The list: the text's length (4 bytes, little-endian), its zlib stream at
// level 9, one zero byte.
std::span<const std::uint8_t> WordListBlob();

// The list's details, laid out as resources/word_details_format.h says.
std::span<const std::uint8_t> WordDetailsBytes();

}  // namespace quenvar

#endif  // QUENVARSPELL_RESOURCES_WORD_LIST_BLOB_H_
