// The test whether a word is a number.

#ifndef QUENVARSPELL_BASE_NUMERIC_H_
#define QUENVARSPELL_BASE_NUMERIC_H_

#include <string_view>

namespace quenvar {

// True when the whole text is a number as a person writes one: an optional
// sign and an optional currency sign ($ € £ ¥), in either order, before the
// digits, or the currency sign after them; ASCII digits with ',' between two
// digits as grouping; at most one '.'; an exponent 'e' or 'E' with optional
// sign and digits; blanks (space, tab) at either end and after the leading
// signs.
// So 42, -7, 3.5, .5, 5., 1,000, 1e3, $5, -$5 and 5 € are numbers; "nan",
// "inf", "0x1p3", "1,", "e5" and ordinary words are not.
bool IsNumeric(std::u16string_view text);

// IsNumeric of the text whose characters are the bytes of ascii; a byte of
// 0x80 or more makes it false.
bool IsNumeric(std::string_view ascii);

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_NUMERIC_H_
