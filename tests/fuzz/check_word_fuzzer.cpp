// Arbitrary UTF-16 text, unpaired surrogates included, through one
// SpellCheck object with the built-in list and a few custom words: CheckWord,
// GetSuggestions and GetRankedSuggestions on the whole text, then CheckText without the dialog,
// with a connected sink whose answer to each word comes from the input
// (ignore it, cancel the walk, hand on another Cancel value, or edit the text
// as a host replacing the word would). Checks, besides the sanitizers, that
// CheckWord agrees with its plain rendering (tests/literal_check_word.h) on
// the text, on each of its pieces between spaces and on each reported word,
// that GetSuggestions does with its own (tests/literal_similarity.h) on the
// first reported words, that a suggestion array of the text is never
// present and empty, that every reported word stands at its reported offset
// in the text as the handlers left it, and that the Cancel value a handler
// leaves reaches the next handler.
//
// Input: one byte of flags, four bytes of sink answers (used in turn), then
// the text as UTF-16LE.

#include <quenvarspell/spell_check.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tests/literal_check_word.h"
#include "tests/literal_similarity.h"

namespace quenvar {
namespace {

// Suggestions are asked for this many reported words at most, and the walk
// is cancelled after this many events, so that edits that keep creating
// misspelled words cannot walk for ever.
constexpr std::size_t kWordsWithSuggestions = 2;
constexpr std::size_t kMostEvents = 200;

using fuzzing::Require;

// Texts the sink puts in place of a word: nothing, a correct word, misspelled
// ones, delimiters, a lone surrogate, a possessive.
constexpr std::array<std::u16string_view, 8> kReplacements = {
    u"", u"the", u"teh", u"wrod wrod", u".,;", u"\xD800", u"Jones's", u"x"};

class ScriptedSink : public SpellCheckEvents {
 public:
  ScriptedSink(SpellCheck& speller, std::u16string& text,
               std::array<std::uint8_t, 4> answers)
      : speller_(speller), text_(text), answers_(answers) {}

  void SpellWordNotInDic(const std::u16string& word, std::int32_t offset,
                         Boolean& Cancel) override {
    Require(Cancel == last_cancel_);
    Require(offset >= 0 &&
            text_.compare(static_cast<std::size_t>(offset), word.size(),
                          word) == 0);
    Require(speller_.CheckWord(word) == kFalse &&
            !testing::LiteralCheckWord(word, true));
    if (events_ < kWordsWithSuggestions) {
      Require(speller_.GetSuggestions(word) ==
              testing::LiteralGetSuggestions(word, true));
    }
    if (++events_ >= kMostEvents) {
      Cancel = kTrue;
      return;
    }

    const std::uint8_t answer = answers_[events_ % answers_.size()];
    const std::u16string_view replacement =
        kReplacements[(answer >> 3) % kReplacements.size()];
    const auto at = static_cast<std::size_t>(offset);
    switch (answer % 6) {
      case 0:  // ignore the word
        break;
      case 1:
        Cancel = kTrue;
        break;
      case 2:  // any value but kTrue goes on to the next word
        Cancel = static_cast<Boolean>((answer >> 3) - 16);
        break;
      case 3:  // replace the word
        text_.replace(at, word.size(), replacement);
        break;
      case 4:  // insert in front of the text, moving the word
        text_.insert(0, replacement);
        break;
      case 5:  // cut the text off at the word
        text_.resize(at);
        break;
    }
    last_cancel_ = Cancel;
  }

  void SpellReplace(const std::u16string&, const std::u16string&, std::int32_t,
                    WordArray&) override {
    std::abort();  // raised only after the dialog, which is off
  }

 private:
  SpellCheck& speller_;
  std::u16string& text_;
  const std::array<std::uint8_t, 4> answers_;
  std::size_t events_ = 0;
  Boolean last_cancel_ = kFalse;
};

// The object of every run, with the built-in list loaded once.
SpellCheck& Speller() {
  static SpellCheck speller;
  static const bool loaded = [] {
    speller.Init();
    for (const char16_t* word :
         {u"Quenvar", u"na\u00EFve-ish", u"\xDC00q", u"\u00DF\u00DF", u"x",
          u"O'Neill's"}) {
      speller.AddToCustom(word);
    }
    return true;
  }();
  Require(loaded);
  return speller;
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace quenvar;
  SpellCheck& speller = Speller();
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t flags = input.Byte();
  const std::array<std::uint8_t, 4> answers = {input.Byte(), input.Byte(),
                                               input.Byte(), input.Byte()};
  std::u16string text = input.RestUtf16();
  const Boolean check_custom = (flags & 1) != 0 ? kTrue : kFalse;

  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t space = std::min(text.find(u' ', start), text.size());
    const std::u16string_view piece =
        std::u16string_view(text).substr(start, space - start);
    Require((speller.CheckWord(std::u16string(piece), check_custom) == kTrue) ==
            testing::LiteralCheckWord(piece, check_custom != kFalse));
    start = space + 1;
  }
  Require((speller.CheckWord(text, check_custom) == kTrue) ==
          testing::LiteralCheckWord(text, check_custom != kFalse));
  const WordArray suggestions = speller.GetSuggestions(text, check_custom);
  Require(!suggestions.has_value() || !suggestions->empty());
  const WordArray ranked = speller.GetRankedSuggestions(text, 10, check_custom);
  Require(!ranked.has_value() || (!ranked->empty() && ranked->size() <= 10));

  ScriptedSink sink(speller, text, answers);
  const std::uint32_t cookie = speller.Advise(sink);
  speller.CheckText(text, kFalse);
  speller.Unadvise(cookie);
  return 0;
}
