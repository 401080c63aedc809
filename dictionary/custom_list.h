// The custom word list: the host's and the user's own words, kept per thread
// in the order added, and saved to and loaded from a plain text file.

#ifndef QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_
#define QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include <quenvarspell/types.h>

#include "base/text.h"

namespace quenvar {

// The words are kept compactly, one byte a character for those the custom
// file's code page holds, and indexed by their lower-cased forms, so that a
// lookup takes the same time whatever the number of words.
class CustomWordList {
 public:
  // The number of words; 0 also for the list without storage, which it is
  // until the first word is added or loaded.
  std::size_t size() const { return count_; }

  // The words exactly as added or loaded, in order; std::nullopt until the
  // first. A copy: ForEachWord reads them without one.
  WordArray words() const;

  // Where a word stands: the offset of its entry in the list's storage and,
  // for a word that is not narrow, how many such words come before it.
  // Positions ascend with the words' order.
  struct Position {
    std::size_t at = 0;
    std::size_t wide = 0;
  };
  // The position a word added next takes.
  Position end() const { return {bytes_.size(), wide_.size()}; }

  // Calls visit(word) with each word in order; word, a std::u16string_view,
  // lasts only for that call.
  template <typename Visit>
  void ForEachWord(Visit visit) const {
    ForEachWordFrom({}, [&](Position, std::u16string_view word) { visit(word); });
  }

  // Calls visit(position, word) with each word from the one at from (a
  // position this list gave since its last Load) to the last, in order.
  template <typename Visit>
  void ForEachWordFrom(Position from, Visit visit) const {
    std::u16string narrow;
    for (Position p = from; p.at < bytes_.size();) {
      const std::size_t end = bytes_.find('\n', p.at);
      const std::string_view entry(bytes_.data() + p.at, end - p.at);
      if (entry == kWideEntry) {
        visit(p, std::u16string_view(wide_[p.wide]));
        ++p.wide;
      } else {
        FromSingleByte(entry, narrow);
        visit(p, std::u16string_view(narrow));
      }
      p.at = end + 1;
    }
  }

  // The word at position, as stored.
  std::u16string WordAt(Position position) const;

  // The single-byte form of the narrow word whose entry starts at offset at,
  // followed by the rest of the storage: the form ends at the first '\n'.
  // Whether it is narrow: IsNarrowAt.
  std::string_view BytesFrom(std::size_t at) const { return std::string_view(bytes_).substr(at); }
  bool IsNarrowAt(std::size_t at) const { return !BytesFrom(at).starts_with("\r\n"); }

  // How many times words were loaded or the list was assigned another:
  // positions given before mean nothing after either.
  std::uint64_t loads() const { return loads_.count; }

  // Appends word. Throws Error, changing nothing, when the words would take
  // 4 GiB or more.
  void Add(std::u16string_view word);

  // Replaces every word with the lines of two or more bytes of content, a
  // custom file's bytes, kept in content's own storage; changes nothing when
  // it has none. Throws Error, changing nothing, when they would take 4 GiB
  // or more.
  void Load(std::string content);

  // True when some word, lower-cased, equals lowered exactly.
  bool ContainsLowered(std::u16string_view lowered) const;

 private:
  // How a word that is not narrow stands in bytes_.
  static constexpr std::string_view kWideEntry = "\r";

  // Puts the narrow word at offset in bytes_, which lower-cases to lowered of
  // that hash, in the index, unless an earlier word lower-cases as it does.
  void Place(std::uint32_t offset, std::u16string_view lowered, std::uint64_t hash,
             std::u16string& scratch);
  // Where the search for a word of that hash starts.
  std::size_t HomeSlot(std::uint64_t hash) const;
  // The slot of lowered: the one holding an entry that lower-cases to it,
  // else the empty one where it would go.
  std::size_t FindSlot(std::u16string_view lowered, std::uint64_t hash,
                       std::u16string& scratch) const;
  // Builds the index anew with slots for words distinct words.
  void Reindex(std::size_t words);

  // The narrow words (every character in Windows-1252, no CR or LF) in their
  // single-byte form, each followed by '\n'; a word of any other kind stands
  // here as kWideEntry, and is kept in wide_.
  std::string bytes_;
  std::vector<std::u16string> wide_;
  std::unordered_set<std::u16string> wide_lowered_;  // each of wide_, lower-cased
  // An open-addressing table of the narrow words, each lower-cased form once:
  // a slot holds 1 + the offset in bytes_ of the first word of that form, or
  // 0 when empty. At most three quarters of the slots are taken.
  std::vector<std::uint32_t> slots_;
  std::size_t taken_ = 0;
  std::size_t count_ = 0;
  // Grows whenever the list is assigned, whatever the list assigned counted,
  // so that no list put in this one's place passes for the one before.
  struct LoadCount {
    std::uint64_t count = 0;
    LoadCount() = default;
    LoadCount(const LoadCount&) = default;
    LoadCount& operator=(const LoadCount& other) {
      count = std::max(count, other.count) + 1;
      return *this;
    }
  };
  LoadCount loads_;
};

// This thread's custom list, created without storage on first use.
CustomWordList& ThreadCustomWords();

// Appends sWord, unchanged, to this thread's custom list.
void AddToCustom(const std::u16string& sWord);

// True when this thread's custom list holds sWord, ignoring letter case.
bool IsInCustom(std::u16string_view sWord);

// Writes this thread's custom list to sFile (empty: DefaultCustomFile()), one
// Windows-1252 line per word, each ended by CR LF, replacing the file
// atomically. Throws std::system_error; the old file is then unchanged.
void SaveCustom(std::u16string_view sFile);

// Runs LoadCustomFile on sFile, or on DefaultCustomFile() when it is empty.
void LoadCustom(std::u16string_view sFile);

// Replaces this thread's custom list with the lines of two or more characters
// of the file at path, when it has any, taking at most three times the
// file's size in memory while it loads. Throws std::system_error when the
// file cannot be read; the list is then unchanged.
void LoadCustomFile(const std::string& path);

// The folder of the library (or program) holding the component, followed by
// "/qzvcust.dic". Throws Error when that file cannot be found.
std::string DefaultCustomFile();

// Why word cannot be kept in a custom file as it is, or std::nullopt when it
// can: the file holds one Windows-1252 line a word and skips lines shorter
// than two characters when it is read.
std::optional<std::string> ReasonCustomFileCannotKeep(std::u16string_view word);

// Appends to the custom file at path a line for each of words that neither
// the file nor an earlier word holds yet (letter case ignored), keeping every
// byte the file had, and returns those words in order. Holds the file's lock
// (FileLock) from reading to replacing it, so that processes adding at once
// each keep every word; creates the file and its folder only when there is a
// word to add. Throws Error, writing nothing, when a word cannot be kept, and
// std::system_error when the file cannot be read or replaced.
std::vector<std::u16string> MergeIntoCustomFile(const std::string& path,
                                                std::span<const std::u16string> words);

// The user's personal dictionary, shared by the tool and the editors' hosts:
// $XDG_DATA_HOME/quenvarspell/personal.dic, where an unset, empty or relative
// XDG_DATA_HOME stands for ~/.local/share. Throws Error when the home folder
// is unknown.
std::string PersonalDictionaryPath();

}  // namespace quenvar

#endif  // QUENVARSPELL_DICTIONARY_CUSTOM_LIST_H_
