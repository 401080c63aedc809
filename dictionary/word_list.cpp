#include "dictionary/word_list.h"

#include <algorithm>
#include <cstdint>

#include <quenvarspell/spell_check.h>

#include "component/file_io.h"
#include "component/thread_state.h"
#include "dictionary/text_lines.h"

namespace quenvar {
namespace {
constexpr std::size_t kKeyCount = 256 * 256;
}  // namespace

MainWordList::MainWordList()
    : offsets_(kDicCapacity + 1, 0),
      lPrefixStart(kKeyCount, 0),
      lPrefixEnd(kKeyCount, 0) {}

bool MainWordList::BucketContains(std::string_view bytes) const {
  const std::uint32_t key = PrefixKey(bytes);
  const std::int32_t first = std::max(lPrefixStart[key], 0);
  const std::int32_t last = std::min(lPrefixEnd[key], kDicCapacity - 1);
  for (std::int32_t i = first; i <= last; ++i) {
    if (Entry(i) == bytes) return true;
  }
  return false;
}

void MainWordList::Load(std::string_view content) {
  // Offsets are 32-bit; the new entries and the kept old ones must fit.
  if (content.size() + blob_.size() > UINT32_MAX) {
    throw Error("word-list file too large");
  }
  std::string blob;
  blob.reserve(content.size());
  std::vector<std::uint32_t> offsets(kDicCapacity + 1, 0);
  std::int32_t count = 0;
  std::uint32_t previous_key = 0;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() < 2) return true;
    offsets[count] = static_cast<std::uint32_t>(blob.size());
    blob.append(line);
    const std::uint32_t key = PrefixKey(line);
    if (key != previous_key) {
      lPrefixStart[key] = count;
      lPrefixEnd[previous_key] = count - 1;
      previous_key = key;
    }
    ++count;
    return count < kDicCapacity;
  });
  lPrefixEnd[previous_key] = count - 1;

  // Entries the content did not reach keep the words they held.
  for (std::int32_t i = count; i < kDicCapacity; ++i) {
    offsets[i] = static_cast<std::uint32_t>(blob.size());
    blob.append(Entry(i));
  }
  offsets[kDicCapacity] = static_cast<std::uint32_t>(blob.size());
  blob.shrink_to_fit();
  blob_ = std::move(blob);
  offsets_ = std::move(offsets);
}

void LoadWordList(const std::string& path) {
  const std::string content = ReadFile(path);
  State().sDicWords.Load(content);
}

}  // namespace quenvar
