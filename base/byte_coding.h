// Byte arrays, and the 4-byte little-endian length that prefixes the
// component's compressed data: the built-in word list and the compression
// wrapper's files.

#ifndef QUENVARSPELL_BASE_BYTE_CODING_H_
#define QUENVARSPELL_BASE_BYTE_CODING_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quenvar {

using ByteArray = std::vector<std::uint8_t>;

inline constexpr std::size_t kLengthPrefixSize = 4;

// Appends length to bytes (a std::string or a byte vector) as 4 bytes, low
// byte first.
template <typename Bytes>
void AppendLengthPrefix(Bytes& bytes, std::uint32_t length) {
  using Byte = typename Bytes::value_type;
  for (std::size_t i = 0; i < kLengthPrefixSize; ++i) {
    bytes.push_back(static_cast<Byte>(length >> (8 * i)));
  }
}

// The length held in the first 4 bytes of bytes, low byte first.
// REQUIRES: bytes.size() >= kLengthPrefixSize.
template <typename Bytes>
std::uint32_t DecodeLengthPrefix(const Bytes& bytes) {
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < kLengthPrefixSize; ++i) {
    length |= std::uint32_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  }
  return length;
}

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_BYTE_CODING_H_
