// QuenvarSpell: an in-process English spell checker.
//
// A host creates SpellCheck objects, calls Init() once per thread to load the
// built-in English word list, and then checks words, asks for suggestions,
// walks whole texts, shows the suggestion dialog and keeps a custom word list.
//
// All word lists live once per thread and are shared by every SpellCheck
// object of that thread; objects on different threads see separate lists.
// A SpellCheck object is used only by the thread that created it.
//
// Errors are exceptions: a file or operating-system failure throws
// std::system_error (its what() names the path), anything else throws
// quenvar::Error.

#ifndef QUENVARSPELL_SPELL_CHECK_H_
#define QUENVARSPELL_SPELL_CHECK_H_

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

// The events CheckText raises. Derive from it, override what you need and
// connect the object with SpellCheck::Advise. Both events are raised
// synchronously on the thread that called CheckText.
class QUENVAR_EXPORT SpellCheckEvents {
 public:
  virtual ~SpellCheckEvents() = default;

  // The user chose sReplacementWord for the word at UTF-16 offset lPosStart.
  // The host makes the replacement in its own text. sSuggestions is the
  // walk's suggestion list; a handler may replace it, and the replaced list
  // arrives again with the next SpellReplace of the same walk.
  virtual void SpellReplace(const std::u16string& sOriginalWord,
                            const std::u16string& sReplacementWord,
                            std::int32_t lPosStart, WordArray& sSuggestions);

  // sOriginalWord at UTF-16 offset lPosStart is in none of the word lists.
  // Setting Cancel to kTrue (-1) ends the walk; any other value is kept and
  // handed to the next SpellWordNotInDic of the walk.
  virtual void SpellWordNotInDic(const std::u16string& sOriginalWord,
                                 std::int32_t lPosStart, Boolean& Cancel);
};

class QUENVAR_EXPORT SpellCheck {
 public:
  SpellCheck();
  ~SpellCheck();
  SpellCheck(const SpellCheck&) = delete;
  SpellCheck& operator=(const SpellCheck&) = delete;

  // Answers kTrue when sWord counts as correctly spelled: it is shorter than
  // two characters, numeric, in the main word list as typed or after cleaning
  // off surrounding punctuation and a possessive 's, or (when bCheckCustom is
  // non-zero) in the custom list, ignoring letter case.
  Boolean CheckWord(const std::u16string& sWord, Boolean bCheckCustom = kTrue);

  // Returns the main-list words that start with the same two letters as the
  // cleaned, lower-cased sWord and score above 0.8 against it, in list order,
  // followed (when bCheckCustom is non-zero) by the custom words that score
  // above 0.8. Returns std::nullopt when no word qualifies.
  WordArray GetSuggestions(const std::u16string& sWord,
                           Boolean bCheckCustom = kTrue);

  // Appends sWord, exactly as given, to this thread's custom list. Returns
  // empty.
  Variant AddToCustom(const std::u16string& sWord);

  // Writes the custom list, one word per line in Windows-1252 with CR LF, to
  // sFile (empty: the default custom file "qzvcust.dic" in the folder of the
  // component's library). The file is replaced atomically: on any failure
  // the old file is left exactly as it was and std::system_error is thrown.
  // Characters Windows-1252 lacks are written as '?'. Returns empty.
  Variant SaveCustom(const std::u16string& sFile = {});

  // Replaces the custom list with the lines of sFile (empty: the default
  // custom file) that have two or more characters; a file without such a
  // line leaves the list as it was. Throws std::system_error when the file
  // cannot be read. Always returns kFalse.
  Boolean LoadCustom(const std::u16string& sFile = {});

  // Runs the modal suggestion dialog for sWord and returns the user's choice:
  // Boolean kFalse for Cancel, sWord itself for Ignore, the edited text for
  // Change and Add Word (Add Word also adds it to the custom list). REQUIRES:
  // the calling thread may run a Qt GUI.
  Variant ShowSuggestionDialog(const std::u16string& sWord);

  // Walks sText word by word, raising SpellWordNotInDic for each word that is
  // not correctly spelled and, when ShowDialog is non-zero, showing the
  // dialog for it and raising SpellReplace for the user's replacement. Never
  // changes sText itself; handlers may. Returns empty.
  Variant CheckText(std::u16string& sText, Boolean ShowDialog = kTrue);

  // Loads the built-in English word list into this thread's main list. Every
  // call reloads it. Returns empty.
  Variant Init();

  // Connects a sink to this object's events and returns its cookie. Events
  // go to every connected sink in connection order. REQUIRES: sink outlives
  // its connection.
  std::uint32_t Advise(SpellCheckEvents& sink);

  // Disconnects the sink of that cookie. Throws Error for an unknown cookie.
  void Unadvise(std::uint32_t cookie);

 private:
  class ConnectedSinks;
  struct Connection {
    std::uint32_t cookie;
    SpellCheckEvents* sink;
  };
  std::vector<Connection> connections_;
  std::uint32_t last_cookie_ = 0;
};

// UTF-8 and UTF-16 conversions for hosts. Invalid sequences and lone
// surrogates become U+FFFD.
QUENVAR_EXPORT std::u16string FromUtf8(std::string_view text);
QUENVAR_EXPORT std::string ToUtf8(std::u16string_view text);

}  // namespace quenvar

#endif  // QUENVARSPELL_SPELL_CHECK_H_
