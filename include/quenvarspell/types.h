// The value types of QuenvarSpell's interface and its exception type.
//
// Included by <quenvarspell/spell_check.h>; hosts need not include it
// themselves.

#ifndef QUENVARSPELL_TYPES_H_
#define QUENVARSPELL_TYPES_H_

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <quenvarspell/export.h>

namespace quenvar {

// A 16-bit Boolean: True is -1, False is 0. Any non-zero value passed in
// counts as True.
using Boolean = std::int16_t;
inline constexpr Boolean kTrue = -1;
inline constexpr Boolean kFalse = 0;

// An array of words. std::nullopt is an array "without storage": it holds no
// words and differs from an empty vector.
using WordArray = std::optional<std::vector<std::u16string>>;

// A count in ten-thousandths, as the component model's currency type holds it.
struct Currency {
  std::int64_t ten_thousandths;
  friend bool operator==(const Currency&, const Currency&) = default;
};

// The general value of the component model. std::monostate is "empty".
using Variant = std::variant<std::monostate, Boolean, std::int32_t, Currency,
                             std::u16string, WordArray>;

// Every failure that is not a file or operating-system error.
class QUENVAR_EXPORT Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The spellings of English a check can follow. kEnglish accepts every
// spelling the built-in list holds (colour and color, organise and
// organize); each other one accepts the entries SCOWL's dictionary of that
// spelling holds.
enum class Spelling : std::uint8_t {
  kEnglish,     // "en"
  kAmerican,    // "en_US"
  kBritish,     // "en_GB", also "en_GB-ise": organise, colour
  kBritishIze,  // "en_GB-ize", the Oxford spelling: organize, colour
  kCanadian,    // "en_CA"
  kAustralian,  // "en_AU"
};

// UTF-8 and UTF-16 conversions for hosts. Invalid sequences and lone
// surrogates become U+FFFD.
QUENVAR_EXPORT std::u16string FromUtf8(std::string_view text);
QUENVAR_EXPORT std::string ToUtf8(std::u16string_view text);

}  // namespace quenvar

#endif  // QUENVARSPELL_TYPES_H_
