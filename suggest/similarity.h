// The similarity score of two words: gestalt pattern matching in the
// Ratcliff/Obershelp manner over their single-byte forms.

#ifndef QUENVARSPELL_SUGGEST_SIMILARITY_H_
#define QUENVARSPELL_SUGGEST_SIMILARITY_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenvar {

// The per-thread working storage of Similarity: the two words' single-byte
// forms, which CountMatching reads, and buffers reused by the run search so
// that scoring allocates nothing once warm. first and second are empty
// except while Similarity runs; positions is all zero except while
// CountMatching runs.
struct SimilarityArrays {
  struct Range {
    std::int32_t start1, end1, start2, end2;
  };
  std::string first;
  std::string second;
  // For a second word of at most 64 bytes: bit k of positions[c] is set
  // when second[k] is c, and bit k of run_ends[i] when a common run of the
  // length being tried ends at first[i] and second[k].
  std::array<std::uint64_t, 256> positions{};
  std::vector<std::uint64_t> run_ends;
  std::vector<std::int32_t> run_lengths;  // one row of the run table
  std::vector<Range> pending;             // ranges still to be counted
};

// This thread's working arrays of Similarity.
SimilarityArrays& ThreadSimilarityArrays();

// How alike first and second are, from 0 to 1: 1.0 when they are equal
// upper-cased (so two empty words score 1.0), else 0.0 when either is empty,
// else 2·M ÷ (La + Lb) rounded to double, with M = CountMatching over both
// whole words. The order of the arguments matters. Fills this thread's
// working arrays and empties them again before returning. Throws
// quenvar::Error for a word of INT32_MAX or more characters.
double Similarity(std::u16string_view first, std::u16string_view second);

// A word and its single-byte form (bytes is ToSingleByte(text)).
struct WordForms {
  std::u16string_view text;
  std::string_view bytes;
};

// Similarity(first.text, second.text), for a caller that holds both
// single-byte forms already and so spares converting them again.
double Similarity(const WordForms& first, const WordForms& second);

// The number of matching characters between positions start1..end1 of the
// first working array and start2..end2 of the second (1-based, inclusive):
// the longest common run (of the longest, the one with the smallest start in
// the first array, then in the second), plus the count to its right, plus
// the count to its left. 0 for an empty range or a start below 1. Runs in
// memory proportional to the ranges, never on the call stack. Throws
// quenvar::Error when an end lies past its working array.
std::int32_t CountMatching(std::int32_t start1, std::int32_t end1,
                           std::int32_t start2, std::int32_t end2);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SIMILARITY_H_
