// Byte-level text handling of the tool: finding the first byte that is not
// UTF-8, decoding a document, and the ISO-8859-1 fallback that Ispell clients
// such as Emacs use by default.

#ifndef QUENVARSPELL_CLI_TEXT_ENCODING_H_
#define QUENVARSPELL_CLI_TEXT_ENCODING_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quenvar::cli {

// Returns the byte offset at which the first ill-formed UTF-8 sequence of
// bytes starts (a stray continuation byte, a truncated or overlong sequence,
// an encoded surrogate, or a value above U+10FFFF), or std::nullopt when all
// of bytes is UTF-8.
std::optional<std::size_t> FindInvalidUtf8(std::string_view bytes);

// Decodes the content of a document named name (a file name, or "<stdin>"),
// or the part of it that starts at byte first_byte. A leading byte order
// mark of the document is dropped, so that positions count from the first
// real character. Throws std::runtime_error "NAME: invalid UTF-8 at byte N"
// (N counted in the document) when bytes is not UTF-8. REQUIRES: a part
// starts at a character.
std::u16string DecodeDocument(std::string_view name, std::string_view bytes,
                              std::size_t first_byte = 0);

// Decodes a word given on the command line. Throws std::runtime_error
// "argument "TEXT": invalid UTF-8 at byte N" when text is not UTF-8.
std::u16string DecodeArgument(std::string_view text);

// Every byte as the character of the same number (ISO-8859-1).
std::u16string FromLatin1(std::string_view bytes);

// Every character below U+0100 as its byte, any other as '?'.
std::string ToLatin1(std::u16string_view text);

}  // namespace quenvar::cli

#endif  // QUENVARSPELL_CLI_TEXT_ENCODING_H_
