#include "cli/text_encoding.h"

#include <stdexcept>

#include <quenvarspell/spell_check.h>

#include "base/text.h"

namespace quenvar::cli {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The length of the well-formed sequence at bytes[at], or 0 when none starts
// there. The bounds of the second byte rule out overlong forms, surrogates
// and values above U+10FFFF (the table of well-formed sequences in the
// Unicode standard, chapter 3).
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(bytes[at + i]);
  };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char second_low = 0x80;
  unsigned char second_high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) second_low = 0xA0;
    if (lead == 0xED) second_high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) second_low = 0x90;
    if (lead == 0xF4) second_high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length) return 0;
  if (byte(1) < second_low || byte(1) > second_high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsUtf8Continuation(byte(i))) return 0;
  }
  return length;
}

}  // namespace

std::optional<std::size_t> FindInvalidUtf8(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t length = SequenceLength(bytes, at);
    if (length == 0) return at;
    at += length;
  }
  return std::nullopt;
}

std::u16string DecodeDocument(std::string_view name, std::string_view bytes,
                              std::size_t first_byte) {
  if (const std::optional<std::size_t> bad = FindInvalidUtf8(bytes)) {
    throw std::runtime_error(std::string(name) + ": invalid UTF-8 at byte " +
                             std::to_string(first_byte + *bad));
  }
  if (first_byte == 0 && bytes.starts_with(kByteOrderMark)) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  return FromUtf8(bytes);
}

std::u16string DecodeArgument(std::string_view text) {
  if (const std::optional<std::size_t> bad = FindInvalidUtf8(text)) {
    throw std::runtime_error("argument \"" + std::string(text) +
                             "\": invalid UTF-8 at byte " + std::to_string(*bad));
  }
  return FromUtf8(text);
}

std::u16string FromLatin1(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = static_cast<unsigned char>(bytes[i]);
  }
  return text;
}

std::string ToLatin1(std::u16string_view text) {
  std::string bytes(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    bytes[i] = text[i] < 0x100 ? static_cast<char>(text[i]) : '?';
  }
  return bytes;
}

}  // namespace quenvar::cli
