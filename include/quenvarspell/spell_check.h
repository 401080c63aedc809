// QuenvarSpell: an in-process English spell checker.
//
// A host creates SpellCheck objects, calls Init() once per thread to load the
// built-in English word list, and then checks words, asks for suggestions,
// walks whole texts, shows the suggestion dialog and keeps a custom word list.
//
// All word lists live once per thread and are shared by every SpellCheck
// object of that thread; objects on different threads see separate lists.
// A SpellCheck object is used only by the thread that created it.
//
// Errors are exceptions: a file or operating-system failure throws
// std::system_error (its what() names the path), anything else throws
// quenvar::Error.

#ifndef QUENVARSPELL_SPELL_CHECK_H_
#define QUENVARSPELL_SPELL_CHECK_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/document_splitter.h>
#include <quenvarspell/export.h>
#include <quenvarspell/spell_check_events.h>
#include <quenvarspell/types.h>

namespace quenvar {

// The spelling a tag names, as the comments of Spelling write them, compared
// exactly; std::nullopt for any other text.
QUENVAR_EXPORT std::optional<Spelling> ParseSpelling(std::string_view tag);

// A word of a document that CheckWord rejects.
struct UnknownWord {
  std::u16string word;  // as checked: DocumentWord::word
  std::size_t offset;   // of its source in the text, in UTF-16 code units
  std::size_t length;   // of its source, in UTF-16 code units
  friend bool operator==(const UnknownWord&, const UnknownWord&) = default;
};

class QUENVAR_EXPORT SpellCheck {
 public:
  SpellCheck();
  ~SpellCheck();
  SpellCheck(const SpellCheck&) = delete;
  SpellCheck& operator=(const SpellCheck&) = delete;

  // Answers kTrue when sWord counts as correctly spelled: it is shorter than
  // two characters, numeric, in the main word list as typed or after cleaning
  // off surrounding punctuation and a possessive 's, or (when bCheckCustom is
  // non-zero) in the custom list, ignoring letter case.
  Boolean CheckWord(const std::u16string& sWord, Boolean bCheckCustom = kTrue);

  // Returns the main-list words that start with the same two letters as the
  // cleaned, lower-cased sWord and score above 0.8 against it, in list order,
  // followed (when bCheckCustom is non-zero) by the custom words that score
  // above 0.8. Returns std::nullopt when no word qualifies.
  WordArray GetSuggestions(const std::u16string& sWord,
                           Boolean bCheckCustom = kTrue);

  // Returns up to lMaxCount corrections of sWord, likeliest first: words of
  // the main list within a few likely slips or sounding alike (and their
  // possessives), and (when bCheckCustom is non-zero) custom words as
  // stored. A word keeps the capitals English writes it with, and sWord's
  // capitalization carries over. Returns std::nullopt when none qualifies or
  // lMaxCount < 1.
  WordArray GetRankedSuggestions(const std::u16string& sWord,
                                 std::int32_t lMaxCount = 10,
                                 Boolean bCheckCustom = kTrue);

  // CheckWord as if the main list held only the words spelling accepts:
  // under kAmerican "colour" is kFalse and "color" kTrue, under kBritish the
  // reverse. Custom words count under every spelling; kEnglish answers as
  // CheckWord does.
  Boolean CheckWord(const std::u16string& sWord, Spelling spelling,
                    Boolean bCheckCustom = kTrue);

  // GetRankedSuggestions from the main-list words spelling accepts; for a
  // word of another spelling its form in this one comes first (colour under
  // kAmerican: color). kEnglish answers as GetRankedSuggestions does.
  WordArray GetRankedSuggestions(const std::u16string& sWord, Spelling spelling,
                                 std::int32_t lMaxCount = 10,
                                 Boolean bCheckCustom = kTrue);

  // Appends sWord, exactly as given, to this thread's custom list. Returns
  // empty.
  Variant AddToCustom(const std::u16string& sWord);

  // Writes the custom list, one word per line in Windows-1252 with CR LF, to
  // sFile (empty: the default custom file "qzvcust.dic" in the folder of the
  // component's library). The file is replaced atomically: on any failure
  // the old file is left exactly as it was and std::system_error is thrown.
  // Characters Windows-1252 lacks are written as '?'. Returns empty.
  Variant SaveCustom(const std::u16string& sFile = {});

  // Replaces the custom list with the lines of sFile (empty: the default
  // custom file) that have two or more characters; a file without such a
  // line leaves the list as it was. Throws std::system_error when the file
  // cannot be read. Always returns kFalse.
  Boolean LoadCustom(const std::u16string& sFile = {});

  // Runs the modal suggestion dialog for sWord and returns the user's choice:
  // Boolean kFalse for Cancel, sWord itself for Ignore, the edited text for
  // Change and Add Word (Add Word also adds it to the custom list). The
  // dialog is in libquenvarspell-widgets.so, loaded on first use; throws
  // Error when it cannot be loaded or there is no display. REQUIRES: the
  // calling thread may run a Qt GUI.
  Variant ShowSuggestionDialog(const std::u16string& sWord);

  // Walks sText word by word, raising SpellWordNotInDic for each word that is
  // not correctly spelled and, when ShowDialog is non-zero, showing the
  // dialog for it and raising SpellReplace for the user's replacement. In a
  // Qt host it lets the thread's pending events run once per word. Never
  // changes sText itself; handlers may. Returns empty.
  Variant CheckText(std::u16string& sText, Boolean ShowDialog = kTrue);

  // Returns the words of text, the next piece of splitter's document, that
  // CheckWord(word, bCheckCustom) rejects, in text order. A hyphenated
  // compound is accepted when CheckWord accepts it whole or each of its
  // parts; otherwise each rejected part is returned on its own.
  std::vector<UnknownWord> FindUnknownWords(DocumentSplitter& splitter,
                                            std::u16string_view text,
                                            Boolean bCheckCustom = kTrue);

  // FindUnknownWords deciding with CheckWord(word, spelling, bCheckCustom).
  std::vector<UnknownWord> FindUnknownWords(DocumentSplitter& splitter,
                                            std::u16string_view text, Spelling spelling,
                                            Boolean bCheckCustom = kTrue);

  // Loads the built-in English word list into this thread's main list. Every
  // call reloads it. Returns empty.
  Variant Init();

  // Answers whether Init has loaded this thread's main list.
  bool IsMainListLoaded() const;

  // Appends to the custom file sFile a line for each of words that neither
  // the file nor an earlier word holds yet (letter case ignored), keeping
  // every line it had, and returns those words in order. Processes adding
  // to one file at once take turns through the lock file "<sFile>.lock", so
  // each keeps every word. Changes nothing in this thread's lists. Throws
  // Error, writing nothing, when a word cannot be kept in the file
  // (WhyCustomFileCannotKeep), and std::system_error when the file cannot
  // be read or replaced.
  std::vector<std::u16string> AddToCustomFile(const std::vector<std::u16string>& words,
                                              const std::u16string& sFile);

  // Connects a sink to this object's events and returns its cookie. Events
  // go to every connected sink in connection order. REQUIRES: sink outlives
  // its connection.
  std::uint32_t Advise(SpellCheckEvents& sink);

  // Disconnects the sink of that cookie. Throws Error for an unknown cookie.
  void Unadvise(std::uint32_t cookie);

 private:
  class ConnectedSinks;
  struct Connection {
    std::uint32_t cookie;
    SpellCheckEvents* sink;
  };
  std::vector<Connection> connections_;
  std::uint32_t last_cookie_ = 0;
};

// Why word cannot be kept in a custom file as it is, or std::nullopt when it
// can: the file holds one Windows-1252 line a word, and lines shorter than
// two characters are skipped when it is read.
QUENVAR_EXPORT std::optional<std::string> WhyCustomFileCannotKeep(std::u16string_view word);

// The user's personal dictionary, which the command-line tool and the
// highlighter share: $XDG_DATA_HOME/quenvarspell/personal.dic, where an
// unset, empty or relative XDG_DATA_HOME stands for ~/.local/share. Throws
// Error when the home folder is unknown.
QUENVAR_EXPORT std::u16string PersonalDictionaryFile();

}  // namespace quenvar

#endif  // QUENVARSPELL_SPELL_CHECK_H_
