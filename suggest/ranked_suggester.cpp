#include "suggest/ranked_suggester.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/word_details_format.h"
#include "suggest/irregular_verbs.h"
#include "suggest/similarity.h"

namespace quenvar {
namespace {

using Byte = unsigned char;

// The size code of a word the details say nothing of.
constexpr std::uint8_t kUnknownSizeCode = 7;

// The base letter of a Windows-1252 byte: a to z for the ASCII letters of
// either case and the accented letters (e for é, s for ß), 0 for the rest.
constexpr std::array<char, 256> kBaseLetters = [] {
  std::array<char, 256> base{};
  for (int c = 'a'; c <= 'z'; ++c) {
    base[static_cast<std::size_t>(c)] = static_cast<char>(c);
    base[static_cast<std::size_t>(c - 'a' + 'A')] = static_cast<char>(c);
  }
  const auto set = [&base](int first, int last, char letter) {
    for (int c = first; c <= last; ++c) {
      base[static_cast<std::size_t>(c)] = letter;
      base[static_cast<std::size_t>(c + 0x20)] = letter;  // lower case
    }
  };
  set(0xC0, 0xC6, 'a');
  set(0xC7, 0xC7, 'c');
  set(0xC8, 0xCB, 'e');
  set(0xCC, 0xCF, 'i');
  set(0xD0, 0xD0, 'd');
  set(0xD1, 0xD1, 'n');
  set(0xD2, 0xD6, 'o');
  set(0xD8, 0xD8, 'o');
  set(0xD9, 0xDC, 'u');
  set(0xDD, 0xDD, 'y');
  set(0xDE, 0xDE, 't');
  base[0xDF] = 's';
  base[0xFF] = 'y';
  base[0x8A] = base[0x9A] = 's';
  base[0x8C] = base[0x9C] = 'o';
  base[0x8E] = base[0x9E] = 'z';
  base[0x9F] = 'y';
  return base;
}();

char BaseLetter(char c) { return kBaseLetters[static_cast<Byte>(c)]; }

// 1 to 26 for a byte whose base letter is a to z, 0 for the rest.
constexpr std::array<Byte, 256> kBaseIndex = [] {
  std::array<Byte, 256> index{};
  for (std::size_t b = 0; b < 256; ++b) {
    if (kBaseLetters[b] != 0) {
      index[b] = static_cast<Byte>(kBaseLetters[b] - 'a' + 1);
    }
  }
  return index;
}();

bool IsVowel(char base) {
  return base == 'a' || base == 'e' || base == 'i' || base == 'o' ||
         base == 'u' || base == 'y';
}

// --- The sorted list's tables ---------------------------------------------

// Shared lengths are capped below 128 so that eight of them can be tested
// against a depth at once (BytesBelow).
constexpr std::size_t kSharedCap = 127;
// Marks in the shared lengths an entry equal to the one before.
constexpr std::uint8_t kDuplicate = 0x80;
// The class of an entry's second byte by which pair_starts_ groups the
// entries of each first letter a to z: 0 below a (or no second byte), 1 to
// 26 for a to z, 27 above z, so in byte order.
constexpr std::size_t kSecondClasses = 28;
constexpr std::size_t SecondClass(Byte b) {
  return b < 'a' ? 0 : b <= 'z' ? static_cast<std::size_t>(b - 'a' + 1)
                                : kSecondClasses - 1;
}
// No byte before: the start of an entry.
constexpr int kNoByte = -1;

// --- The error model -------------------------------------------------------
// Costs are in units of half an edit. Mistakes people make most often cost
// one unit: a vowel for another vowel, a letter for its accented form, a
// doubled letter written once or a single one doubled, two neighbours
// swapped, a missing apostrophe or hyphen. Everything else costs two.

constexpr int kEdit = 2;
constexpr int kCheap = 1;
constexpr int kSwap = 1;
// A letter moved over two others: one edit. Only the ranking's costs know
// it (WeightedCost); the walk, which finds such words at two edits, does not.
constexpr int kMoved = 2;
// The most a candidate may cost: one starting with the word's first or
// second letter, and one starting with another.
constexpr int kNearCost = 2 * kEdit;
constexpr int kFarCost = kEdit;
// The most a candidate starting with the word's second letter may cost:
// the swap or the extra letter, and one more slip.
constexpr int kSecondCost = kEdit + kCheap;
// The most the first kEarlyDepth bytes of a candidate may cost, and the
// first kMiddleDepth: people seldom make two mistakes in a word's first
// letters.
constexpr std::size_t kEarlyDepth = 4;
constexpr int kEarlyCost = kEdit;
constexpr std::size_t kMiddleDepth = 5;
constexpr int kMiddleCost = kEdit + kCheap;
// The most the first kFirstDepth bytes of a candidate starting with another
// vowel than the word may cost: that vowel, a cheap slip, leaves room for no
// other mistake in the first two letters.
constexpr std::size_t kFirstDepth = 2;
constexpr int kOtherVowelFirstCost = kCheap;
// The most a sound-alike candidate may cost.
constexpr int kSoundCost = 6 * kEdit;
// Room for the candidates of most words (about 90 on average).
constexpr std::size_t kUsualCandidates = 256;
// The cost of a sound-alike candidate not yet worked out.
constexpr std::int32_t kUnknownCost = -1;

// Cost of the word's byte at i (the entry lacks it): a letter doubled, a
// punctuation mark, or a silent e written at the end (nite) cost less.
int ExtraCost(std::string_view word, std::size_t i) {
  if (i > 0 && word[i] == word[i - 1]) return kCheap;
  if (BaseLetter(word[i]) == 0) return kCheap;
  if (word[i] == 'e' && i + 1 == word.size() && i >= 2) return kCheap;
  return kEdit;
}

using Cost = int;
constexpr std::size_t kMax = RankedSuggester::kMaxWordLength;
constexpr Cost kInfinity = 1000;

// --- Sound-alike keys ------------------------------------------------------
// A key in the manner of Metaphone: letters that sound alike map to one
// symbol, vowels count only at the start, silent letters drop, and a symbol
// is not repeated. At most kMaxKey symbols are kept.

constexpr std::size_t kMaxKey = 12;

struct SoundKey {
  std::array<char, kMaxKey> symbols{};
  std::uint8_t size = 0;
  std::string_view view() const { return {symbols.data(), size}; }
  void Push(char s) {
    if (size < kMaxKey && (size == 0 || symbols[size - 1u] != s)) {
      symbols[size++] = s;
    }
  }
};

SoundKey KeyOf(std::string_view bytes) {
  // The base letters of the word, other bytes dropped.
  std::array<char, kMax + 3> s{};
  std::size_t n = 0;
  for (const char c : bytes) {
    const char b = BaseLetter(c);
    if (b != 0 && n < kMax) s[n++] = b;
  }
  const auto at = [&](std::size_t i) { return i < n ? s[i] : '\0'; };
  const auto vowel_at = [&](std::size_t i) { return i < n && IsVowel(s[i]); };
  SoundKey key;
  std::size_t i = 0;
  if (n >= 2) {
    const char a = s[0], b = s[1];
    if ((a == 'k' && b == 'n') || (a == 'g' && b == 'n') ||
        (a == 'p' && b == 'n') || (a == 'w' && b == 'r') ||
        (a == 'p' && b == 's')) {
      i = 1;
    } else if (a == 'w' && b == 'h') {
      key.Push('w');
      i = 2;
    }
  }
  if (i == 0 && n > 0 && s[0] == 'x') {
    key.Push('s');
    i = 1;
  }
  if (i == 0 && vowel_at(0) && s[0] != 'y') {
    key.Push('A');
    i = 1;
  }
  for (; i < n; ++i) {
    const char c = s[i];
    if (i > 0 && c == s[i - 1] && c != 'c') continue;
    const char next = at(i + 1);
    const bool soft = next == 'e' || next == 'i' || next == 'y';
    switch (c) {
      case 'a': case 'e': case 'i': case 'o': case 'u':
        break;
      case 'b':
        if (!(i + 1 == n && i > 0 && s[i - 1] == 'm')) key.Push('p');
        break;
      case 'c':
        if (next == 'h') {
          key.Push(i > 0 && s[i - 1] == 's' ? 'k' : 'x');
          ++i;
        } else if (next == 'i' && at(i + 2) == 'a') {
          key.Push('x');
        } else if (soft) {
          key.Push('s');
        } else {
          key.Push('k');
        }
        break;
      case 'd':
        key.Push(next == 'g' && (at(i + 2) == 'e' || at(i + 2) == 'i' ||
                                 at(i + 2) == 'y') ? 'j' : 't');
        break;
      case 'g':
        if (next == 'h') {
          if (i == 0) key.Push('k');
          ++i;
        } else if (next == 'n' && (i + 2 == n || (at(i + 2) == 'e' &&
                                                  at(i + 3) == 'd'))) {
          // gn at the end is an n (sign, signed).
        } else if (i > 0 && s[i - 1] == 'd' && soft) {
          // dge: the d made the sound.
        } else {
          key.Push(soft ? 'j' : 'k');
        }
        break;
      case 'h':
        if (vowel_at(i + 1) && (i == 0 || vowel_at(i - 1))) key.Push('h');
        break;
      case 'k':
        if (!(i > 0 && s[i - 1] == 'c')) key.Push('k');
        break;
      case 'p':
        if (next == 'h') {
          key.Push('f');
          ++i;
        } else {
          key.Push('p');
        }
        break;
      case 'q':
        key.Push('k');
        break;
      case 's':
        if (next == 'h') {
          key.Push('x');
          ++i;
        } else if (next == 'i' && (at(i + 2) == 'o' || at(i + 2) == 'a')) {
          key.Push('x');
        } else {
          key.Push('s');
        }
        break;
      case 't':
        if (next == 'i' && (at(i + 2) == 'o' || at(i + 2) == 'a')) {
          key.Push('x');
        } else if (next == 'h') {
          key.Push('0');
          ++i;
        } else if (!(next == 'c' && at(i + 2) == 'h')) {
          key.Push('t');
        }
        break;
      case 'v':
        key.Push('f');
        break;
      case 'w':
      case 'y':
        if (vowel_at(i + 1)) key.Push(c);
        break;
      case 'x':
        key.Push('k');
        key.Push('s');
        break;
      case 'z':
        key.Push('s');
        break;
      default:
        key.Push(c);  // f j l m n r
        break;
    }
  }
  return key;
}

// The bit of prefix_bits_ for an entry of first byte head and then tail: a
// hash of its first four bytes (fewer in a short entry) and their count.
constexpr std::size_t kPrefixBits = std::size_t{1} << 17;
std::uint32_t PrefixBit(Byte head, std::string_view tail) {
  std::uint64_t bytes = head;
  const std::size_t count = std::min<std::size_t>(tail.size(), 3);
  for (std::size_t k = 0; k < count; ++k) {
    bytes |= std::uint64_t{static_cast<Byte>(tail[k])} << (8 * k + 8);
  }
  bytes |= std::uint64_t{count} << 32;
  return static_cast<std::uint32_t>((bytes * 0x9E3779B97F4A7C15u) >> 47);
}

std::uint32_t HashKey(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (const char c : key) h = (h ^ static_cast<Byte>(c)) * 16777619u;
  return h ^ (h >> 15);
}

// Ratcliff/Obershelp, as the exact suggestions' similarity counts it: twice
// the bytes matched over the total length.
double Gestalt(std::string_view word, std::string_view entry) {
  return 2.0 * static_cast<double>(CountMatchingBytes(word, entry)) /
         static_cast<double>(word.size() + entry.size());
}

}  // namespace

// --- RankedSuggester -------------------------------------------------------

// Entry indices grouped by the hash of their sound-alike key: the entries of
// bucket b are held in ids[starts[b], starts[b + 1]), each as its index in
// the low kIdBits bits and kTagBits more bits of its hash above them, so
// entries of other keys in the bucket are passed over without working out
// their keys. The bucket and the tag together compare the low
// (bucket bits + kTagBits) bits of the hashes.
struct RankedSuggester::SoundIndex {
  static constexpr int kTagBits = 10;
  static constexpr int kIdBits = 32 - kTagBits;
  static constexpr std::uint32_t kIdMask = (std::uint32_t{1} << kIdBits) - 1;
  std::vector<std::uint32_t> starts;
  std::vector<std::uint32_t> ids;
  std::uint32_t mask = 0;
  int shift = 0;

  std::uint32_t TagOf(std::uint32_t hash) const {
    return hash >> shift & ((std::uint32_t{1} << kTagBits) - 1);
  }
};

RankedSuggester::RankedSuggester(const MainWordList& list,
                                 std::span<const std::uint8_t> details,
                                 RankingWeights weights)
    : entries_(list), details_(details), weights_(weights) {
  bool sorted = true;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i > 0 && entries_[i] < entries_[i - 1]) sorted = false;
  }
  if (!sorted) {
    order_.resize(entries_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) {
      order_[i] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(order_.begin(), order_.end(),
                     [this](std::uint32_t a, std::uint32_t b) {
                       return entries_[a] < entries_[b];
                     });
  }
  // Empty entries sort first and belong to no first byte's range.
  std::size_t p = 0;
  while (p < entries_.size() && SortedEntry(p).empty()) ++p;
  for (std::size_t b = 0; b < 256; ++b) {
    first_byte_starts_[b] = static_cast<std::uint32_t>(p);
    while (p < entries_.size() &&
           static_cast<Byte>(SortedEntry(p)[0]) == b) {
      ++p;
    }
  }
  first_byte_starts_[256] = static_cast<std::uint32_t>(p);
  static_assert(std::tuple_size_v<decltype(pair_starts_)> ==
                26 * (kSecondClasses + 1));
  for (std::size_t f = 0; f < 26; ++f) {
    const std::size_t row = f * (kSecondClasses + 1);
    std::size_t q = first_byte_starts_['a' + f];
    const std::size_t stop = first_byte_starts_['a' + f + 1];
    const auto second_class = [this](std::size_t position) {
      const std::string_view e = SortedEntry(position);
      return e.size() < 2 ? 0 : SecondClass(static_cast<Byte>(e[1]));
    };
    for (std::size_t k = 0; k < kSecondClasses; ++k) {
      pair_starts_[row + k] = static_cast<std::uint32_t>(q);
      while (q < stop && second_class(q) == k) ++q;
    }
    pair_starts_[row + kSecondClasses] = static_cast<std::uint32_t>(stop);
  }
  prefix_bits_.assign(kPrefixBits / 64, 0);
  for (std::size_t q = 0; q < entries_.size(); ++q) {
    const std::string_view e = SortedEntry(q);
    if (e.empty()) continue;
    const std::uint32_t bit = PrefixBit(static_cast<Byte>(e[0]), e.substr(1));
    prefix_bits_[bit / 64] |= std::uint64_t{1} << (bit % 64);
  }
  shared_.resize(entries_.size());
  branch_.resize(entries_.size());
  for (std::size_t q = 1; q < entries_.size(); ++q) {
    const std::string_view a = SortedEntry(q - 1), b = SortedEntry(q);
    const std::size_t limit = std::min({a.size(), b.size(), kSharedCap});
    std::size_t k = 0;
    while (k < limit && a[k] == b[k]) ++k;
    shared_[q] = static_cast<std::uint8_t>(k | (a == b ? kDuplicate : 0));
    if (k < b.size()) branch_[q] = static_cast<std::uint8_t>(b[k]);
  }
}

RankedSuggester::~RankedSuggester() = default;

const RankedSuggester::SoundIndex& RankedSuggester::Sounds() const {
  std::call_once(sounds_built_, [this] {
    auto index = std::make_unique<SoundIndex>();
    // Four to eight entries a bucket: a quarter of the power of two, 1024 at
    // least, that gives each of half the entries a bucket. The tags tell the
    // entries of a bucket apart.
    static_assert(kDicCapacity <= SoundIndex::kIdMask);
    std::size_t buckets = 1024;
    int bits = 10;
    while (buckets < entries_.size() / 2) {
      buckets *= 2;
      ++bits;
    }
    buckets /= 4;
    bits -= 2;
    index->mask = static_cast<std::uint32_t>(buckets - 1);
    index->shift = bits;
    // Each distinct entry once, in byte order, so a duplicate's lowest
    // index stands for it; overlong entries are left out.
    std::vector<std::uint32_t> hash_of;
    std::vector<std::uint32_t> ids;
    hash_of.reserve(entries_.size());
    ids.reserve(entries_.size());
    index->starts.assign(buckets + 1, 0);
    for (std::size_t p = 0; p < entries_.size(); ++p) {
      const std::string_view e = SortedEntry(p);
      if (e.size() > kMaxWordLength || (p > 0 && e == SortedEntry(p - 1))) {
        continue;
      }
      const std::uint32_t h = HashKey(KeyOf(e).view());
      hash_of.push_back(h);
      ids.push_back(static_cast<std::uint32_t>(SortedIndex(p)));
      ++index->starts[(h & index->mask) + 1];
    }
    for (std::size_t b = 0; b < buckets; ++b) {
      index->starts[b + 1] += index->starts[b];
    }
    index->ids.resize(ids.size());
    std::vector<std::uint32_t> fill(index->starts.begin(),
                                    index->starts.end() - 1);
    for (std::size_t k = 0; k < ids.size(); ++k) {
      const std::uint32_t slot = fill[hash_of[k] & index->mask]++;
      index->ids[slot] = index->TagOf(hash_of[k]) << SoundIndex::kIdBits | ids[k];
    }
    sounds_ = std::move(index);
  });
  return *sounds_;
}

std::uint8_t RankedSuggester::SizeCode(std::int32_t entry) const {
  const auto i = static_cast<std::size_t>(entry);
  return i < details_.size() ? details_[i] & kSizeCodeMask : kUnknownSizeCode;
}

// The word being corrected, for the walk: the edit-cost table's rows are
// kept as bit vectors, one a cost level, bit i of level k set when the
// entry's first d bytes cost at most k units against the word's first i
// bytes. A row then takes a few dozen word operations, whatever the word's
// length. Levels above kNearCost are not kept: no walk allows more.
class RankedSuggester::Pattern {
 public:
  using Mask = std::uint64_t;
  static constexpr int kLevels = kNearCost + 1;
  using Levels = std::array<Mask, kLevels>;

  // REQUIRES: 1 <= word.size() <= kMax (so that bits 0 to n fit).
  explicit Pattern(std::string_view word) : word_(word), n_(word.size()) {
    static_assert(kMax < 64);
    full_ = (Mask{2} << n_) - 1;
    Mask vowels = 0;
    for (std::size_t i = 0; i < n_; ++i) {
      const Mask bit = Mask{2} << i;  // cell i + 1
      equal_[static_cast<Byte>(word[i])] |= bit;
      cheap_[kBaseIndex[static_cast<Byte>(word[i])]] |= bit;
      if (IsVowel(BaseLetter(word[i]))) vowels |= bit;
      if (ExtraCost(word, i) == kCheap) cheap_extra_ |= bit;
    }
    // A letter for another with the same base, or a vowel for a vowel.
    cheap_[0] = 0;
    for (char v = 'a'; v <= 'z'; ++v) {
      if (IsVowel(v)) cheap_[static_cast<std::size_t>(v - 'a' + 1)] |= vowels;
    }
  }

  std::string_view word() const { return word_; }
  std::size_t size() const { return n_; }

  void FirstRow(Levels& row) const {
    row[0] = 1;
    for (std::size_t k = 1; k < kLevels; ++k) {
      Mask v = row[k - 1] | ((row[k - 1] << 1) & cheap_extra_);
      if (k >= 2) v |= row[k - 2] << 1;
      row[k] = v & full_;
    }
  }

  // What row d of the table takes from the entry's byte d-1: the cells it
  // matches, those it replaces cheaply, those where it ends a swap, and
  // whether leaving it out is cheap. Besides doubled letters and
  // punctuation, silent letters are often left out: an h (wich, rythm) and
  // the g of gh (nite, thoughts).
  struct RowMasks {
    Mask equal, cheap, swap;
    bool missing_cheap;
  };
  RowMasks MasksFor(std::string_view entry, std::size_t d) const {
    const std::size_t j = d - 1;
    const char c = entry[j];
    const Byte base = kBaseIndex[static_cast<Byte>(c)];
    RowMasks m;
    m.equal = equal_[static_cast<Byte>(c)];
    m.cheap = cheap_[base] & ~m.equal;
    m.swap = 0;
    m.missing_cheap = base == 0;  // punctuation
    if (j > 0) {
      const char before = entry[j - 1];
      if (before != c) {
        m.swap = equal_[static_cast<Byte>(before)] & (m.equal << 1);
      } else {
        m.missing_cheap = true;  // a doubled letter
      }
      m.missing_cheap |= c == 'h';  // a silent h
    }
    // The g of gh.
    m.missing_cheap |= c == 'g' && j + 1 < entry.size() && entry[j + 1] == 'h';
    return m;
  }

  // Row d (the entry's first d bytes) from rows d-1 and d-2. REQUIRES: 1 <=
  // d <= entry.size() <= kMax, rows up to d-1 computed for entry.
  [[gnu::always_inline]] void NextRow(std::string_view entry, std::size_t d,
                                      Levels* rows) const {
    static_assert(kCheap == 1 && kSwap == 1 && kEdit == 2 && kLevels == 5);
    const std::size_t j = d - 1;
    const RowMasks masks = MasksFor(entry, d);
    const Mask equal = masks.equal, cheap = masks.cheap, swap = masks.swap;
    const bool missing_cheap = masks.missing_cheap;
    const Levels& up = rows[j];
    const Levels& up2 = rows[j > 0 ? j - 1 : 0];
    // Cost-level k gets: a match from level k of the row above, a cheap
    // substitution or a swap from level k-1, any substitution from k-2, the
    // entry's byte missing from k-1 or k-2, and the word's byte extra from
    // this row's level k-1 (cheaply) or k-2.
    const Mask s0 = up[0] << 1, s1 = up[1] << 1, s2 = up[2] << 1,
               s3 = up[3] << 1, s4 = up[4] << 1;
    const Mask m1 = missing_cheap ? up[0] : 0;
    const Mask m2 = missing_cheap ? up[1] : up[0];
    const Mask m3 = missing_cheap ? up[2] : up[1];
    const Mask m4 = missing_cheap ? up[3] : up[2];
    const Mask r0 = s0 & equal;
    Mask r1 = (s1 & equal) | (s0 & cheap) | ((up2[0] << 2) & swap) | m1 | r0 |
              ((r0 << 1) & cheap_extra_);
    r1 &= full_;
    Mask r2 = (s2 & equal) | (s1 & cheap) | ((up2[1] << 2) & swap) | s0 | m2 |
              r1 | ((r1 << 1) & cheap_extra_) | (r0 << 1);
    r2 &= full_;
    Mask r3 = (s3 & equal) | (s2 & cheap) | ((up2[2] << 2) & swap) | s1 | m3 |
              r2 | ((r2 << 1) & cheap_extra_) | (r1 << 1);
    r3 &= full_;
    Mask r4 = (s4 & equal) | (s3 & cheap) | ((up2[3] << 2) & swap) | s2 | m4 |
              r3 | ((r3 << 1) & cheap_extra_) | (r2 << 1);
    r4 &= full_;
    rows[d] = {r0, r1, r2, r3, r4};
  }

  // Whether row d, for entry byte c after the byte before (kNoByte at the
  // start), keeps a cell within allowed, given that row d-1 has none within
  // allowed - 1. Then no row below d has one either, and row d gets one only
  // by a match after a cell of row d-1, or a swap after one of row d-2.
  // REQUIRES: rows up to d-1 computed, 1 <= allowed < kLevels.
  bool Keeps(char c, int before, std::size_t d, const Levels* rows,
             std::size_t allowed) const {
    const Mask equal = equal_[static_cast<Byte>(c)];
    if ((rows[d - 1][allowed] << 1) & equal) return true;
    return before != kNoByte && before != static_cast<Byte>(c) &&
           ((rows[d - 2][allowed - 1] << 2) &
            equal_[static_cast<std::size_t>(before)] & (equal << 1)) != 0;
  }

  // The weighted cost of the word against entry, or kInfinity when above
  // max_cost: the same table as the rows above, one cost a cell, for costs
  // above kNearCost, and with one edit more: a letter moved over two others
  // (fomr for from, tyhe for they), at kMoved. REQUIRES: entry.size() <=
  // kMax.
  int WeightedCost(std::string_view entry, int max_cost) const {
    std::array<std::array<Cost, kMax + 1>, 4> ring;
    Cost* back3 = ring[0].data();  // row d-3
    Cost* back2 = ring[1].data();  // row d-2
    Cost* up = ring[2].data();     // row d-1
    Cost* row = ring[3].data();    // row d
    const auto extra = [this](std::size_t i) {  // the word's byte i-1
      return static_cast<Cost>(kEdit - static_cast<int>(cheap_extra_ >> i & 1));
    };
    up[0] = 0;
    for (std::size_t i = 1; i <= n_; ++i) {
      up[i] = static_cast<Cost>(up[i - 1] + extra(i));
    }
    Cost up_least = 0, back2_least = kInfinity;
    for (std::size_t d = 1; d <= entry.size(); ++d) {
      const RowMasks m = MasksFor(entry, d);
      const Mask moved = d >= 3 ? MovedCells(entry, d) : 0;
      const auto missing = static_cast<Cost>(m.missing_cheap ? kCheap : kEdit);
      row[0] = static_cast<Cost>(up[0] + missing);
      Cost least = row[0];
      for (std::size_t i = 1; i <= n_; ++i) {
        const auto substitute = static_cast<Cost>(
            kEdit - static_cast<int>(m.cheap >> i & 1) -
            kEdit * static_cast<int>(m.equal >> i & 1));
        Cost v = std::min<Cost>(static_cast<Cost>(up[i - 1] + substitute),
                                static_cast<Cost>(up[i] + missing));
        v = std::min<Cost>(v, static_cast<Cost>(row[i - 1] + extra(i)));
        if (m.swap >> i & 1) {  // only for i >= 2
          v = std::min<Cost>(v, static_cast<Cost>(back2[i - 2] + kSwap));
        }
        if (moved >> i & 1) {  // only for i >= 3
          v = std::min<Cost>(v, static_cast<Cost>(back3[i - 3] + kMoved));
        }
        row[i] = v;
        least = std::min(least, v);
      }
      if (least > max_cost && up_least + kSwap > max_cost &&
          back2_least + kMoved > max_cost) {
        return kInfinity;
      }
      back2_least = up_least;
      up_least = least;
      std::swap(back3, back2);
      std::swap(back2, up);
      std::swap(up, row);
    }
    return up[n_] <= max_cost ? up[n_] : kInfinity;
  }

  // The cells i where the word's bytes i-3 to i-1 are the entry's bytes d-3
  // to d-1 with the first moved to the end, or the last to the front.
  // REQUIRES: 3 <= d <= entry.size().
  Mask MovedCells(std::string_view entry, std::size_t d) const {
    const Mask x = equal_[static_cast<Byte>(entry[d - 3])];
    const Mask y = equal_[static_cast<Byte>(entry[d - 2])];
    const Mask z = equal_[static_cast<Byte>(entry[d - 1])];
    return ((y << 2) & (z << 1) & x) | ((z << 2) & (x << 1) & y);
  }

  // Whether some three bytes of entry are three of the word's with a letter
  // moved (see WeightedCost).
  bool MayMoveLetter(std::string_view entry) const {
    for (std::size_t d = 3; d <= entry.size(); ++d) {
      if (MovedCells(entry, d) != 0) return true;
    }
    return false;
  }

  // The length of the longest subsequence entry has in common with the
  // word (the bit-parallel method of Allison and Dix, as Hyyrö states it).
  std::size_t LongestCommonSubsequence(std::string_view entry) const {
    const Mask low = full_ >> 1;  // cells 1 to n, as bits 0 to n-1
    Mask v = low;
    for (const char ch : entry) {
      const Mask u = v & (equal_[static_cast<Byte>(ch)] >> 1);
      v = ((v + u) | (v - u)) & low;
    }
    return n_ - static_cast<std::size_t>(std::popcount(v));
  }

  // The cost of the whole word against the entry's first d bytes, or
  // kLevels when above every level.
  int Final(const Levels& row) const {
    for (std::size_t k = 0; k < kLevels; ++k) {
      if (row[k] >> n_ & 1) return static_cast<int>(k);
    }
    return kLevels;
  }

 private:
  std::string_view word_;
  std::size_t n_;
  Mask full_ = 0;  // cells 0 to n
  std::array<Mask, 256> equal_{};
  // By base letter index: the cells whose word byte a byte of that base
  // replaces cheaply (bar equal bytes).
  std::array<Mask, 27> cheap_{};
  Mask cheap_extra_ = 0;  // word bytes whose extra copy costs kCheap
};

namespace {

// A top bit set in each of the eight bytes of x below n, and perhaps in
// bytes after the first such: subtracting n from each byte borrows into its
// top bit when it is below n, or when a byte before it borrowed. So the
// lowest set bit (the first byte in memory on a little-endian machine) is
// exact. REQUIRES: n <= 128; bytes of 128 or more count as not below n.
std::uint64_t BytesBelow(std::uint64_t x, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  return (x - kOnes * n) & ~x & (kOnes << 7);
}

}  // namespace

// Walks the entries of sorted positions [begin, end) as a trie: the rows of
// the edit-cost table for a prefix are computed once for all entries
// sharing it, and a prefix whose row (and the row before, for a swap)
// already costs more than max_cost is skipped with all its entries. The
// first kFirstDepth bytes may cost at most first_cost, the first kEarlyDepth
// kEarlyCost and the first kMiddleDepth kMiddleCost.
void RankedSuggester::WalkRange(const Pattern& pattern, std::size_t begin,
                                std::size_t end, int max_cost, int first_cost,
                                std::vector<CandidateFeatures>& out) const {
  std::array<Pattern::Levels, kMax + 1> rows;
  std::array<char, kMax> path;
  std::size_t valid = 0;  // rows[0..valid] hold path[0..valid)
  pattern.FirstRow(rows[0]);
  const std::uint8_t* shared = shared_.data();
  // The most the first d bytes may cost, by d.
  std::array<std::uint8_t, kMax + 1> allowed_by_depth;
  for (std::size_t d = 0; d <= kMax; ++d) {
    allowed_by_depth[d] = static_cast<std::uint8_t>(
        d <= kFirstDepth    ? std::min(max_cost, first_cost)
        : d <= kEarlyDepth  ? std::min(max_cost, kEarlyCost)
        : d <= kMiddleDepth ? std::min(max_cost, kMiddleCost)
                            : max_cost);
  }
  const auto allowed_at = [&allowed_by_depth](std::size_t d) {
    return static_cast<std::size_t>(allowed_by_depth[d]);
  };
  // The first position after p whose entry does not start with the first d
  // bytes of p's: those that do share at least d bytes with the one before.
  const auto skip = [shared, end](std::size_t q, std::size_t d) {
    ++q;
    while (q + 8 <= end) {
      std::uint64_t eight;
      std::memcpy(&eight, shared + q, 8);
      const std::uint64_t below = BytesBelow(eight, d);
      if (below != 0) {
        if constexpr (std::endian::native == std::endian::little) {
          return q + static_cast<std::size_t>(std::countr_zero(below)) / 8;
        }
        break;
      }
      q += 8;
    }
    while (q < end && shared[q] >= d) ++q;
    return q;
  };
  // A prefix is dropped once its row and the row before (for a swap) cost
  // more than allowed. When the row before already does, only a match or a
  // swap keeps the prefix, which Keeps tells from the bytes alone.
  std::size_t p = begin;
  while (p < end) {
    std::size_t d = 0;
    if (p > begin) {
      const std::uint8_t s = shared[p];
      if (s & kDuplicate) {
        ++p;  // the same as the entry before
        continue;
      }
      if (s <= valid && s > 0 && path[s - 1] == 'g') {
        // Leaving out a g costs less before an h (MasksFor), so the row of
        // a prefix ending in g holds only for the byte that followed it.
        d = s - 1;
      } else if (s <= valid) {
        // The entry leaves the walked prefix at its byte branch_[p], so it
        // may be dropped without reading it.
        d = s;
        const std::size_t allowed = allowed_at(d + 1);
        if (rows[d][allowed - 1] == 0 &&
            !pattern.Keeps(static_cast<char>(branch_[p]),
                           d > 0 ? static_cast<Byte>(path[d - 1]) : kNoByte,
                           d + 1, rows.data(), allowed)) {
          p = skip(p, d + 1);
          valid = d;
          continue;
        }
      } else {
        d = valid;
      }
    }
    const std::string_view e = SortedEntry(p);
    if (e.size() > kMaxWordLength) {
      ++p;
      valid = d;
      continue;
    }
    bool pruned = false;
    while (d < e.size()) {
      ++d;
      const std::size_t allowed = allowed_at(d);
      if (rows[d - 1][allowed - 1] == 0 &&
          !pattern.Keeps(e[d - 1],
                         d > 1 ? static_cast<Byte>(e[d - 2]) : kNoByte, d,
                         rows.data(), allowed)) {
        p = skip(p, d);
        valid = d - 1;
        pruned = true;
        break;
      }
      path[d - 1] = e[d - 1];
      pattern.NextRow(e, d, rows.data());
    }
    if (pruned) continue;
    valid = e.size();
    const int cost = pattern.Final(rows[e.size()]);
    if (cost <= max_cost && cost > 0) {  // cost 0: the word itself
      CandidateFeatures c;
      c.entry = SortedIndex(p);
      c.cost = cost;
      out.push_back(c);
    }
    ++p;
  }
}

std::size_t RankedSuggester::FindSorted(std::uint8_t head, std::string_view rest) const {
  const std::uint32_t bit = PrefixBit(head, rest);
  if ((prefix_bits_[bit / 64] >> (bit % 64) & 1) == 0) return kNotFound;
  std::size_t lo = first_byte_starts_[head], hi = first_byte_starts_[head + 1];
  if (head >= 'a' && head <= 'z') {
    // Searched among those sharing its second byte's class.
    const std::size_t row = (head - 'a') * (kSecondClasses + 1);
    const std::size_t second_class = rest.empty() ? 0 : SecondClass(static_cast<Byte>(rest[0]));
    lo = pair_starts_[row + second_class];
    hi = pair_starts_[row + second_class + 1];
  }
  const std::size_t stop = hi;
  // Entries of [lo, hi) less than head + rest, after their first byte.
  const auto before = [rest](std::string_view entry) {
    const std::size_t common = std::min(entry.size() - 1, rest.size());
    for (std::size_t k = 0; k < common; ++k) {
      const auto x = static_cast<Byte>(entry[k + 1]);
      const auto y = static_cast<Byte>(rest[k]);
      if (x != y) return x < y;
    }
    return entry.size() - 1 < rest.size();
  };
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    (before(SortedEntry(mid)) ? lo = mid + 1 : hi = mid);
  }
  return lo < stop && SortedEntry(lo).substr(1) == rest ? lo : kNotFound;
}

// Slips the walk cannot reach are looked up instead: a letter moved over
// two others where the first letters leave the walk no room for the two
// edits it takes them for (tyhe: they, kwno: know), and a run of two to four
// letters written twice over (approproximate: approximate), which counts as
// two edits, however long the run. So are suffixes put on by the rule where
// the word takes an exception: -ing after -ie (lieing: lying) and -ed
// after a verb whose past forms are irregular (teached: taught), both at the
// cost of a cheap slip.
void RankedSuggester::AddLookedUpSlips(const Pattern& pattern,
                                       std::vector<CandidateFeatures>& out) const {
  const std::string_view word = pattern.word();
  const auto look_up = [&](std::string_view candidate, int cost) {
    const std::size_t p = FindSorted(static_cast<Byte>(candidate[0]), candidate.substr(1));
    if (p == kNotFound) return;
    CandidateFeatures c;
    c.entry = SortedIndex(p);
    c.cost = cost;
    out.push_back(c);
  };
  std::array<char, kMax> variant{};
  for (std::size_t i = 0; i < kEarlyDepth && i + 2 < word.size(); ++i) {
    std::copy(word.begin(), word.end(), variant.begin());
    std::rotate(variant.begin() + i, variant.begin() + i + 1, variant.begin() + i + 3);
    look_up({variant.data(), word.size()}, kMoved);
    std::copy(word.begin(), word.end(), variant.begin());
    std::rotate(variant.begin() + i, variant.begin() + i + 2, variant.begin() + i + 3);
    look_up({variant.data(), word.size()}, kMoved);
  }
  for (std::size_t run = 2; run <= 4; ++run) {
    for (std::size_t i = 0; i + 2 * run <= word.size(); ++i) {
      if (word.substr(i, run) != word.substr(i + run, run)) continue;
      const auto end = std::copy(word.begin(), word.begin() + static_cast<std::ptrdiff_t>(i + run),
                                 variant.begin());
      std::copy(word.begin() + static_cast<std::ptrdiff_t>(i + 2 * run), word.end(), end);
      look_up({variant.data(), word.size() - run}, 2 * kEdit);
    }
  }
  if (word.size() > 5 && word.ends_with("ieing")) {
    look_up(std::string(word.substr(0, word.size() - 5)) + "ying", kCheap);
  }
  if (word.size() < 4 || !word.ends_with("ed")) return;
  // The verb is the word less its -ed, its -d (rised), its -ed and a
  // doubled last letter (runned), or with -y for -ied (flied); when it is
  // an entry whose last part is irregular, that part's past forms go in.
  const std::string_view bare = word.substr(0, word.size() - 2);
  const std::string verbs[] = {
      std::string(bare), std::string(word.substr(0, word.size() - 1)),
      bare.back() == bare[bare.size() - 2] ? std::string(bare.substr(0, bare.size() - 1))
                                           : std::string(),
      bare.back() == 'i' ? std::string(bare.substr(0, bare.size() - 1)) + 'y' : std::string()};
  for (const std::string_view verb : verbs) {
    if (verb.empty() || FindSorted(static_cast<Byte>(verb[0]), verb.substr(1)) == kNotFound) {
      continue;
    }
    const auto [irregular, prefix_length] = FindIrregularVerb(verb);
    if (irregular == nullptr) continue;
    const std::string prefix(verb.substr(0, prefix_length));
    look_up(prefix + std::string(irregular->past), kCheap);
    if (irregular->participle != irregular->past) {
      look_up(prefix + std::string(irregular->participle), kCheap);
    }
  }
}

// Few misspellings get the first letter wrong. Entries starting with the
// word's first or second letter (a swap, or an extra first letter) may cost
// up to kNearCost; entries starting with another vowel, when the word starts
// with one, up to kFarCost + 1, and only kOtherVowelFirstCost in their first
// two letters (most such entries go at their second letter, unread); the
// others only kFarCost, which leaves room
// for nothing but that first letter written for another or left out, so
// those two forms are looked up rather than walked to.
void RankedSuggester::WalkWithinCost(const Pattern& pattern,
                                     std::vector<CandidateFeatures>& out) const {
  const std::string_view word = pattern.word();
  const char first = BaseLetter(word[0]);
  const char second = word.size() > 1 ? BaseLetter(word[1]) : '\0';
  for (std::size_t b = 0; b < 256; ++b) {
    const std::size_t begin = first_byte_starts_[b];
    const std::size_t end = first_byte_starts_[b + 1];
    if (begin == end) continue;
    const char base = BaseLetter(static_cast<char>(b));
    if (base != 0 && base == first) {
      WalkRange(pattern, begin, end, kNearCost, kEarlyCost, out);
    } else if (base != 0 && base == second) {
      WalkRange(pattern, begin, end, kSecondCost, kEarlyCost, out);
    } else if (IsVowel(base) && IsVowel(first)) {
      WalkRange(pattern, begin, end, kFarCost + 1, kOtherVowelFirstCost, out);
    } else {
      // The entry b + rest, for the first letter written for another or
      // left out.
      for (const std::size_t skip : {std::size_t{1}, std::size_t{0}}) {
        const std::size_t p = FindSorted(static_cast<Byte>(b), word.substr(skip));
        if (p == kNotFound) continue;
        const int cost = pattern.WeightedCost(SortedEntry(p), kFarCost);
        if (cost <= kFarCost) {
          CandidateFeatures c;
          c.entry = SortedIndex(p);
          c.cost = cost;
          out.push_back(c);
        }
      }
    }
  }
}

// Marks the candidates whose sound-alike key equals the word's (sound 2)
// or, for keys of three or more symbols, is the word's with one symbol
// dropped or two neighbours swapped (sound 1: thorts, 0RTS, for thoughts,
// 0TS), and adds those of them the walk did not find, with cost
// kUnknownCost. REQUIRES: out sorted by entry.
void RankedSuggester::AddSoundAlikes(std::string_view word,
                                     std::vector<CandidateFeatures>& out) const {
  const SoundIndex& sounds = Sounds();
  const SoundKey key = KeyOf(word);
  const std::string_view k = key.view();
  if (k.empty()) return;
  // Each find as id * 2 + 0 for the same key, + 1 for a near one, so that
  // sorting puts an entry's finds together, its best first.
  std::vector<std::uint32_t> found;
  found.reserve(128);
  // The key and its variants are hashed first, then their buckets' bounds
  // read, then the buckets: the reads of each step do not wait on each
  // other, so their cache misses overlap.
  std::array<std::uint32_t, 2 * kMaxKey> hashes{}, near{};
  std::size_t variants = 0;
  const auto add = [&](std::string_view variant, std::uint32_t level) {
    hashes[variants] = HashKey(variant);
    near[variants++] = level;
  };
  add(k, 0);
  if (k.size() >= 3) {
    std::array<char, kMaxKey + 1> v{};
    for (std::size_t i = 0; i < k.size(); ++i) {  // deletions
      std::size_t m = 0;
      for (std::size_t j = 0; j < k.size(); ++j) if (j != i) v[m++] = k[j];
      add({v.data(), m}, 1);
    }
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {  // swaps
      std::copy(k.begin(), k.end(), v.begin());
      std::swap(v[i], v[i + 1]);
      add({v.data(), k.size()}, 1);
    }
  }
  std::array<std::uint32_t, 2 * kMaxKey> from{}, to{};
  for (std::size_t v = 0; v < variants; ++v) {
    const std::uint32_t bucket = hashes[v] & sounds.mask;
    from[v] = sounds.starts[bucket];
    to[v] = sounds.starts[bucket + 1];
  }
  for (std::size_t v = 0; v < variants; ++v) {
    const std::uint32_t tag = sounds.TagOf(hashes[v]);
    for (std::uint32_t slot = from[v]; slot < to[v]; ++slot) {
      const std::uint32_t held = sounds.ids[slot];
      if (held >> SoundIndex::kIdBits == tag) {
        found.push_back((held & SoundIndex::kIdMask) << 1 | near[v]);
      }
    }
  }
  std::sort(found.begin(), found.end());
  // Both lists ascend by entry, so they are merged in one pass.
  const std::size_t walked = out.size();
  std::size_t w = 0;
  for (std::size_t f = 0; f < found.size(); ++f) {
    if (f > 0 && found[f] >> 1 == found[f - 1] >> 1) continue;
    const std::uint32_t id = found[f] >> 1;
    const auto entry = static_cast<std::int32_t>(id);
    const auto level = static_cast<std::uint8_t>(2 - (found[f] & 1));
    while (w < walked && out[w].entry < entry) ++w;
    if (w < walked && out[w].entry == entry) {
      out[w].sound = std::max(out[w].sound, level);
      continue;
    }
    if (entries_[id] == word) continue;
    CandidateFeatures c;
    c.entry = entry;
    c.cost = kUnknownCost;  // worked out only when it may matter
    c.sound = level;
    out.push_back(c);
  }
}

void RankedSuggester::Gather(const Pattern& pattern,
                             std::vector<CandidateFeatures>& out) const {
  const std::string_view word = pattern.word();
  WalkWithinCost(pattern, out);
  // A moved letter costs the walk two edits, so a cost from three units up
  // may be less.
  for (CandidateFeatures& c : out) {
    const std::string_view e = entries_[static_cast<std::size_t>(c.entry)];
    if (c.cost > kEdit && pattern.MayMoveLetter(e)) {
      c.cost = std::min(c.cost, pattern.WeightedCost(e, c.cost - 1));
    }
  }
  AddLookedUpSlips(pattern, out);
  // Each entry once, at its least cost.
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return a.entry != b.entry ? a.entry < b.entry : a.cost < b.cost;
  });
  out.erase(std::unique(out.begin(), out.end(),
                        [](const auto& a, const auto& b) { return a.entry == b.entry; }),
            out.end());
  AddSoundAlikes(word, out);
  for (CandidateFeatures& c : out) {
    const std::string_view e = entries_[static_cast<std::size_t>(c.entry)];
    c.size_code = SizeCode(c.entry);
    c.first_letter_differs = BaseLetter(e[0]) != BaseLetter(word[0]);
    c.length_difference = static_cast<std::int32_t>(e.size()) -
                          static_cast<std::int32_t>(word.size());
  }
}

double RankedSuggester::Score(const CandidateFeatures& c,
                              const RankingWeights& w) {
  return -w.cost * c.cost + w.size_class[c.size_code & 7] +
         (c.sound == 2 ? w.same_sound : c.sound == 1 ? w.near_sound : 0.0) -
         (c.first_letter_differs ? w.first_letter : 0.0) -
         w.length * std::abs(c.length_difference) + w.gestalt * c.gestalt;
}

std::vector<RankedEntry> RankedSuggester::Suggest(std::string_view word,
                                                 std::size_t max_count) const {
  std::vector<RankedEntry> result;
  if (max_count == 0 || word.empty() || word.size() > kMaxWordLength) {
    return result;
  }
  const Pattern pattern(word);
  std::vector<CandidateFeatures> candidates;
  candidates.reserve(kUsualCandidates);
  Gather(pattern, candidates);
  if (candidates.empty()) return result;
  // The sound-alikes' edit costs and every gestalt take the most work, so
  // each candidate first gets a bound on its score from the longest
  // subsequence it has in common with the word, which bounds the gestalt
  // from above (the gestalt's runs are such a subsequence) and the edit cost
  // from below (each byte of the longer not in it needs an edit of at least
  // a unit). Candidates are then worked out best bound first, the cost
  // before the gestalt, until no bound left can reach the last place.
  struct Pending {
    double bound;
    std::size_t index;
    std::size_t common;  // bytes of the longest common subsequence
    bool operator<(const Pending& other) const { return bound < other.bound; }
  };
  const auto bound = [&](CandidateFeatures c, std::size_t common) {
    const std::size_t size =
        entries_[static_cast<std::size_t>(c.entry)].size();
    if (c.cost == kUnknownCost) {
      c.cost = static_cast<std::int32_t>(std::max(word.size(), size) - common);
    }
    c.gestalt = 2.0 * static_cast<double>(common) /
                static_cast<double>(word.size() + size);
    return Score(c, weights_);
  };
  // The best so far, best first; ties go to the entry first in byte order,
  // so the result does not depend on the order of the list.
  std::vector<std::pair<double, std::int32_t>> top;
  top.reserve(std::min(max_count, candidates.size()) + 1);
  const auto by_score = [this](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    const std::string_view x = entries_[static_cast<std::size_t>(a.second)];
    const std::string_view y = entries_[static_cast<std::size_t>(b.second)];
    return x != y ? x < y : a.second < b.second;
  };
  const auto finish = [&](CandidateFeatures& c, std::string_view e) {
    c.gestalt = Gestalt(word, e);
    const std::pair<double, std::int32_t> scored(Score(c, weights_), c.entry);
    top.insert(std::upper_bound(top.begin(), top.end(), scored, by_score),
               scored);
    if (top.size() > max_count) top.pop_back();
  };
  // The walk's candidates, whose costs are known, are few: worked out at
  // once, they set a last place that spares most sound-alikes their costs.
  std::vector<Pending> pending;
  pending.reserve(candidates.size());
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    const std::string_view e =
        entries_[static_cast<std::size_t>(candidates[k].entry)];
    if (candidates[k].cost != kUnknownCost) {
      finish(candidates[k], e);
    } else {
      const std::size_t common = pattern.LongestCommonSubsequence(e);
      pending.push_back({bound(candidates[k], common), k, common});
    }
  }
  std::make_heap(pending.begin(), pending.end());
  while (!pending.empty()) {
    std::pop_heap(pending.begin(), pending.end());
    const Pending next = pending.back();
    pending.pop_back();
    if (top.size() == max_count && next.bound < top.back().first) break;
    CandidateFeatures& c = candidates[next.index];
    const std::string_view e = entries_[static_cast<std::size_t>(c.entry)];
    if (c.cost == kUnknownCost) {
      // Once the list is full, a cost that puts the score below its last
      // place needs no working out: the bound took the cost as `lower`.
      int limit = kSoundCost;
      if (top.size() == max_count && weights_.cost > 0) {
        const auto lower = static_cast<int>(std::max(word.size(), e.size()) -
                                            next.common);
        const double slack = (next.bound - top.back().first) / weights_.cost;
        if (slack < kSoundCost) {
          limit = std::min(limit, lower + static_cast<int>(slack) + 1);
        }
      }
      c.cost = pattern.WeightedCost(e, limit);
      if (c.cost > limit) continue;
      if (top.size() < max_count) {
        // Finished at once while the list is short, it sets a last place
        // that limits the costs of those after it.
        finish(c, e);
        continue;
      }
      pending.push_back({bound(c, next.common), next.index, next.common});
      std::push_heap(pending.begin(), pending.end());
      continue;
    }
    finish(c, e);
  }
  result.reserve(top.size());
  for (const auto& [score, entry] : top) result.push_back({entry, score});
  return result;
}

std::optional<double> RankedSuggester::ScoreOutsider(
    std::string_view word, std::string_view candidate,
    std::uint8_t size_code) const {
  if (word.empty() || word.size() > kMaxWordLength || candidate.empty() ||
      candidate.size() > kMaxWordLength || candidate == word) {
    return std::nullopt;
  }
  const Pattern pattern(word);
  const SoundKey key = KeyOf(word);
  const bool same_sound = !key.view().empty() && key.view() == KeyOf(candidate).view();
  CandidateFeatures c;
  c.cost = pattern.WeightedCost(candidate, same_sound ? kSoundCost : kNearCost);
  if (c.cost == kInfinity) return std::nullopt;
  c.sound = same_sound ? 2 : 0;
  c.size_code = size_code;
  c.first_letter_differs = BaseLetter(candidate[0]) != BaseLetter(word[0]);
  c.length_difference = static_cast<std::int32_t>(candidate.size()) -
                        static_cast<std::int32_t>(word.size());
  c.gestalt = Gestalt(word, candidate);
  return Score(c, weights_);
}

}  // namespace quenvar
