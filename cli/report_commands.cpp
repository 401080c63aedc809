#include "cli/report_commands.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <map>
#include <string_view>

#include <quenvarspell/spell_check.h>

#include "cli/file_access.h"
#include "cli/personal_dictionary.h"
#include "cli/text_encoding.h"
#include "cli/text_position.h"

namespace quenvar::cli {
namespace {

// A report line offers the likeliest corrections only, so that it stays
// readable.
constexpr std::int32_t kReportedSuggestions = 5;

// Suggestion lists kept for repeated words, at most: then they are dropped,
// so that memory stays bounded.
constexpr std::size_t kKeptSuggestions = 1 << 18;

// The speller of one command run: the built-in list and the personal
// dictionary loaded, and the suggestions found so far, for the spelling
// chosen.
class Speller {
 public:
  Speller(const std::filesystem::path& personal, Spelling spelling) : spelling_(spelling) {
    speller_.Init();
    LoadPersonalDictionary(speller_, personal);
  }

  std::vector<UnknownWord> UnknownWordsOf(DocumentSplitter& splitter, std::u16string_view text) {
    return speller_.FindUnknownWords(splitter, text, spelling_);
  }

  // "s1, s2, ..." (likeliest first) or "no suggestions"; each word's list is
  // computed once, as long as no more than kKeptSuggestions are kept.
  const std::string& SuggestionsFor(const std::u16string& word) {
    if (suggestions_.size() > kKeptSuggestions) suggestions_.clear();
    auto [it, fresh] = suggestions_.try_emplace(word);
    if (fresh) {
      const WordArray words =
          speller_.GetRankedSuggestions(word, spelling_, kReportedSuggestions);
      if (!words || words->empty()) {
        it->second = "no suggestions";
      } else {
        for (const std::u16string& suggestion : *words) {
          if (!it->second.empty()) it->second += ", ";
          it->second += ToUtf8(suggestion);
        }
      }
    }
    return it->second;
  }

 private:
  SpellCheck speller_;
  Spelling spelling_;
  std::map<std::u16string, std::string> suggestions_;
};

// One piece of an input, decoded, the position in its input where the
// piece starts, and the splitter that reads the input.
struct Piece {
  const std::string& name;
  std::u16string text;
  TextPosition start;
  DocumentSplitter& splitter;
};

// Runs report on each piece of each input in turn, read in mode or its
// name's format; an input that fails is reported on standard error, after
// the reports of its pieces before the failure. Returns whether every input
// succeeded.
template <typename Report>
bool ForEachInput(std::vector<std::string> inputs, std::optional<DocumentFormat> mode,
                  Report report) {
  if (inputs.empty()) inputs.push_back("-");
  bool all_read = true;
  std::string bytes;
  for (const std::string& path : inputs) {
    try {
      InputPieces input(path);
      DocumentSplitter splitter(
          mode.value_or(path == "-" ? DocumentFormat::kText : FormatOfFileName(path)));
      std::size_t first_byte = 0;
      TextPosition start{1, 1};
      while (input.Next(bytes)) {
        Piece piece{input.name(), DecodeDocument(input.name(), bytes, first_byte), start,
                    splitter};
        report(piece);
        first_byte += bytes.size();
        start = TextPositions(piece.text, start).At(piece.text.size());
      }
    } catch (const std::ios_base::failure&) {
      throw;  // standard output failed: no point going on
    } catch (const std::exception& e) {
      std::cout.flush();
      std::cerr << "quenvarspell: " << e.what() << '\n';
      all_read = false;
    }
  }
  return all_read;
}

}  // namespace

int RunCheck(const std::vector<std::string>& inputs,
             const std::filesystem::path& personal, std::optional<DocumentFormat> mode,
             Spelling spelling) {
  Speller speller(personal, spelling);
  bool found_any = false;
  const bool all_read = ForEachInput(inputs, mode, [&](const Piece& piece) {
    const std::vector<UnknownWord> unknown = speller.UnknownWordsOf(piece.splitter, piece.text);
    TextPositions positions(piece.text, piece.start);
    for (const UnknownWord& word : unknown) {
      const TextPosition at = positions.At(word.offset);
      std::cout << piece.name << ':' << at.line << ':' << at.column << ": "
                << ToUtf8(std::u16string_view(piece.text).substr(word.offset, word.length))
                << ": " << speller.SuggestionsFor(word.word) << '\n';
    }
    found_any = found_any || !unknown.empty();
  });
  if (!all_read) return 2;
  return found_any ? 1 : 0;
}

int RunList(const std::vector<std::string>& inputs,
            const std::filesystem::path& personal, std::optional<DocumentFormat> mode,
            Spelling spelling) {
  Speller speller(personal, spelling);
  const bool all_read = ForEachInput(inputs, mode, [&](const Piece& piece) {
    for (const UnknownWord& word : speller.UnknownWordsOf(piece.splitter, piece.text)) {
      std::cout << ToUtf8(std::u16string_view(piece.text).substr(word.offset, word.length))
                << '\n';
    }
  });
  return all_read ? 0 : 2;
}

int RunSuggest(const std::vector<std::string>& words,
               const std::filesystem::path& personal, Spelling spelling) {
  // Every argument is decoded before anything is printed, so that a bad one
  // leaves no partial output.
  std::vector<std::u16string> decoded;
  for (const std::string& word : words) decoded.push_back(DecodeArgument(word));
  Speller speller(personal, spelling);
  for (std::size_t i = 0; i < words.size(); ++i) {
    std::cout << words[i] << ": " << speller.SuggestionsFor(decoded[i]) << '\n';
  }
  return 0;
}

}  // namespace quenvar::cli
