// A host outside the tree, built against the installed package.
#include <quenvarspell/dispatch.h>
#include <quenvarspell/spell_check.h>

#include <iostream>

namespace {
class Events : public quenvar::SpellCheckEvents {};
}  // namespace

int main() {
  quenvar::SpellCheck speller;
  Events events;
  speller.Unadvise(speller.Advise(events));
  speller.AddToCustom(u"Quenvar");
  std::vector<quenvar::Variant> args = {std::u16string(u"QUENVAR")};
  const bool found = quenvar::Invoke(speller, "CheckWord", args) ==
                     quenvar::Variant(quenvar::kTrue);
  std::cout << quenvar::ToUtf8(u"quenvar: ") << (found ? "found" : "missing")
            << '\n';
  return found ? 0 : 1;
}
