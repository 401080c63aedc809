// Code-page conversions and case mapping shared by every subsystem.
//
// The single-byte form of a word is its Windows-1252 encoding, one byte per
// UTF-16 code unit. The mapping is a bijection between the 256 bytes and 256
// characters: the 27 printable characters of 0x80-0x9F map both ways, and the
// five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map
// to the C1 controls of the same number, as Windows itself maps them. Every
// other character, surrogates included, becomes the substitute byte '?'.

#ifndef QUENVARSPELL_BASE_TEXT_H_
#define QUENVARSPELL_BASE_TEXT_H_

#include <string>
#include <string_view>

namespace quenvar {

inline constexpr char kSubstituteByte = '?';

// The Windows-1252 byte of c, or -1 when Windows-1252 has no such character.
int SingleByteOf(char16_t c);

// The character of a Windows-1252 byte.
char16_t CharOfSingleByte(unsigned char byte);

// The single-byte form of text, one byte per code unit.
std::string ToSingleByte(std::u16string_view text);

// As above into out (replacing its contents), without allocating once out has
// grown large enough. Returns false when some character became '?'.
bool ToSingleByte(std::u16string_view text, std::string& out);

// The text of single-byte bytes.
std::u16string FromSingleByte(std::string_view bytes);

// As above into out (replacing its contents), without allocating once out has
// grown large enough. Returns true when every byte is ASCII.
bool FromSingleByte(std::string_view bytes, std::u16string& out);

// True when every code unit of text is below 0x80.
bool IsAscii(std::u16string_view text);

// True for a byte that continues a UTF-8 sequence (10xxxxxx) rather than
// starting a character.
inline bool IsUtf8Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Full Unicode lower- and upper-case mapping in ICU's default locale. The
// result may differ in length from the input (German sharp s upper-cases to
// SS). Pure ASCII text takes a fast path that gives the same result.
std::u16string ToLower(std::u16string_view text);
std::u16string ToUpper(std::u16string_view text);

// As above into out, reusing its storage.
void ToLower(std::u16string_view text, std::u16string& out);

// When text is all ASCII and ICU's default locale lower-cases it plainly,
// sets out to the single-byte form of ToLower(text) and returns true, without
// allocating once out has grown large enough. Otherwise returns false and
// leaves out unspecified.
bool ToLowerAscii(std::u16string_view text, std::string& out);

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_TEXT_H_
