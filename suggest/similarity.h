// The similarity score of two words: gestalt pattern matching in the
// Ratcliff/Obershelp manner over their single-byte forms.

#ifndef QUENVARSPELL_SUGGEST_SIMILARITY_H_
#define QUENVARSPELL_SUGGEST_SIMILARITY_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenvar {

// The per-thread working storage of Similarity: the two words' single-byte
// forms, which CountMatching reads, and buffers reused by the run search of
// ranges longer than 64 bytes so that scoring allocates nothing once warm.
// first and second are empty except while Similarity runs.
struct SimilarityArrays {
  struct Range {
    std::int32_t start1, end1, start2, end2;
  };
  std::string first;
  std::string second;
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

// The number of matching bytes of first and second, counted as
// CountMatching counts two whole working arrays holding them, for a caller
// (the ranked suggestions) that has the bytes at hand. Takes no working
// arrays and allocates nothing. REQUIRES: second.size() <= 64,
// first.size() < INT32_MAX.
std::int32_t CountMatchingBytes(std::string_view first, std::string_view second);

}  // namespace quenvar

#endif  // QUENVARSPELL_SUGGEST_SIMILARITY_H_
