#include "suggest/custom_candidates.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

#include "base/ascii.h"
#include "base/text.h"
#include "suggest/edit_pattern.h"
#include "suggest/error_model.h"
#include "suggest/letters.h"
#include "suggest/sound_key.h"

namespace quenvar {

std::string RankingForm(std::u16string_view word) { return ToSingleByte(ToLower(word)); }

namespace {

// A summary of a ranking form, in bits:
//  0-43: two bits a kind of byte, set when the form has at least one, and
//        at least two, of that kind;
// 44-49: the form's length (at most kMaxRankedLength);
// 50-63: a tag of its sound-alike key's hash, 0 for an empty key.
// The kinds are the vowels (y among them), each consonant, and the bytes
// that are no letter; accents are dropped. A byte written for another of
// its kind (a vowel for a vowel, an accent for another) costs kCheap, any
// other slip kCheap or more: a slip changes one kind's count by one, or
// two kinds' by one for kEdit, so that no more bits of the counts differ
// than a form costs. Swapped and moved letters change no count.
constexpr int kCountBits = 44;
constexpr int kLengthShift = 44;
constexpr int kTagShift = 50;
constexpr std::uint64_t kCountMask = (std::uint64_t{1} << kCountBits) - 1;
constexpr std::uint64_t kTagMask = (std::uint64_t{1} << (64 - kTagShift)) - 1;

constexpr std::array<std::uint8_t, 256> kKinds = [] {
  std::array<std::uint8_t, 256> kinds{};
  std::uint8_t next = 2;  // 0: no letter, 1: a vowel
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const bool vowel = letter == 'a' || letter == 'e' || letter == 'i' || letter == 'o' ||
                       letter == 'u' || letter == 'y';
    const std::uint8_t kind = vowel ? 1 : next++;
    for (std::size_t b = 0; b < 256; ++b) {
      if (kBaseLetters[b] == letter) kinds[b] = kind;
    }
  }
  return kinds;
}();
static_assert(2 * 22 == kCountBits);

std::uint64_t SoundTag(std::string_view form) {
  const SoundKey key = KeyOf(form);
  if (key.size == 0) return 0;
  std::uint64_t hash = 0;  // a key has at most 12 symbols: a multiplicative hash will do
  for (const char symbol : key.view()) {
    hash = (hash + static_cast<unsigned char>(symbol)) * 0x9E3779B97F4A7C15u;
  }
  return (hash >> 32) % kTagMask + 1;
}

std::uint64_t Summary(std::string_view form) {
  std::array<std::uint8_t, 22> counts{};
  for (const char c : form) ++counts[kKinds[static_cast<unsigned char>(c)]];
  std::uint64_t summary = 0;
  for (std::size_t kind = 0; kind < counts.size(); ++kind) {
    summary |= std::uint64_t{counts[kind] >= 1} << (2 * kind);
    summary |= std::uint64_t{counts[kind] >= 2} << (2 * kind + 1);
  }
  return summary | std::uint64_t{form.size()} << kLengthShift | SoundTag(form) << kTagShift;
}

// Whether a form of summary b may be within kNearCost of one of summary a
// by the counts and the lengths (every added or missing byte costs kCheap
// at least).
[[gnu::always_inline]] inline bool NearByCounts(std::uint64_t a, std::uint64_t b) {
  if (std::popcount((a ^ b) & kCountMask) > kNearCost) return false;
  const auto length_a = static_cast<int>(a >> kLengthShift & 63);
  const auto length_b = static_cast<int>(b >> kLengthShift & 63);
  return std::abs(length_a - length_b) <= kNearCost / kCheap;
}

// The indices of the summaries that share summary's sound tag (when it has
// one) or are NearByCounts to it, ascending.
[[gnu::always_inline]] inline std::vector<std::uint32_t> ScanSummaries(
    const std::vector<std::uint64_t>& summaries, std::uint64_t summary) {
  const std::uint64_t tag = summary >> kTagShift;
  std::vector<std::uint32_t> near;
  for (std::size_t k = 0; k < summaries.size(); ++k) {
    const std::uint64_t other = summaries[k];
    if ((tag != 0 && tag == other >> kTagShift) || NearByCounts(summary, other)) {
      near.push_back(static_cast<std::uint32_t>(k));
    }
  }
  return near;
}

#if defined(__x86_64__)
// The scan built again for the processors that count bits in one
// instruction, chosen at the call: a resolver run while the program is
// loaded (target_clones) runs before ThreadSanitizer is ready.
[[gnu::target("popcnt")]] std::vector<std::uint32_t> ScanSummariesCountingBits(
    const std::vector<std::uint64_t>& summaries, std::uint64_t summary) {
  return ScanSummaries(summaries, summary);
}
#endif

std::vector<std::uint32_t> NearSummaries(const std::vector<std::uint64_t>& summaries,
                                         std::uint64_t summary) {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("popcnt")) return ScanSummariesCountingBits(summaries, summary);
#endif
  return ScanSummaries(summaries, summary);
}

// The ranking form of the narrow word at offset at of list into form: byte
// by byte where ToLower maps plainly (ASCII without I), else through it.
void NarrowForm(const CustomWordList& list, std::size_t at, std::string& form) {
  const std::string_view rest = list.BytesFrom(at);
  const std::string_view bytes = rest.substr(0, rest.find('\n'));
  const bool plain = std::all_of(bytes.begin(), bytes.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != 'I';
  });
  if (!plain) {
    form = RankingForm(FromSingleByte(bytes));
    return;
  }
  form.resize(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    form[i] = static_cast<char>(AsciiLower(static_cast<unsigned char>(bytes[i])));
  }
}

}  // namespace

void CustomCandidates::Follow(const CustomWordList& list) {
  if (!followed_ || list.loads() != loads_) {
    followed_ = true;
    loads_ = list.loads();
    covered_ = {};
    summaries_.clear();
    summaries_.shrink_to_fit();
    offsets_.clear();
    offsets_.shrink_to_fit();
    wide_.clear();
  }
  std::u16string lowered;
  std::string form;
  list.ForEachWordFrom(covered_, [&](CustomWordList::Position p, std::u16string_view word) {
    ToLower(word, lowered);
    ToSingleByte(lowered, form);
    // OutsiderScorer gives no score to an empty or overlong form.
    if (form.empty() || form.size() > kMaxRankedLength) return;
    if (!list.IsNarrowAt(p.at)) {
      wide_.push_back(p);
      return;
    }
    summaries_.push_back(Summary(form));
    offsets_.push_back(static_cast<std::uint32_t>(p.at));
  });
  covered_ = list.end();
}

std::vector<CustomWordList::Position> CustomCandidates::Find(const CustomWordList& list,
                                                             std::string_view word) {
  Follow(list);
  std::vector<CustomWordList::Position> found;
  if (word.empty() || word.size() > kMaxRankedLength) return found;
  const std::uint64_t summary = Summary(word);
  const std::uint64_t tag = summary >> kTagShift;
  const EditPattern pattern(word);
  std::string form;
  const std::vector<std::uint32_t> near = NearSummaries(summaries_, summary);
  // The words lie all over the list's buffer: each is fetched a few words
  // ahead, so that the fetches overlap.
  constexpr std::size_t kAhead = 8;
  for (std::size_t n = 0; n < near.size(); ++n) {
    if (n + kAhead < near.size()) {
      __builtin_prefetch(list.BytesFrom(offsets_[near[n + kAhead]]).data());
    }
    const std::uint32_t k = near[n];
    if (tag == 0 || tag != summaries_[k] >> kTagShift) {
      NarrowForm(list, offsets_[k], form);
      // The edit distance bounds the cost from below and is much quicker
      // to find.
      if (pattern.EditDistance(form) * kCheap > kNearCost ||
          pattern.NearCost(form, kNearCost) == EditPattern::kInfinity) {
        continue;
      }
    }
    found.push_back({offsets_[k], 0});  // narrow: no count of wide words
  }
  if (!wide_.empty()) {
    found.insert(found.end(), wide_.begin(), wide_.end());
    std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return x.at < y.at; });
  }
  return found;
}

}  // namespace quenvar
