#include "suggest/irregular_verbs.h"

#include <algorithm>
#include <iterator>

namespace quenvar {
namespace {

// Sorted by verb. Only verbs whose past forms with -ed are wrong or rare:
// a verb with both (dream: dreamed, dreamt) has its -ed form in the word
// list and needs no correction.
constexpr IrregularVerb kIrregularVerbs[] = {
    {"arise", "arose", "arisen"}, {"awake", "awoke", "awoken"},
    {"bear", "bore", "borne"}, {"beat", "beat", "beaten"},
    {"begin", "began", "begun"}, {"bend", "bent", "bent"},
    {"bet", "bet", "bet"}, {"bind", "bound", "bound"},
    {"bite", "bit", "bitten"}, {"bleed", "bled", "bled"},
    {"blow", "blew", "blown"}, {"break", "broke", "broken"},
    {"breed", "bred", "bred"}, {"bring", "brought", "brought"},
    {"build", "built", "built"}, {"buy", "bought", "bought"},
    {"cast", "cast", "cast"}, {"catch", "caught", "caught"},
    {"choose", "chose", "chosen"}, {"cling", "clung", "clung"},
    {"come", "came", "come"}, {"cost", "cost", "cost"},
    {"creep", "crept", "crept"}, {"cut", "cut", "cut"},
    {"deal", "dealt", "dealt"}, {"dig", "dug", "dug"}, {"do", "did", "done"},
    {"draw", "drew", "drawn"}, {"drink", "drank", "drunk"},
    {"drive", "drove", "driven"}, {"eat", "ate", "eaten"},
    {"fall", "fell", "fallen"}, {"feed", "fed", "fed"},
    {"feel", "felt", "felt"}, {"fight", "fought", "fought"},
    {"find", "found", "found"}, {"flee", "fled", "fled"},
    {"fling", "flung", "flung"}, {"fly", "flew", "flown"},
    {"forbid", "forbade", "forbidden"}, {"forget", "forgot", "forgotten"},
    {"forgive", "forgave", "forgiven"}, {"forsake", "forsook", "forsaken"},
    {"freeze", "froze", "frozen"}, {"get", "got", "gotten"},
    {"give", "gave", "given"}, {"go", "went", "gone"},
    {"grind", "ground", "ground"}, {"grow", "grew", "grown"},
    {"have", "had", "had"}, {"hear", "heard", "heard"},
    {"hide", "hid", "hidden"}, {"hit", "hit", "hit"}, {"hold", "held", "held"},
    {"hurt", "hurt", "hurt"}, {"keep", "kept", "kept"},
    {"know", "knew", "known"}, {"lay", "laid", "laid"}, {"lead", "led", "led"},
    {"leave", "left", "left"}, {"lend", "lent", "lent"}, {"let", "let", "let"},
    {"lose", "lost", "lost"}, {"make", "made", "made"},
    {"mean", "meant", "meant"}, {"meet", "met", "met"}, {"pay", "paid", "paid"},
    {"put", "put", "put"}, {"quit", "quit", "quit"}, {"read", "read", "read"},
    {"ride", "rode", "ridden"}, {"ring", "rang", "rung"},
    {"rise", "rose", "risen"}, {"run", "ran", "run"}, {"say", "said", "said"},
    {"see", "saw", "seen"}, {"seek", "sought", "sought"},
    {"sell", "sold", "sold"}, {"send", "sent", "sent"}, {"set", "set", "set"},
    {"shake", "shook", "shaken"}, {"shed", "shed", "shed"},
    {"shoot", "shot", "shot"}, {"shrink", "shrank", "shrunk"},
    {"shut", "shut", "shut"}, {"sing", "sang", "sung"},
    {"sink", "sank", "sunk"}, {"sit", "sat", "sat"}, {"slay", "slew", "slain"},
    {"sleep", "slept", "slept"}, {"slide", "slid", "slid"},
    {"sling", "slung", "slung"}, {"slit", "slit", "slit"},
    {"speak", "spoke", "spoken"}, {"spend", "spent", "spent"},
    {"spin", "spun", "spun"}, {"spit", "spat", "spat"},
    {"split", "split", "split"}, {"spread", "spread", "spread"},
    {"spring", "sprang", "sprung"}, {"stand", "stood", "stood"},
    {"steal", "stole", "stolen"}, {"stick", "stuck", "stuck"},
    {"sting", "stung", "stung"}, {"stink", "stank", "stunk"},
    {"stride", "strode", "stridden"}, {"strike", "struck", "struck"},
    {"string", "strung", "strung"}, {"swear", "swore", "sworn"},
    {"sweep", "swept", "swept"}, {"swim", "swam", "swum"},
    {"swing", "swung", "swung"}, {"take", "took", "taken"},
    {"teach", "taught", "taught"}, {"tear", "tore", "torn"},
    {"tell", "told", "told"}, {"think", "thought", "thought"},
    {"throw", "threw", "thrown"}, {"thrust", "thrust", "thrust"},
    {"tread", "trod", "trodden"}, {"wake", "woke", "woken"},
    {"wear", "wore", "worn"}, {"weave", "wove", "woven"},
    {"weep", "wept", "wept"}, {"win", "won", "won"}, {"wind", "wound", "wound"},
    {"wring", "wrung", "wrung"}, {"write", "wrote", "written"},
};

// Prefixes that make verbs of these verbs, longest first where one starts
// another.
constexpr std::string_view kVerbPrefixes[] = {"be", "fore", "for", "mis", "out", "over",
                                              "re", "under", "un", "up", "with"};

bool IsPrefixChain(std::string_view text) {
  if (text.empty()) return true;
  return std::any_of(std::begin(kVerbPrefixes), std::end(kVerbPrefixes),
                     [text](std::string_view prefix) {
                       return text.starts_with(prefix) &&
                              IsPrefixChain(text.substr(prefix.size()));
                     });
}

const IrregularVerb* FindVerb(std::string_view verb) {
  static_assert(std::is_sorted(std::begin(kIrregularVerbs), std::end(kIrregularVerbs),
                               [](const IrregularVerb& a, const IrregularVerb& b) {
                                 return a.verb < b.verb;
                               }));
  const auto* found = std::lower_bound(
      std::begin(kIrregularVerbs), std::end(kIrregularVerbs), verb,
      [](const IrregularVerb& v, std::string_view key) { return v.verb < key; });
  return found != std::end(kIrregularVerbs) && found->verb == verb ? found : nullptr;
}

}  // namespace

IrregularVerbMatch FindIrregularVerb(std::string_view word) {
  for (std::size_t k = 0; k + 2 <= word.size(); ++k) {
    if (!IsPrefixChain(word.substr(0, k))) continue;
    if (const IrregularVerb* verb = FindVerb(word.substr(k))) return {verb, k};
  }
  return {nullptr, 0};
}

}  // namespace quenvar
