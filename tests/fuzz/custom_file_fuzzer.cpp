// Arbitrary bytes as a custom word file: LoadCustom must give exactly the
// lines of two or more bytes (lines end at CR LF, LF or a lone CR), and
// each of them must then count as a custom word (and a word one letter
// longer exactly when the list holds it), and SaveCustom followed by
// LoadCustom must give that same list again.
//
// Input: the file's bytes.

#include <quenvarspell/spell_check.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "dictionary/custom_list.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

// The lines of content that a load keeps, split one byte at a time.
WordArray LinesKept(std::string_view content) {
  WordArray kept;
  std::string line;
  auto end_line = [&] {
    if (line.size() >= 2) {
      if (!kept) kept.emplace();
      kept->push_back(FromSingleByte(line));
    }
    line.clear();
  };
  for (std::size_t i = 0; i < content.size(); ++i) {
    const char c = content[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ++i;
      end_line();
    } else {
      line.push_back(c);
    }
  }
  end_line();
  return kept;
}

const testing::TempDir& Folder() {
  static const testing::TempDir folder;
  return folder;
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace quenvar;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::string written = Folder().File("written.dic");
  const std::string saved = Folder().File("saved.dic");
  testing::WriteBytes(written, content);

  // A load without a kept line leaves the list as it was: start empty.
  ThreadCustomWords() = CustomWordList();
  SpellCheck speller;
  speller.LoadCustom(FromUtf8(written));
  const WordArray loaded = ThreadCustomWords().words();
  fuzzing::Require(loaded == LinesKept(content));
  if (loaded) {
    for (const std::u16string& word : *loaded) {
      fuzzing::Require(IsInCustom(word));
      // One that may or may not be a word too: the index answers as a scan.
      const std::u16string longer = ToLower(word + u"s");
      fuzzing::Require(IsInCustom(longer) ==
                       std::any_of(loaded->begin(), loaded->end(), [&](const std::u16string& other) {
                         return ToLower(other) == longer;
                       }));
    }
  }

  speller.SaveCustom(FromUtf8(saved));
  ThreadCustomWords() = CustomWordList();
  speller.LoadCustom(FromUtf8(saved));
  fuzzing::Require(ThreadCustomWords().words() == loaded);
  return 0;
}
