// Arbitrary text through the document splitter in every format, whole and
// line by line. Checks, besides the sanitizers, that each word lies inside
// the text after the one before, is not empty and holds no space or joiner,
// that the state stays below 2^31, and that a splitter resumed from another's
// state at each line yields what that one yields.
//
// Input: one byte of format (its value modulo 4), one byte of flags (bit 0:
// the rest is UTF-16LE, else UTF-8 with invalid sequences as U+FFFD), then
// the text.

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_support.h"

namespace quenvar {
namespace {

using fuzzing::Require;

struct Seen {
  std::size_t offset;
  std::size_t length;
  std::u16string word;
  bool hyphen_after;
  bool operator==(const Seen&) const = default;
};

// The words of text split by splitter, each checked against text.
std::vector<Seen> Split(DocumentSplitter& splitter, std::u16string_view text) {
  std::vector<Seen> words;
  std::size_t end = 0;
  splitter.Split(text, [&](const DocumentWord& word) {
    Require(word.offset >= end && word.length > 0 && word.offset + word.length <= text.size());
    Require(!word.word.empty() && word.word.find_first_of(u" \n\t\uFFFF") == std::u16string::npos);
    end = word.offset + word.length;
    words.push_back({word.offset, word.length, std::u16string(word.word), word.hyphen_after});
  });
  Require(words.empty() || !words.back().hyphen_after);
  Require(splitter.state() < (1u << 31));
  return words;
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quenvar;
  fuzzing::FuzzInput input(data, size);
  const auto format = static_cast<DocumentFormat>(input.Byte() % 4);
  const bool utf16 = (input.Byte() & 1) != 0;
  const std::u16string text = utf16 ? input.RestUtf16() : FromUtf8(input.RestBytes());

  DocumentSplitter whole(format);
  Split(whole, text);

  DocumentSplitter by_line(format);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lf = text.find(u'\n', start);
    const std::size_t end = lf == std::u16string::npos ? text.size() : lf + 1;
    const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
    DocumentSplitter resumed(format, by_line.state());
    fuzzing::Require(Split(resumed, line) == Split(by_line, line));
    fuzzing::Require(resumed.state() == by_line.state());
    start = end;
  }
  return 0;
}
