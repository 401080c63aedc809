#include "cli/ispell_pipe.h"

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <quenvarspell/spell_check.h>

#include "base/text.h"

#include "cli/personal_dictionary.h"
#include "cli/tex_filter.h"
#include "cli/text_encoding.h"
#include "cli/text_position.h"
#include "cli/word_checker.h"

namespace quenvar::cli {
namespace {

// One input line decoded, and the encoding its answers go back in.
struct Line {
  std::u16string text;
  bool latin1;

  std::string Encode(std::u16string_view part) const {
    return latin1 ? ToLatin1(part) : ToUtf8(part);
  }
};

bool HasLetter(std::u16string_view piece) {
  for (std::size_t i = 0; i < piece.size(); ++i) {
    UChar32 c = piece[i];
    if (U16_IS_LEAD(piece[i]) && i + 1 < piece.size() && U16_IS_TRAIL(piece[i + 1])) {
      c = static_cast<UChar32>(U16_GET_SUPPLEMENTARY(piece[i], piece[i + 1]));
      ++i;
    }
    if (u_isalpha(c)) return true;
  }
  return false;
}

Line DecodeLine(std::string_view bytes) {
  if (FindInvalidUtf8(bytes)) return {FromLatin1(bytes), true};
  return {FromUtf8(bytes), false};
}

// The state of one pipe session: the speller with the built-in list, the
// personal dictionary and the session's words, the words added with "*"
// that "#" has not saved yet, and the mode.
class PipeSession {
 public:
  PipeSession(const std::filesystem::path& personal, const PipeOptions& options)
      : personal_(personal), options_(options) {
    speller_.Init();
    LoadPersonalDictionary(speller_, personal_);
  }

  // Handles one input line, without its line end; answers on out.
  void Handle(std::string_view line, std::ostream& out) {
    const char command = line.empty() ? '\0' : line.front();
    const std::string_view rest = line.empty() ? line : line.substr(1);
    switch (command) {
      case '*':
        AddToPersonal(DecodeLine(rest).text);
        return;
      case '&':
        AddToPersonal(ToLower(DecodeLine(rest).text));
        return;
      case '@':
        Accept(DecodeLine(rest).text);
        return;
      case '#':
        Save();
        return;
      case '!':
        terse_ = true;
        return;
      case '%':
        terse_ = false;
        return;
      case '+':
        options_.tex = true;
        return;
      case '-':
        options_.tex = false;
        return;
      case '~':
        return;
      case '$':
        if (rest.starts_with('$')) return;
        break;
      case '^':
        CheckLine(rest, 1, out);
        return;
    }
    CheckLine(line, 0, out);
  }

  // True when a "#" failed and no later one saved its words.
  bool words_unsaved_after_failure() const { return save_failed_ && !unsaved_.empty(); }

 private:
  void CheckLine(std::string_view bytes, std::size_t shift, std::ostream& out) {
    const Line line = DecodeLine(bytes);
    // Characters are counted on from the previous word, so that a long line
    // costs one pass.
    std::size_t counted_to = 0;
    std::size_t characters = shift;
    const std::u16string text = options_.tex ? MaskTex(line.text) : line.text;
    ForEachWord(text, [&](std::u16string_view piece, std::size_t start) {
      if (!HasLetter(piece)) return;
      const std::u16string word(piece);
      if (CharacterCount(word) <= options_.accepted_length || speller_.CheckWord(word)) {
        if (!terse_) out << "*\n";
        return;
      }
      characters += CharacterCount(
          std::u16string_view(line.text).substr(counted_to, start - counted_to));
      counted_to = start;
      const std::string offset = std::to_string(characters);
      const WordArray suggestions = speller_.GetRankedSuggestions(word);
      if (!suggestions || suggestions->empty()) {
        out << "# " << line.Encode(word) << ' ' << offset << '\n';
        return;
      }
      out << "& " << line.Encode(word) << ' ' << suggestions->size() << ' '
          << offset << ':';
      const char* separator = " ";
      for (const std::u16string& suggestion : *suggestions) {
        out << separator << line.Encode(suggestion);
        separator = ", ";
      }
      out << '\n';
    }, options_.word_characters);
    out << '\n' << std::flush;
  }

  // A word the file could not keep is accepted for the session only.
  void AddToPersonal(const std::u16string& word) {
    Accept(word);
    if (!WhyCustomFileCannotKeep(word)) unsaved_.push_back(word);
  }

  void Accept(const std::u16string& word) {
    if (!word.empty() && !speller_.CheckWord(word)) speller_.AddToCustom(word);
  }

  // A failure is reported on standard error, which Ispell clients show, and
  // the words are kept for the next "#".
  void Save() {
    if (unsaved_.empty()) return;
    try {
      AddToPersonalDictionary(personal_, unsaved_);
      unsaved_.clear();
    } catch (const std::exception& e) {
      save_failed_ = true;
      std::cerr << "quenvarspell: " << e.what() << std::endl;
    }
  }

  SpellCheck speller_;
  std::filesystem::path personal_;
  std::vector<std::u16string> unsaved_;
  PipeOptions options_;
  bool save_failed_ = false;
  bool terse_ = false;
};

std::string_view WithoutCarriageReturn(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

}  // namespace

std::string IspellVersionLine() {
  return "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell " QUENVAR_VERSION ")";
}

int RunPipe(const std::filesystem::path& personal, const PipeOptions& options) {
  PipeSession session(personal, options);
  std::cout << IspellVersionLine() << '\n' << std::flush;
  std::string line;
  while (std::getline(std::cin, line)) {
    session.Handle(WithoutCarriageReturn(line), std::cout);
  }
  return session.words_unsaved_after_failure() ? 2 : 0;
}

int RunIspellList(const std::filesystem::path& personal) {
  SpellCheck speller;
  speller.Init();
  LoadPersonalDictionary(speller, personal);
  WordChecker words(speller);
  std::string bytes;
  while (std::getline(std::cin, bytes)) {
    const Line line = DecodeLine(bytes);
    for (const UnknownWord& unknown : words.UnknownWords(line.text)) {
      std::cout << line.Encode(unknown.word) << '\n';
    }
  }
  return 0;
}

}  // namespace quenvar::cli
