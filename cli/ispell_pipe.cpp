#include "cli/ispell_pipe.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/text.h"

#include "cli/file_access.h"
#include "cli/personal_dictionary.h"
#include "cli/text_encoding.h"
#include "cli/text_position.h"

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

Line DecodeLine(std::string_view bytes) {
  if (FindInvalidUtf8(bytes)) return {FromLatin1(bytes), true};
  return {FromUtf8(bytes), false};
}

// The state of one pipe session: the speller with the built-in list, the
// personal dictionary and the session's words, the words added with "*"
// that "#" has not saved yet, the splitter in its mode, and the line being
// read.
class PipeSession {
 public:
  PipeSession(const std::filesystem::path& personal, const PipeOptions& options)
      : personal_(personal),
        accepted_length_(options.accepted_length),
        spelling_(options.spelling) {
    speller_.Init();
    LoadPersonalDictionary(speller_, personal_);
    splitter_.emplace(options.format);
  }

  // Handles one piece of an input line, without its line end; answers on
  // out. A line's first piece holds its command.
  void Handle(std::string_view piece, bool first, bool last, std::ostream& out) {
    if (first) checking_ = Command(piece);
    if (!checking_) return;
    if (first) {
      const std::size_t shift = piece.starts_with('^') ? 1 : 0;
      characters_ = shift;
      piece.remove_prefix(shift);
    }
    CheckPiece(piece, last, out);
    if (last) out << '\n' << std::flush;
  }

  // True when a "#" failed and no later one saved its words.
  bool words_unsaved_after_failure() const { return save_failed_ && !unsaved_.empty(); }

 private:
  // Carries out the command a line starts with; answers whether the line
  // is to be checked.
  bool Command(std::string_view line) {
    const char command = line.empty() ? '\0' : line.front();
    const std::string_view rest = line.empty() ? line : line.substr(1);
    switch (command) {
      case '*':
        AddToPersonal(DecodeLine(rest).text);
        return false;
      case '&':
        AddToPersonal(ToLower(DecodeLine(rest).text));
        return false;
      case '@':
        Accept(DecodeLine(rest).text);
        return false;
      case '#':
        Save();
        return false;
      case '!':
        terse_ = true;
        return false;
      case '%':
        terse_ = false;
        return false;
      case '+':
        splitter_.emplace(DocumentFormat::kTex);
        return false;
      case '-':
        splitter_.emplace(DocumentFormat::kText);
        return false;
      case '~':
        return false;
      case '$':
        return !rest.starts_with('$');
      default:
        return true;
    }
  }

  // Answers a piece of a line; the line's last piece is read with its line
  // end, which ends what needs one (a blank line ends a paragraph).
  void CheckPiece(std::string_view bytes, bool last, std::ostream& out) {
    Line line = DecodeLine(bytes);
    if (last) line.text += u'\n';
    const std::u16string_view text = line.text;
    const std::uint32_t state = splitter_->state();
    std::vector<UnknownWord> unknown =
        speller_.FindUnknownWords(*splitter_, text, spelling_);
    std::erase_if(unknown, [&](const UnknownWord& word) {
      return CharacterCount(word.word) <= accepted_length_;
    });
    // Characters are counted on from the previous word, so that a long line
    // costs one pass.
    std::size_t counted_to = 0;
    const auto report = [&](const UnknownWord& word) {
      characters_ += CharacterCount(text.substr(counted_to, word.offset - counted_to));
      counted_to = word.offset;
      const std::string offset = std::to_string(characters_);
      const std::string source = line.Encode(text.substr(word.offset, word.length));
      const WordArray suggestions =
          speller_.GetRankedSuggestions(word.word, spelling_);
      if (!suggestions || suggestions->empty()) {
        out << "# " << source << ' ' << offset << '\n';
        return;
      }
      out << "& " << source << ' ' << suggestions->size() << ' ' << offset << ':';
      const char* separator = " ";
      for (const std::u16string& suggestion : *suggestions) {
        out << separator << line.Encode(suggestion);
        separator = ", ";
      }
      out << '\n';
    };
    auto next = unknown.begin();
    if (terse_) {
      for (; next != unknown.end(); ++next) report(*next);
    } else {
      // Every word gets its line: a second splitter from the same state
      // yields them all.
      DocumentSplitter(splitter_->format(), state).Split(text, [&](const DocumentWord& word) {
        if (next != unknown.end() && next->offset == word.offset) {
          report(*next++);
        } else {
          out << "*\n";
        }
      });
    }
    characters_ += CharacterCount(text.substr(counted_to));
  }

  // A word the file could not keep is accepted for the session only.
  void AddToPersonal(const std::u16string& word) {
    Accept(word);
    if (!WhyCustomFileCannotKeep(word)) unsaved_.push_back(word);
  }

  void Accept(const std::u16string& word) {
    if (!word.empty() && !speller_.CheckWord(word, spelling_)) {
      speller_.AddToCustom(word);
    }
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
  std::size_t accepted_length_;
  Spelling spelling_;
  std::optional<DocumentSplitter> splitter_;
  bool save_failed_ = false;
  bool terse_ = false;
  bool checking_ = false;       // the line being read is checked
  std::size_t characters_ = 0;  // of the line, up to the piece being read
};

}  // namespace

std::string IspellVersionLine() {
  return "@(#) International Ispell Version 3.1.20 (but really QuenvarSpell " QUENVAR_VERSION ")";
}

std::size_t ParseAcceptedLength(const std::string& value) {
  if (value.starts_with('-')) throw Error("You must specify a parameter for \"-W\".");
  std::size_t length = 0;
  bool fits = !value.empty();
  for (const char c : value) {
    const auto digit = static_cast<std::size_t>(c - '0');
    if (c < '0' || c > '9' || length > (SIZE_MAX - digit) / 10) {
      fits = false;
      break;
    }
    length = length * 10 + digit;
  }
  if (!fits) {
    throw Error("The value \"" + value + "\" is not a positive integer and is thus invalid for -W.");
  }
  return length;
}

int RunPipe(const std::filesystem::path& personal, const PipeOptions& options) {
  PipeSession session(personal, options);
  std::cout << IspellVersionLine() << '\n' << std::flush;
  InputPieces input("-", true);
  std::string piece;
  bool first = true;  // the next piece starts a line
  while (input.Next(piece)) {
    const bool last = piece.ends_with('\n');
    std::string_view text(piece);
    if (last) {
      text.remove_suffix(1);
      if (text.ends_with('\r')) text.remove_suffix(1);
    }
    session.Handle(text, first, last, std::cout);
    first = last;
  }
  if (!first) session.Handle({}, false, true, std::cout);
  return session.words_unsaved_after_failure() ? 2 : 0;
}

int RunIspellList(const std::filesystem::path& personal, DocumentFormat format,
                  Spelling spelling) {
  SpellCheck speller;
  speller.Init();
  LoadPersonalDictionary(speller, personal);
  DocumentSplitter splitter(format);
  InputPieces input("-");
  std::string bytes;
  while (input.Next(bytes)) {
    const Line piece = DecodeLine(bytes);
    const std::u16string_view text = piece.text;
    for (const UnknownWord& unknown : speller.FindUnknownWords(splitter, text, spelling)) {
      std::cout << piece.Encode(text.substr(unknown.offset, unknown.length)) << '\n';
    }
  }
  return 0;
}

}  // namespace quenvar::cli
