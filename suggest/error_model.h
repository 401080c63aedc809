// The error model of the ranked suggestions: what each slip costs and how
// far from the word a candidate may lie. Every cost of the ranking is here;
// the edit rows, the walk and the looked-up slips apply them.
//
// Costs are in units of half an edit. The mistakes people make most often
// cost one unit: a vowel for another vowel, a vowel left out, a letter for
// its accented form, a doubled letter written once or a single one doubled,
// two neighbours swapped, a missing apostrophe or hyphen, a silent letter
// left out or a final e added. A letter moved over two others costs one
// edit. Anything else costs two units.

#ifndef QUENVARSPELL_SUGGEST_ERROR_MODEL_H_
#define QUENVARSPELL_SUGGEST_ERROR_MODEL_H_

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "suggest/letters.h"

namespace quenvar {

// The longest word the ranking corrects and the longest entry it offers:
// the edit rows keep a word's cells in one 64-bit mask.
inline constexpr std::size_t kMaxRankedLength = 60;

inline constexpr int kEdit = 2;
inline constexpr int kCheap = 1;
inline constexpr int kSwap = 1;  // two neighbours swapped
// A letter moved over two others (fomr for from). Only the weighted cost
// knows it; the walk's rows find such words at two edits.
inline constexpr int kMoved = 2;
// A run of two to four letters written twice over (approproximate), however
// long the run.
inline constexpr int kRepeatedRun = 2 * kEdit;
// A suffix put on by the rule where the word takes an exception: -ed on an
// irregular verb (teached), -ieing for -ying (lieing).
inline constexpr int kRuleSuffix = kCheap;

// The cost of the word's byte i when the entry lacks it: a letter doubled,
// a byte that is no letter, or a silent e written at the end (nite) cost
// less.
inline int ExtraCost(std::string_view word, std::size_t i) {
  if (i > 0 && word[i] == word[i - 1]) return kCheap;
  if (BaseLetter(word[i]) == 0) return kCheap;
  if (word[i] == 'e' && i + 1 == word.size() && i >= 2) return kCheap;
  return kEdit;
}

// Whether leaving out the entry's byte j costs kCheap rather than kEdit: a
// byte that is no letter, a doubled letter, a vowel but the first letter
// (an unstressed one is seldom heard: definitly, ferd for friend), and the
// silent letters most often left out, an h after another letter (wich,
// rythm) and the g of gh (nite, thoughts).
inline bool IsCheapToLeaveOut(std::string_view entry, std::size_t j) {
  const char c = entry[j];
  bool cheap = BaseIndex(c) == 0;
  if (j > 0) cheap |= entry[j - 1] == c || c == 'h' || IsVowel(BaseLetter(c));
  cheap |= c == 'g' && j + 1 < entry.size() && entry[j + 1] == 'h';
  return cheap;
}

// Whether a byte of base letter a written for one of base letter b, or
// the other way round, costs kCheap rather than kEdit (equal bytes cost
// nothing): the same letter with another accent, or a vowel for a vowel.
// Bytes that are no letter (base 0) are never cheap for one another.
constexpr bool IsCheapSubstitution(char a, char b) {
  return a != 0 && b != 0 && (a == b || (IsVowel(a) && IsVowel(b)));
}

// --- Reach --------------------------------------------------------------
// Few misspellings get the first letter wrong, and people seldom make two
// mistakes in a word's first letters.

// The most a candidate may cost: one starting with the word's first letter,
// and one starting with its second (the swap or the extra letter, and one
// more slip).
inline constexpr int kNearCost = 2 * kEdit;
inline constexpr int kSecondCost = kEdit + kCheap;
// The most a candidate starting with another vowel than the word's first
// vowel may cost, and its first two bytes: that vowel, a cheap slip, leaves
// room for no other mistake there.
inline constexpr int kOtherVowelCost = kEdit + kCheap;
// The most the other candidates may cost, which leaves room for nothing but
// the first letter written for another or left out: those are looked up
// rather than walked to.
inline constexpr int kFarCost = kEdit;
// The most a candidate found by its sound alone may cost.
inline constexpr int kSoundCost = 6 * kEdit;

// How many edits of symbols (each inserted, dropped, replaced, or two
// neighbours swapped) the wider stage allows between a word's sound-alike
// key of key_size symbols and an entry's: a key of up to five symbols has
// too many neighbours two edits away (hundreds of entries, few of them
// likelier than those one edit away) for more than one.
inline int WiderSoundDistance(std::size_t key_size) { return key_size <= 5 ? 1 : 2; }
// The most a candidate of the wider stage may cost, for a word of word_size
// bytes: half its letters edited (kSoundCost at most), so that a word far
// from every entry still gets no corrections.
inline int WiderCostLimit(std::size_t word_size) {
  return static_cast<int>(std::min<std::size_t>(word_size, kSoundCost));
}

// How far the walk reaches among the entries whose first byte is
// entry_first, for word: the most such an entry may cost, and the most its
// first two bytes may. {0, 0} where the walk does not go. REQUIRES:
// !word.empty().
struct Reach {
  int max_cost;
  int first_cost;
};
inline Reach WalkReach(char entry_first, std::string_view word) {
  const char base = BaseLetter(entry_first);
  const char first = BaseLetter(word[0]);
  if (base != 0 && base == first) return {kNearCost, kEdit};
  if (base != 0 && word.size() > 1 && base == BaseLetter(word[1])) return {kSecondCost, kEdit};
  if (IsVowel(base) && IsVowel(first)) return {kOtherVowelCost, kCheap};
  return {0, 0};
}

// The most the first `depth` bytes of an entry within reach may cost:
// first_cost for two bytes, an edit for five, an edit and a cheap slip for
// six. An edit and a cheap slip among the first five letters are rare in
// typing, and a far misspelling with them is mostly found by its sound;
// walking to them would take over a quarter more rows of the walk.
inline int AllowedCost(const Reach& reach, std::size_t depth) {
  if (depth <= 2) return std::min(reach.max_cost, reach.first_cost);
  if (depth <= 5) return std::min(reach.max_cost, kEdit);
  if (depth <= 6) return std::min(reach.max_cost, kEdit + kCheap);
  return reach.max_cost;
}

// The moved letters among the first ones (tyhe, kwno), which the walk's
// depth limits leave out of reach, are looked up within this many bytes.
inline constexpr std::size_t kEarlyDepth = 4;

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_ERROR_MODEL_H_
