#include "suggest/custom_candidates.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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
constexpr std::uint64_t kLengthBits = 63;
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

// The length of the form of summary.
inline std::size_t LengthOf(std::uint64_t summary) {
  return static_cast<std::size_t>(summary >> kLengthShift & kLengthBits);
}

// Whether a form of summary b may be within kNearCost of one of summary a
// by the counts and the lengths (every added or missing byte costs kCheap
// at least), or shares a's sound tag, tag (when a has one).
[[gnu::always_inline]] inline bool IsNear(std::uint64_t a, std::uint64_t tag, std::uint64_t b) {
  if (tag != 0 && tag == b >> kTagShift) return true;
  if (std::popcount((a ^ b) & kCountMask) > kNearCost) return false;
  const std::size_t length_a = LengthOf(a), length_b = LengthOf(b);
  return std::max(length_a, length_b) - std::min(length_a, length_b) <= kNearCost / kCheap;
}

// The indices from first on of the summaries IsNear summary, ascending,
// appended to near.
[[gnu::always_inline]] inline void ScanSummaries(const std::vector<std::uint64_t>& summaries,
                                                 std::size_t first, std::uint64_t summary,
                                                 std::vector<std::uint32_t>& near) {
  const std::uint64_t tag = summary >> kTagShift;
  for (std::size_t k = first; k < summaries.size(); ++k) {
    if (IsNear(summary, tag, summaries[k])) near.push_back(static_cast<std::uint32_t>(k));
  }
}

#if defined(__x86_64__)
// For each set of four summaries' passes (a bit each), the numbers of those
// that passed, in order, packed at the front.
constexpr std::array<std::array<std::uint32_t, 4>, 16> kPassedLanes = [] {
  std::array<std::array<std::uint32_t, 4>, 16> lanes{};
  for (std::uint32_t passed = 0; passed < 16; ++passed) {
    std::size_t n = 0;
    for (std::uint32_t lane = 0; lane < 4; ++lane) {
      if (passed >> lane & 1) lanes[passed][n++] = lane;
    }
  }
  return lanes;
}();

// ScanSummaries four summaries at a time, for the processors with AVX2:
// the differing bits are counted by nibbles through a table, and the
// indices that pass are packed without a branch (a branch a summary is
// mispredicted for most that pass).
[[gnu::target("avx2,popcnt")]] void ScanSummariesFourAtATime(
    const std::vector<std::uint64_t>& summaries, std::uint64_t summary,
    std::vector<std::uint32_t>& near) {
  const std::uint64_t tag = summary >> kTagShift;
  const __m256i mine = _mm256_set1_epi64x(static_cast<long long>(summary));
  const __m256i counts = _mm256_set1_epi64x(static_cast<long long>(kCountMask));
  const __m256i nibble = _mm256_set1_epi8(0x0f);
  const __m256i bits_of_nibble = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4,
                                                  0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
  const __m256i above_bits = _mm256_set1_epi64x(kNearCost + 1);
  const __m256i length_bits = _mm256_set1_epi64x(static_cast<long long>(kLengthBits));
  const __m256i my_length =
      _mm256_set1_epi64x(static_cast<long long>(LengthOf(summary)));
  const __m256i above_gap = _mm256_set1_epi64x(kNearCost / kCheap + 1);
  const __m256i below_gap = _mm256_set1_epi64x(-(kNearCost / kCheap + 1));
  // No summary's tag is all ones: without a tag of its own, the word
  // shares none.
  const __m256i my_tag = _mm256_set1_epi64x(tag == 0 ? -1 : static_cast<long long>(tag));
  // The passes of a block of summaries are packed here, then appended.
  constexpr std::size_t kBlock = 256;
  std::array<std::uint32_t, kBlock + 4> passes;
  const std::size_t whole = summaries.size() / 4 * 4;
  for (std::size_t first = 0; first < whole; first += kBlock) {
    std::size_t n = 0;
    for (std::size_t k = first; k < std::min(whole, first + kBlock); k += 4) {
      const __m256i other = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&summaries[k]));
      const __m256i differ = _mm256_and_si256(_mm256_xor_si256(mine, other), counts);
      const __m256i low = _mm256_shuffle_epi8(bits_of_nibble, _mm256_and_si256(differ, nibble));
      const __m256i high = _mm256_shuffle_epi8(
          bits_of_nibble, _mm256_and_si256(_mm256_srli_epi64(differ, 4), nibble));
      const __m256i bits = _mm256_sad_epu8(_mm256_add_epi8(low, high), _mm256_setzero_si256());
      const __m256i gap = _mm256_sub_epi64(
          _mm256_and_si256(_mm256_srli_epi64(other, kLengthShift), length_bits), my_length);
      const __m256i near_by_counts =
          _mm256_and_si256(_mm256_cmpgt_epi64(above_bits, bits),
                           _mm256_and_si256(_mm256_cmpgt_epi64(above_gap, gap),
                                            _mm256_cmpgt_epi64(gap, below_gap)));
      const __m256i same_tag = _mm256_cmpeq_epi64(_mm256_srli_epi64(other, kTagShift), my_tag);
      const auto passed = static_cast<unsigned>(
          _mm256_movemask_pd(_mm256_castsi256_pd(_mm256_or_si256(near_by_counts, same_tag))));
      const __m128i lanes =
          _mm_loadu_si128(reinterpret_cast<const __m128i*>(kPassedLanes[passed].data()));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(&passes[n]),
                       _mm_add_epi32(lanes, _mm_set1_epi32(static_cast<int>(k))));
      n += static_cast<std::size_t>(std::popcount(passed));
    }
    near.insert(near.end(), passes.begin(), passes.begin() + static_cast<std::ptrdiff_t>(n));
  }
  ScanSummaries(summaries, whole, summary, near);
}

// ScanSummaries eight summaries at a time, for the processors with
// AVX-512's bit count, which also pack the passes.
[[gnu::target("avx512f,avx512vl,avx512vpopcntdq,popcnt")]] void ScanSummariesEightAtATime(
    const std::vector<std::uint64_t>& summaries, std::uint64_t summary,
    std::vector<std::uint32_t>& near) {
  const std::uint64_t tag = summary >> kTagShift;
  const __m512i mine = _mm512_set1_epi64(static_cast<long long>(summary));
  const __m512i counts = _mm512_set1_epi64(static_cast<long long>(kCountMask));
  const __m512i above_bits = _mm512_set1_epi64(kNearCost + 1);
  const __m512i length_bits = _mm512_set1_epi64(static_cast<long long>(kLengthBits));
  // The gap, offset to count from 0, is within reach below twice the reach
  // plus one.
  constexpr long long kReach = kNearCost / kCheap;
  const __m512i my_length =
      _mm512_set1_epi64(static_cast<long long>(LengthOf(summary)) + kReach);
  const __m512i above_gap = _mm512_set1_epi64(2 * kReach + 1);
  const __m512i my_tag = _mm512_set1_epi64(tag == 0 ? -1 : static_cast<long long>(tag));
  const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  // Shifts in every lane (the unmasked ones leave GCC 12 warning of its
  // own header).
  constexpr __mmask8 kAll = 0xFF;
  constexpr std::size_t kBlock = 256;
  std::array<std::uint32_t, kBlock + 8> passes;
  const std::size_t whole = summaries.size() / 8 * 8;
  for (std::size_t first = 0; first < whole; first += kBlock) {
    std::size_t n = 0;
    for (std::size_t k = first; k < std::min(whole, first + kBlock); k += 8) {
      const __m512i other = _mm512_loadu_si512(&summaries[k]);
      const __m512i bits =
          _mm512_popcnt_epi64(_mm512_and_si512(_mm512_xor_si512(mine, other), counts));
      const __m512i gap = _mm512_sub_epi64(
          my_length, _mm512_and_si512(_mm512_maskz_srli_epi64(kAll, other, kLengthShift),
                                      length_bits));
      const __mmask8 passed =
          (_mm512_cmplt_epu64_mask(bits, above_bits) & _mm512_cmplt_epu64_mask(gap, above_gap)) |
          _mm512_cmpeq_epi64_mask(_mm512_maskz_srli_epi64(kAll, other, kTagShift), my_tag);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(&passes[n]),
                          _mm256_maskz_compress_epi32(
                              passed, _mm256_add_epi32(lanes, _mm256_set1_epi32(static_cast<int>(k)))));
      n += static_cast<std::size_t>(std::popcount(static_cast<unsigned>(passed)));
    }
    near.insert(near.end(), passes.begin(), passes.begin() + static_cast<std::ptrdiff_t>(n));
  }
  ScanSummaries(summaries, whole, summary, near);
}
#endif

// Each byte lower-cased where ASCII but I lowers so in every locale, and
// kNotPlain for the bytes that do not (and for the end of an entry).
constexpr unsigned char kNotPlain = 0xFF;
constexpr std::array<unsigned char, 256> kPlainLower = [] {
  std::array<unsigned char, 256> lower{};
  for (std::size_t b = 0; b < lower.size(); ++b) {
    const bool plain = b < 0x80 && b != 'I' && b != '\n';
    lower[b] = plain ? AsciiLower(static_cast<unsigned char>(b)) : kNotPlain;
  }
  return lower;
}();

// The ranking form of the narrow word at offset at of list, whose form is
// length bytes long, written to form: byte by byte where kPlainLower lowers
// every byte, else through RankingForm.
std::string_view NarrowForm(const CustomWordList& list, std::size_t at, std::size_t length,
                            std::array<char, kMaxRankedLength>& form) {
  const std::string_view rest = list.BytesFrom(at);
  length = std::min(length, rest.size());
  bool plain = true;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char lower = kPlainLower[static_cast<unsigned char>(rest[i])];
    plain &= lower != kNotPlain;
    form[i] = static_cast<char>(lower);
  }
  // A plain form is followed by the entry's end: the list ends with one.
  if (plain && rest[length] == '\n') return std::string_view(form.data(), length);
  // The form Follow summarized: no longer than kMaxRankedLength.
  const std::string ranking = RankingForm(FromSingleByte(rest.substr(0, rest.find('\n'))));
  return std::string_view(form.data(), ranking.copy(form.data(), form.size()));
}

}  // namespace

// Asked of the processor at the call: a resolver run while the program is
// loaded (target_clones) runs before ThreadSanitizer is ready.
ScanWidth WidestScan() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("avx512vl")) {
    return ScanWidth::kEight;
  }
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return ScanWidth::kFour;
#endif
  return ScanWidth::kOne;
}

std::vector<std::uint32_t> NearSummaries(const std::vector<std::uint64_t>& summaries,
                                         std::uint64_t summary, ScanWidth width) {
  std::vector<std::uint32_t> near;
  switch (width) {
#if defined(__x86_64__)
    case ScanWidth::kEight:
      ScanSummariesEightAtATime(summaries, summary, near);
      break;
    case ScanWidth::kFour:
      ScanSummariesFourAtATime(summaries, summary, near);
      break;
#endif
    default:
      ScanSummaries(summaries, 0, summary, near);
  }
  return near;
}

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
  // With no narrow word there is nothing to summarize the word against;
  // the wide words are in list order.
  if (summaries_.empty()) return wide_;
  const std::uint64_t summary = Summary(word);
  const std::uint64_t tag = summary >> kTagShift;
  const EditPattern pattern(word);
  // The edit distance bounds the cost from below and is much quicker to
  // find: it is worked out for a few words at a time, whose forms wait here.
  std::array<std::array<char, kMaxRankedLength>, EditPattern::kSideBySide> forms;
  std::array<std::string_view, EditPattern::kSideBySide> waiting;
  std::array<std::uint32_t, EditPattern::kSideBySide> waiting_offsets;
  std::size_t waits = 0;
  const auto settle = [&] {
    const auto distances = pattern.EditDistances(waiting);
    for (std::size_t w = 0; w < waits; ++w) {
      if (distances[w] * kCheap <= kNearCost &&
          pattern.NearCost(waiting[w], kNearCost) != EditPattern::kInfinity) {
        found.push_back({waiting_offsets[w], 0});  // narrow: no count of wide words
      }
    }
    waiting = {};
    waits = 0;
  };
  const std::vector<std::uint32_t> near = NearSummaries(summaries_, summary, WidestScan());
  // The words lie all over the list's buffer: each is fetched a few words
  // ahead, so that the fetches overlap.
  constexpr std::size_t kAhead = 8;
  for (std::size_t n = 0; n < near.size(); ++n) {
    if (n + kAhead < near.size()) {
      __builtin_prefetch(list.BytesFrom(offsets_[near[n + kAhead]]).data());
    }
    const std::uint32_t k = near[n];
    if (tag != 0 && tag == summaries_[k] >> kTagShift) {
      found.push_back({offsets_[k], 0});
      continue;
    }
    waiting[waits] = NarrowForm(list, offsets_[k], LengthOf(summaries_[k]), forms[waits]);
    waiting_offsets[waits] = offsets_[k];
    if (++waits == waiting.size()) settle();
  }
  settle();
  found.insert(found.end(), wide_.begin(), wide_.end());
  std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) { return x.at < y.at; });
  return found;
}

}  // namespace quenvar
