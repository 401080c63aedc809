// Arbitrary word-list files loaded one after the other into a fresh main
// list. Each entry must then hold its kept line (or, past the last file's
// lines, what the file before left there), a prefix key whose lines stand
// together must span exactly their indexes, and BucketContains and
// GetSuggestions must agree with a scan of the key's range, every candidate
// scored (tests/literal_similarity.h), for each kept line and for each
// with its last byte changed.
//
// Input: one byte giving the share (in 256ths) of the rest that forms the
// first of two files, 0 for a single file, then the files' bytes.

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "base/text_lines.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/suggestions.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/literal_check_word.h"
#include "tests/literal_similarity.h"

namespace quenvar {
namespace {

using fuzzing::Require;

// Suggestions are compared for this many probes, which bounds the plain
// scoring's time.
constexpr std::size_t kSuggestionProbes = 6;

std::vector<std::string> KeptLines(std::string_view content) {
  std::vector<std::string> lines;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) lines.emplace_back(line);
    return lines.size() < static_cast<std::size_t>(kDicCapacity);
  });
  return lines;
}

// The first and last index of each key's lines, for the keys whose lines
// stand together. Key 0 is left out: a load starts as if the word before
// its first had that key.
std::map<std::uint32_t, std::pair<std::int32_t, std::int32_t>> KeyRanges(
    const std::vector<std::string>& lines) {
  std::map<std::uint32_t, std::pair<std::int32_t, std::int32_t>> ranges;
  std::map<std::uint32_t, bool> split;
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(lines.size()); ++i) {
    const std::uint32_t key = PrefixKey(lines[static_cast<std::size_t>(i)]);
    const auto found = ranges.find(key);
    if (found == ranges.end()) {
      ranges[key] = {i, i};
    } else if (found->second.second == i - 1) {
      found->second.second = i;
    } else {
      split[key] = true;
    }
  }
  for (const auto& [key, unused] : split) ranges.erase(key);
  ranges.erase(0);
  return ranges;
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace quenvar;
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t share = input.Byte();
  const std::string_view rest = input.RestBytes();
  const std::size_t first_length = rest.size() * share / 256;
  std::vector<std::string_view> files;
  if (share != 0) files.push_back(rest.substr(0, first_length));
  files.push_back(rest.substr(first_length));

  ThreadDicWords() = MainWordList();
  ThreadCustomWords() = CustomWordList();
  MainWordList& list = ThreadDicWords();
  std::vector<std::string> entries;  // as the loads should leave them
  std::vector<std::string> lines;
  for (std::string_view file : files) {
    list.Load(ByteArray(file.begin(), file.end()));
    lines = KeptLines(file);
    entries.resize(std::max(entries.size(), lines.size()));
    std::copy(lines.begin(), lines.end(), entries.begin());
  }

  for (std::size_t i = 0; i < entries.size(); ++i) {
    Require(list.Entry(static_cast<std::int32_t>(i)) == entries[i]);
  }
  for (const auto& [key, range] : KeyRanges(lines)) {
    Require(list.PrefixStart(key) == range.first &&
            list.PrefixEnd(key) == range.second);
  }

  std::vector<std::string> probes;
  for (const std::string& line : lines) {
    probes.push_back(line);
    probes.push_back(line);
    probes.back().back() ^= 1;
  }
  for (std::size_t i = 0; i < probes.size(); ++i) {
    Require(list.BucketContains(probes[i]) ==
            testing::LiteralBucketContains(probes[i]));
    if (i < kSuggestionProbes) {
      const std::u16string word = FromSingleByte(probes[i]);
      Require(GetSuggestions(word, false) ==
              testing::LiteralGetSuggestions(word, false));
    }
  }
  return 0;
}
