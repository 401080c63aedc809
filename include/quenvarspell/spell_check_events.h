// The events the text walk raises, which hosts receive through the sinks
// they connect with SpellCheck::Advise.
//
// Included by <quenvarspell/spell_check.h>; hosts need not include it
// themselves.

#ifndef QUENVARSPELL_SPELL_CHECK_EVENTS_H_
#define QUENVARSPELL_SPELL_CHECK_EVENTS_H_

#include <cstdint>
#include <string>

#include <quenvarspell/export.h>
#include <quenvarspell/types.h>

namespace quenvar {

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

}  // namespace quenvar

#endif  // QUENVARSPELL_SPELL_CHECK_EVENTS_H_
