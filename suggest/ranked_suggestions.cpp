#include "suggest/ranked_suggestions.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/byte_coding.h"
#include "base/text.h"
#include "base/word_array.h"
#include "dictionary/check_word.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/custom_candidates.h"
#include "resources/resource_table.h"
#include "resources/word_details_format.h"

namespace quenvar {
namespace {

// The custom words rank as words of SCOWL's size 35: the user added them
// because they use them.
constexpr std::uint8_t kCustomSizeCode = 2;

// Longer input cannot be within reach of any entry; it is turned down
// before it is converted.
constexpr std::size_t kMaxInputLength = 4 * RankedSuggester::kMaxWordLength;

// Capitals put on a form: those of the built-in list's details (the same
// values as WrittenCase's first three) and those the typed word carries over
// to its corrections.
enum class Capitals : std::uint8_t {
  kAsWritten = static_cast<std::uint8_t>(WrittenCase::kLower),
  kCapitalFirst = static_cast<std::uint8_t>(WrittenCase::kCapitalFirst),
  kAllCapitals = static_cast<std::uint8_t>(WrittenCase::kAllCapitals),
};

// The capitals of the typed word, given its lower-cased form.
Capitals CapitalsOf(std::u16string_view typed, std::u16string_view lower) {
  if (typed.empty() || typed == lower) return Capitals::kAsWritten;
  if (typed.size() >= 2 && ToUpper(typed) == typed) return Capitals::kAllCapitals;
  return typed[0] != lower[0] ? Capitals::kCapitalFirst : Capitals::kAsWritten;
}

std::u16string Capitalize(Capitals capitals, std::u16string form) {
  switch (capitals) {
    case Capitals::kAsWritten:
      return form;
    case Capitals::kCapitalFirst:
      if (form.empty()) return form;
      return ToUpper(std::u16string_view(form).substr(0, 1)) + form.substr(1);
    case Capitals::kAllCapitals:
      return ToUpper(form);
  }
  return form;
}

// Entry index as the built-in list's details write it. A form of its own
// is used only when it is the entry with capitals, so a list other than the
// built-in one never gets another word's form.
std::u16string WrittenForm(std::span<const std::uint8_t> details,
                           std::int32_t index, std::string_view entry) {
  const auto i = static_cast<std::size_t>(index);
  std::u16string form = FromSingleByte(entry);
  if (i >= static_cast<std::size_t>(kDicCapacity) || i >= details.size()) return form;
  const auto written = static_cast<WrittenCase>(details[i] >> kWrittenCaseShift & 3);
  if (written != WrittenCase::kOwnForm) {
    return Capitalize(static_cast<Capitals>(written), std::move(form));
  }
  // Records of index, bytes, zero byte.
  std::span<const std::uint8_t> records =
      SplitDetailsTail(details, static_cast<std::size_t>(kDicCapacity)).records;
  while (records.size() > kLengthPrefixSize) {
    const std::uint32_t record_index = DecodeLengthPrefix(records);
    records = records.subspan(kLengthPrefixSize);
    const auto end = std::find(records.begin(), records.end(), 0);
    const std::string_view own(reinterpret_cast<const char*>(records.data()),
                               static_cast<std::size_t>(end - records.begin()));
    records = records.subspan(std::min(own.size() + 1, records.size()));
    if (record_index == i) {
      std::u16string own_form = FromSingleByte(own);
      return ToLower(own_form) == form ? own_form : form;
    }
  }
  return form;
}

const RankedSuggester& ThreadSuggester(std::span<const std::uint8_t> details) {
  RankedState& state = ThreadRankedState();
  const MainWordList& list = ThreadDicWords();
  if (!state.suggester || state.list_loads != list.loads()) {
    state.suggester.reset();
    state.suggester = std::make_unique<RankedSuggester>(
        list, details.first(std::min<std::size_t>(kDicCapacity, details.size())));
    state.list_loads = list.loads();
  }
  return *state.suggester;
}

// Puts a spelling's own forms of a typed word it does not hold above every
// other candidate, keeping their order: scores lie far below it.
constexpr double kOwnFormBonus = 1000.0;

// The suggester's likeliest entries for bytes that spelling holds, best
// first: for kEnglish at most count, for another spelling at least count
// when the suggester has as many.
std::vector<RankedEntry> SuggestIn(const RankedSuggester& suggester, const MainWordList& list,
                                   Spelling spelling, std::string_view bytes,
                                   std::size_t count) {
  if (spelling == Spelling::kEnglish) return suggester.Suggest(bytes, count);
  std::vector<RankedEntry> kept;
  // The entries of other spellings are passed over, so more are asked for
  // until enough are left or the suggester has no more.
  for (std::size_t asked = 2 * count;; asked *= 2) {
    const std::vector<RankedEntry> ranked = suggester.Suggest(bytes, asked);
    kept.clear();
    for (const RankedEntry& r : ranked) {
      if (SpellingHolds(spelling, r.entry)) kept.push_back(r);
    }
    if (kept.size() >= count || ranked.size() < asked) break;
  }
  const std::int32_t typed = bytes.size() >= 2 ? list.BucketFind(bytes) : -1;
  if (typed >= 0 && !SpellingHolds(spelling, typed)) {
    for (RankedEntry& r : kept) {
      if (EntrySpellings(r.entry) != kEverySpelling) r.score += kOwnFormBonus;
    }
  }
  return kept;
}

struct Scored {
  double score;
  std::u16string form;
};

}  // namespace

WordArray GetRankedSuggestions(std::u16string_view sWord, Spelling spelling,
                               std::int32_t max_count, bool bCheckCustom) {
  if (max_count < 1 || sWord.empty() || sWord.size() > kMaxInputLength) {
    return std::nullopt;
  }
  std::u16string typed(sWord);
  // The typographic apostrophe stands for the list's.
  std::replace(typed.begin(), typed.end(), u'\u2019', u'\'');
  const std::u16string lower = ToLower(typed);
  const std::string bytes = ToSingleByte(lower);
  const auto count = static_cast<std::size_t>(max_count);

  const std::span<const std::uint8_t> details = FindResource("DIC", 102);
  const RankedSuggester& suggester = ThreadSuggester(details);
  const MainWordList& list = ThreadDicWords();
  std::vector<Scored> scored;
  for (const RankedEntry& r : SuggestIn(suggester, list, spelling, bytes, count)) {
    const std::string_view entry = list.Entry(r.entry);
    scored.push_back({r.score, WrittenForm(details, r.entry, entry)});
    // The list holds no possessives (the check takes 's off before it looks
    // a word up), so one written without its apostrophe (todays) gets it
    // from its entry, and goes just after it.
    if (bytes.size() == entry.size() + 1 && bytes.starts_with(entry) && bytes.back() == 's') {
      scored.push_back({r.score, scored.back().form + u"'s"});
    }
  }
  if (bCheckCustom) {
    // Only the words the index finds within reach can score; they are
    // scored in list order, as a scan of every word would.
    const CustomWordList& custom = ThreadCustomWords();
    const std::vector<CustomWordList::Position> near =
        ThreadRankedState().custom.Find(custom, bytes);
    if (!near.empty()) {
      const OutsiderScorer outsiders = suggester.ScoreOutsiders(bytes);
      for (const CustomWordList::Position at : near) {
        std::u16string word = custom.WordAt(at);
        const std::optional<double> score = outsiders.Score(RankingForm(word), kCustomSizeCode);
        if (score) scored.push_back({*score, std::move(word)});
      }
    }
  }
  // Main-list words come first among equals, then custom words in list order.
  std::stable_sort(scored.begin(), scored.end(),
                   [](const Scored& a, const Scored& b) { return a.score > b.score; });

  const Capitals typed_capitals = CapitalsOf(typed, lower);
  WordArray result;
  for (Scored& s : scored) {
    if (result && result->size() == count) break;
    std::u16string form = Capitalize(typed_capitals, std::move(s.form));
    if (form == typed || (result && std::find(result->begin(), result->end(), form) !=
                                        result->end())) {
      continue;
    }
    if (!result) result.emplace();
    result->push_back(std::move(form));
  }
  return result;
}

}  // namespace quenvar
