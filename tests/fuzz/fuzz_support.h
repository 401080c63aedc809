// What the fuzz targets share: reading the input, and failing a run.

#ifndef QUENVARSPELL_TESTS_FUZZ_FUZZ_SUPPORT_H_
#define QUENVARSPELL_TESTS_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quenvar::fuzzing {

// Ends the run as a finding when condition is false.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

// Reads the input from the front: a few fixed fields, then the rest as bytes
// or UTF-16. Fields past the end read as zero, so every input is valid and
// the seed files can be written by hand.
class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  std::uint8_t Byte() {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }

  // Four bytes, little-endian.
  std::uint32_t Word32() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
    return value;
  }

  bool empty() const { return bytes_.empty(); }

  // Takes up to n bytes.
  std::string_view Bytes(std::size_t n) {
    const std::string_view taken = bytes_.substr(0, n);
    bytes_.remove_prefix(taken.size());
    return taken;
  }

  std::string_view RestBytes() { return Bytes(bytes_.size()); }

  // The rest as UTF-16 code units, little-endian, any unit (unpaired
  // surrogates too); an odd last byte is dropped.
  std::u16string RestUtf16() {
    std::u16string text;
    while (bytes_.size() >= 2) {
      const auto low = static_cast<unsigned char>(bytes_[0]);
      const auto high = static_cast<unsigned char>(bytes_[1]);
      text.push_back(static_cast<char16_t>(low | high << 8));
      bytes_.remove_prefix(2);
    }
    bytes_ = {};
    return text;
  }

 private:
  std::string_view bytes_;
};

}  // namespace quenvar::fuzzing

#endif  // QUENVARSPELL_TESTS_FUZZ_FUZZ_SUPPORT_H_
