#include <quenvarspell/spell_check_events.h>

namespace quenvar {

// Out of line, so that the class's virtual table is emitted here once.
void SpellCheckEvents::SpellReplace(const std::u16string&, const std::u16string&,
                                    std::int32_t, WordArray&) {}
void SpellCheckEvents::SpellWordNotInDic(const std::u16string&, std::int32_t,
                                         Boolean&) {}

}  // namespace quenvar
