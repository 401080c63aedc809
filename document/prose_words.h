// The words of prose: a text whose markup a format's filter has blanked,
// offsets unchanged, split into the words a speller should check.

#ifndef QUENVARSPELL_DOCUMENT_PROSE_WORDS_H_
#define QUENVARSPELL_DOCUMENT_PROSE_WORDS_H_

#include <functional>
#include <string>
#include <string_view>

#include <quenvarspell/document_splitter.h>

namespace quenvar::document {

// What a filter writes in place of source that belongs to the word around
// it but is not checked: the rest of a decoded entity, an escape's
// backslash. Filters turn a U+FFFF of the source into a space.
inline constexpr char16_t kJoiner = u'\uFFFF';

// Calls visit for each word of prose in order (DocumentSplitter's rules for
// every format: URLs, mail addresses, paths, pieces holding digits, code
// identifiers and pieces without a letter are skipped; quotes and dashes
// are not part of words; hyphens join the parts of compounds). Joiners are
// left out of the words visited, and ’ and ʼ become '.
class ProseWords {
 public:
  void Split(std::u16string_view prose,
             const std::function<void(const DocumentWord&)>& visit);

 private:
  // The words of the token prose[begin, end), which holds no space.
  void SplitToken(std::u16string_view prose, std::size_t begin, std::size_t end,
                  const std::function<void(const DocumentWord&)>& visit);
  // The parts of the word piece prose[begin, end) between its hyphens.
  void SplitPiece(std::u16string_view prose, std::size_t begin, std::size_t end,
                  const std::function<void(const DocumentWord&)>& visit);

  std::u16string word_;  // a word whose checked form differs from its source
};

}  // namespace quenvar::document

#endif  // QUENVARSPELL_DOCUMENT_PROSE_WORDS_H_
