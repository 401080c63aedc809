// English verbs whose past forms are not made with -ed.

#ifndef QUENVARSPELL_SUGGEST_IRREGULAR_VERBS_H_
#define QUENVARSPELL_SUGGEST_IRREGULAR_VERBS_H_

#include <cstddef>
#include <string_view>

namespace quenvar {

struct IrregularVerb {
  std::string_view verb;
  std::string_view past;        // teach: taught
  std::string_view participle;  // teach: taught; write: written
};

// The irregular verb that word is, or that it ends with after prefixes
// that make verbs of verbs (understand, overpay, misunderstand), and the
// length of those prefixes; verb is nullptr for any other word.
struct IrregularVerbMatch {
  const IrregularVerb* verb;
  std::size_t prefix_length;
};
IrregularVerbMatch FindIrregularVerb(std::string_view word);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_IRREGULAR_VERBS_H_
