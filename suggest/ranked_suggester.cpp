#include "suggest/ranked_suggester.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "resources/word_details_format.h"

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

bool IsVowel(char base) {
  return base == 'a' || base == 'e' || base == 'i' || base == 'o' ||
         base == 'u' || base == 'y';
}

// --- The error model -------------------------------------------------------
// Costs are in units of half an edit. Mistakes people make most often cost
// one unit: a vowel for another vowel, a letter for its accented form, a
// doubled letter written once or a single one doubled, two neighbours
// swapped, a missing apostrophe or hyphen. Everything else costs two.

constexpr int kEdit = 2;
constexpr int kCheap = 1;
constexpr int kSwap = 1;
// The most a candidate may cost: one starting with the word's first or
// second letter, and one starting with another.
constexpr int kNearCost = 2 * kEdit;
constexpr int kFarCost = kEdit;
// The most a candidate starting with the word's second letter may cost:
// the swap or the extra letter, and one more slip.
constexpr int kSecondCost = kEdit + kCheap;
// The most the first kEarlyDepth bytes of a candidate may cost: people
// seldom make two mistakes in a word's first letters.
constexpr std::size_t kEarlyDepth = 3;
constexpr int kEarlyCost = kEdit;
// The most a sound-alike candidate may cost.
constexpr int kSoundCost = 6 * kEdit;

// Cost of the word's byte at i (the entry lacks it): a letter doubled, a
// punctuation mark, or a silent e written at the end (nite) cost less.
int ExtraCost(std::string_view word, std::size_t i) {
  if (i > 0 && word[i] == word[i - 1]) return kCheap;
  if (BaseLetter(word[i]) == 0) return kCheap;
  if (word[i] == 'e' && i + 1 == word.size() && i >= 2) return kCheap;
  return kEdit;
}

// Cost of the entry's byte at j when the word lacks it. Besides doubled
// letters and punctuation, silent letters are often left out: an h (wich,
// rythm) and the g of gh (nite, thoughts).
int MissingCost(std::string_view entry, std::size_t j) {
  if (j > 0 && entry[j] == entry[j - 1]) return kCheap;
  if (BaseLetter(entry[j]) == 0) return kCheap;
  if (entry[j] == 'h' && j > 0) return kCheap;
  if (entry[j] == 'g' && j + 1 < entry.size() && entry[j + 1] == 'h') {
    return kCheap;
  }
  return kEdit;
}

using Cost = std::int16_t;
constexpr std::size_t kMax = RankedSuggester::kMaxWordLength;
using Row = std::array<Cost, kMax + 2>;
constexpr Cost kInfinity = 1000;

// The word being corrected, with what each row of the edit-cost table needs
// of it computed once. Row d holds the cost of the entry's first d bytes
// against the word's first i bytes, for i within max_cost of d (each
// insertion or deletion costs at least one unit, so cells further off the
// diagonal exceed max_cost); the cells just outside that band hold
// kInfinity.
class Query {
 public:
  Query(std::string_view word, int max_cost)
      : word_(word), n_(word.size()), band_(static_cast<std::size_t>(max_cost)) {
    for (std::size_t i = 0; i < n_; ++i) {
      base_[i] = BaseLetter(word[i]);
      vowel_[i] = IsVowel(base_[i]);
      extra_[i] = static_cast<Cost>(ExtraCost(word, i));
    }
  }

  std::size_t size() const { return n_; }

  void FirstRow(Row& row) const {
    row[0] = 0;
    const std::size_t hi = std::min(n_, band_);
    for (std::size_t i = 0; i < hi; ++i) {
      row[i + 1] = static_cast<Cost>(row[i] + extra_[i]);
    }
    row[hi + 1] = kInfinity;
  }

  // Row d (the entry's first d bytes) from rows d-1 and d-2; returns the
  // least cell of the row. REQUIRES: 1 <= d <= entry.size() <= kMax, rows up
  // to d-1 computed for entry.
  Cost NextRow(std::string_view entry, std::size_t d, Row* rows) const {
    const Row& up = rows[d - 1];
    Row& row = rows[d];
    const char c = entry[d - 1];
    const char cb = BaseLetter(c);
    const bool cv = IsVowel(cb);
    const char before = d >= 2 ? entry[d - 2] : '\0';
    const Cost missing = static_cast<Cost>(MissingCost(entry, d - 1));
    const std::size_t lo = d > band_ ? d - band_ : 0;
    const std::size_t hi = std::min(n_, d + band_);
    Cost least = kInfinity;
    std::size_t i = lo;
    if (lo == 0) {
      row[0] = static_cast<Cost>(up[0] + missing);
      least = row[0];
      i = 1;
    } else {
      row[lo - 1] = kInfinity;
    }
    for (; i <= hi; ++i) {
      const char w = word_[i - 1];
      const Cost substitute =
          w == c ? 0
                 : ((cb != 0 && base_[i - 1] == cb) || (cv && vowel_[i - 1]))
                       ? static_cast<Cost>(kCheap)
                       : static_cast<Cost>(kEdit);
      Cost v = std::min<Cost>(static_cast<Cost>(up[i - 1] + substitute),
                              static_cast<Cost>(up[i] + missing));
      v = std::min<Cost>(v, static_cast<Cost>(row[i - 1] + extra_[i - 1]));
      if (d >= 2 && i >= 2 && w == before && word_[i - 2] == c && c != w) {
        v = std::min<Cost>(v, static_cast<Cost>(rows[d - 2][i - 2] + kSwap));
      }
      row[i] = v;
      least = std::min(least, v);
    }
    if (hi < n_) row[hi + 1] = kInfinity;
    return least;
  }

  // The cost of the whole word against the entry's first d bytes.
  Cost Final(const Row* rows, std::size_t d) const {
    return d + band_ >= n_ && n_ + band_ >= d ? rows[d][n_] : kInfinity;
  }

 private:
  std::string_view word_;
  std::size_t n_;
  std::size_t band_;
  std::array<char, kMax> base_{};
  std::array<bool, kMax> vowel_{};
  std::array<Cost, kMax> extra_{};
};

// The weighted edit cost of word against entry, both at most kMax bytes,
// or kInfinity when above max_cost.
int WeightedDistance(std::string_view word, std::string_view entry,
                     int max_cost) {
  const Query query(word, max_cost);
  std::array<Row, kMax + 1> rows;
  query.FirstRow(rows[0]);
  Cost before = 0;
  for (std::size_t d = 1; d <= entry.size(); ++d) {
    const Cost least = query.NextRow(entry, d, rows.data());
    if (least > max_cost && before + kSwap > max_cost) return kInfinity;
    before = least;
  }
  const int cost = query.Final(rows.data(), entry.size());
  return cost > max_cost ? kInfinity : cost;
}

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

std::uint32_t HashKey(std::string_view key) {
  std::uint32_t h = 2166136261u;
  for (const char c : key) h = (h ^ static_cast<Byte>(c)) * 16777619u;
  return h ^ (h >> 15);
}

// --- Gestalt similarity ----------------------------------------------------

// Ratcliff/Obershelp: twice the bytes matched by taking the longest common
// run, then recursing on both sides of it, over the total length.
double Gestalt(std::string_view a, std::string_view b) {
  if (a.empty() && b.empty()) return 1.0;
  struct Span { std::size_t a0, a1, b0, b1; };
  std::array<Span, 2 * kMax + 2> stack;
  std::size_t top = 0;
  stack[top++] = {0, a.size(), 0, b.size()};
  std::size_t matched = 0;
  std::array<std::uint8_t, kMax + 1> run{}, prev{};
  while (top > 0) {
    const Span s = stack[--top];
    std::size_t best = 0, best_a = 0, best_b = 0;
    prev.fill(0);
    for (std::size_t i = s.a0; i < s.a1; ++i) {
      for (std::size_t j = s.b0; j < s.b1; ++j) {
        const std::size_t k = j - s.b0 + 1;
        run[k] = a[i] == b[j] ? static_cast<std::uint8_t>(prev[k - 1] + 1) : 0;
        if (run[k] > best) {
          best = run[k];
          best_a = i + 1 - best;
          best_b = j + 1 - best;
        }
      }
      run[0] = 0;
      std::swap(run, prev);
    }
    if (best == 0) continue;
    matched += best;
    if (best_a > s.a0 && best_b > s.b0) stack[top++] = {s.a0, best_a, s.b0, best_b};
    if (best_a + best < s.a1 && best_b + best < s.b1) {
      stack[top++] = {best_a + best, s.a1, best_b + best, s.b1};
    }
  }
  return 2.0 * static_cast<double>(matched) /
         static_cast<double>(a.size() + b.size());
}

}  // namespace

// --- RankedSuggester -------------------------------------------------------

// Entry indices grouped by the hash of their sound-alike key: the entries of
// bucket b are ids[starts[b], starts[b + 1]), and tags holds eight more bits
// of each one's hash, so entries of other keys in the bucket are passed
// over without working out their keys.
struct RankedSuggester::SoundIndex {
  std::vector<std::uint32_t> starts;
  std::vector<std::uint32_t> ids;
  std::vector<std::uint8_t> tags;
  std::uint32_t mask = 0;
  int shift = 0;

  template <typename Visit>
  void ForEach(std::string_view key, Visit visit) const {
    const std::uint32_t h = HashKey(key);
    const std::uint32_t b = h & mask;
    const auto tag = static_cast<std::uint8_t>(h >> shift);
    for (std::uint32_t k = starts[b]; k < starts[b + 1]; ++k) {
      if (tags[k] == tag) visit(ids[k]);
    }
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
}

RankedSuggester::~RankedSuggester() = default;

const RankedSuggester::SoundIndex& RankedSuggester::Sounds() const {
  std::call_once(sounds_built_, [this] {
    auto index = std::make_unique<SoundIndex>();
    std::size_t buckets = 1024;
    int bits = 10;
    while (buckets < entries_.size() / 2) {
      buckets *= 2;
      ++bits;
    }
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
    index->tags.resize(ids.size());
    std::vector<std::uint32_t> fill(index->starts.begin(),
                                    index->starts.end() - 1);
    for (std::size_t k = 0; k < ids.size(); ++k) {
      const std::uint32_t slot = fill[hash_of[k] & index->mask]++;
      index->ids[slot] = ids[k];
      index->tags[slot] = static_cast<std::uint8_t>(hash_of[k] >> index->shift);
    }
    sounds_ = std::move(index);
  });
  return *sounds_;
}

std::size_t RankedSuggester::MemoryBytes() const {
  std::size_t bytes = order_.capacity() * sizeof(std::uint32_t);
  if (sounds_) {
    bytes += sizeof(SoundIndex) +
             sounds_->starts.capacity() * sizeof(std::uint32_t) +
             sounds_->ids.capacity() * sizeof(std::uint32_t) +
             sounds_->tags.capacity();
  }
  return bytes;
}

std::uint8_t RankedSuggester::SizeCode(std::int32_t entry) const {
  const auto i = static_cast<std::size_t>(entry);
  return i < details_.size() ? details_[i] & kSizeCodeMask : kUnknownSizeCode;
}

// Walks the entries of sorted positions [begin, end) as a trie: the rows of
// the edit-cost table for a prefix are computed once for all entries
// sharing it, and a prefix whose row (and the row before, for a swap)
// already costs more than max_cost is skipped with all its entries.
void RankedSuggester::WalkRange(std::string_view word, std::size_t begin,
                                std::size_t end, int max_cost,
                                std::vector<CandidateFeatures>& out) const {
  const Query query(word, kNearCost);
  std::array<Row, kMax + 1> rows;
  std::array<Cost, kMax + 1> least{};
  std::array<char, kMax> path{};
  std::size_t valid = 0;  // rows[0..valid] hold path[0..valid)
  query.FirstRow(rows[0]);
  least[0] = 0;
  std::size_t p = begin;
  while (p < end) {
    const std::string_view e = SortedEntry(p);
    const std::size_t limit = std::min(valid, e.size());
    std::size_t d = 0;
    while (d < limit && path[d] == e[d]) ++d;
    if (e.size() > kMaxWordLength ||
        (d == e.size() && valid == e.size() && p > begin)) {
      ++p;  // overlong, or a duplicate of the entry before
      valid = d;
      continue;
    }
    bool pruned = false;
    while (d < e.size()) {
      path[d] = e[d];
      ++d;
      least[d] = query.NextRow(e, d, rows.data());
      const int allowed = d <= kEarlyDepth ? std::min(max_cost, kEarlyCost)
                                           : max_cost;
      if (least[d] > allowed && least[d - 1] + kSwap > allowed) {
        // Skip every entry starting with e[0..d): gallop, then halve.
        const auto has_prefix = [&](std::size_t q) {
          const std::string_view other = SortedEntry(q);
          if (other.size() < d) return false;
          for (std::size_t j = d; j-- > 0;) {
            if (other[j] != e[j]) return false;
          }
          return true;
        };
        std::size_t lo = p, step = 1;  // has_prefix(lo) holds
        while (lo + step < end && has_prefix(lo + step)) {
          lo += step;
          step *= 2;
        }
        std::size_t hi = std::min(lo + step, end);  // !has_prefix(hi)
        while (hi - lo > 1) {
          const std::size_t mid = lo + (hi - lo) / 2;
          (has_prefix(mid) ? lo : hi) = mid;
        }
        p = hi;
        valid = d;
        pruned = true;
        break;
      }
    }
    if (pruned) continue;
    valid = e.size();
    const Cost cost = query.Final(rows.data(), e.size());
    if (cost <= max_cost && cost > 0) {  // cost 0: the word itself
      CandidateFeatures c;
      c.entry = SortedIndex(p);
      c.cost = cost;
      out.push_back(c);
    }
    ++p;
  }
}

// Few misspellings get the first letter wrong. Entries starting with the
// word's first or second letter (a swap, or an extra first letter) may cost
// up to kNearCost; entries starting with another vowel, when the word starts
// with one, up to kFarCost + 1; the others only kFarCost, which leaves room
// for nothing but that first letter written for another or left out, so
// those two forms are looked up rather than walked to.
void RankedSuggester::WalkWithinCost(std::string_view word,
                                     std::vector<CandidateFeatures>& out) const {
  const char first = BaseLetter(word[0]);
  const char second = word.size() > 1 ? BaseLetter(word[1]) : '\0';
  std::string probe;
  for (std::size_t b = 0; b < 256; ++b) {
    const std::size_t begin = first_byte_starts_[b];
    const std::size_t end = first_byte_starts_[b + 1];
    if (begin == end) continue;
    const char base = BaseLetter(static_cast<char>(b));
    if (base != 0 && base == first) {
      WalkRange(word, begin, end, kNearCost, out);
    } else if (base != 0 && base == second) {
      WalkRange(word, begin, end, kSecondCost, out);
    } else if (IsVowel(base) && IsVowel(first)) {
      WalkRange(word, begin, end, kFarCost + 1, out);
    } else {
      for (int skip = 1; skip >= 0; --skip) {
        probe.assign(1, static_cast<char>(b));
        probe.append(word.substr(static_cast<std::size_t>(skip)));
        std::size_t lo = begin, hi = end;
        while (lo < hi) {
          const std::size_t mid = lo + (hi - lo) / 2;
          (SortedEntry(mid) < probe ? lo = mid + 1 : hi = mid);
        }
        if (lo < end && SortedEntry(lo) == probe) {
          const int cost = WeightedDistance(word, probe, kFarCost);
          if (cost <= kFarCost) {
            CandidateFeatures c;
            c.entry = SortedIndex(lo);
            c.cost = cost;
            out.push_back(c);
          }
        }
      }
    }
  }
}

// Marks the candidates whose sound-alike key equals the word's (sound 2)
// or, for keys of three or more symbols, is the word's with one symbol
// dropped or two neighbours swapped (sound 1: thorts, 0RTS, for thoughts,
// 0TS), and
// adds those of them the walk did not find. REQUIRES: out sorted by entry.
void RankedSuggester::AddSoundAlikes(std::string_view word,
                                     std::vector<CandidateFeatures>& out) const {
  const SoundIndex& sounds = Sounds();
  const SoundKey key = KeyOf(word);
  const std::string_view k = key.view();
  if (k.empty()) return;
  std::vector<std::pair<std::uint32_t, std::uint8_t>> found;
  const auto look = [&](std::string_view variant, std::uint8_t level) {
    sounds.ForEach(variant, [&](std::uint32_t id) {
      found.emplace_back(id, level);
    });
  };
  look(k, 2);
  if (k.size() >= 3) {
    std::array<char, kMaxKey + 1> v{};
    for (std::size_t i = 0; i < k.size(); ++i) {  // deletions
      std::size_t m = 0;
      for (std::size_t j = 0; j < k.size(); ++j) if (j != i) v[m++] = k[j];
      look({v.data(), m}, 1);
    }
    for (std::size_t i = 0; i + 1 < k.size(); ++i) {  // swaps
      std::copy(k.begin(), k.end(), v.begin());
      std::swap(v[i], v[i + 1]);
      look({v.data(), k.size()}, 1);
    }
  }
  const std::size_t walked = out.size();
  for (const auto& [id, level] : found) {
    const auto entry = static_cast<std::int32_t>(id);
    const auto it = std::lower_bound(
        out.begin(), out.begin() + static_cast<std::ptrdiff_t>(walked), entry,
        [](const CandidateFeatures& c, std::int32_t e) { return c.entry < e; });
    if (it != out.begin() + static_cast<std::ptrdiff_t>(walked) &&
        it->entry == entry) {
      it->sound = std::max(it->sound, level);
      continue;
    }
    const std::string_view e = entries_[id];
    if (e == word) continue;
    const int cost = WeightedDistance(word, e, kSoundCost);
    if (cost > kSoundCost) continue;
    CandidateFeatures c;
    c.entry = entry;
    c.cost = cost;
    c.sound = level;
    out.push_back(c);
  }
  // One record an entry, the best sound kept.
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(walked), out.end(),
            [](const auto& a, const auto& b) {
              return a.entry != b.entry ? a.entry < b.entry : a.sound > b.sound;
            });
  out.erase(std::unique(out.begin() + static_cast<std::ptrdiff_t>(walked),
                        out.end(),
                        [](const auto& a, const auto& b) {
                          return a.entry == b.entry;
                        }),
            out.end());
}

void RankedSuggester::Gather(std::string_view word,
                             std::vector<CandidateFeatures>& out) const {
  if (word.empty() || word.size() > kMaxWordLength) return;
  WalkWithinCost(word, out);
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return a.entry < b.entry;
  });
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
  std::vector<CandidateFeatures> candidates;
  Gather(word, candidates);
  // The gestalt similarity takes longest to work out, so only the candidates
  // leading without it get it; it moves a candidate by at most its weight.
  std::vector<std::pair<double, std::int32_t>> scored;
  scored.reserve(candidates.size());
  for (const CandidateFeatures& c : candidates) {
    scored.emplace_back(-Score(c, weights_), c.entry);
  }
  // Ties go to the entry first in byte order, so the result does not depend
  // on the order of the list.
  const auto by_score = [this](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first < b.first;
    const std::string_view x = entries_[static_cast<std::size_t>(a.second)];
    const std::string_view y = entries_[static_cast<std::size_t>(b.second)];
    return x != y ? x < y : a.second < b.second;
  };
  const std::size_t shortlist =
      std::min(scored.size(), std::max<std::size_t>(3 * max_count, 30));
  std::partial_sort(scored.begin(),
                    scored.begin() + static_cast<std::ptrdiff_t>(shortlist),
                    scored.end(), by_score);
  scored.resize(shortlist);
  for (auto& [score, entry] : scored) {
    score -= weights_.gestalt *
             Gestalt(word, entries_[static_cast<std::size_t>(entry)]);
  }
  const std::size_t n = std::min(max_count, scored.size());
  std::partial_sort(scored.begin(), scored.begin() + static_cast<std::ptrdiff_t>(n),
                    scored.end(), by_score);
  std::vector<RankedEntry> result;
  result.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    result.push_back({scored[i].second, -scored[i].first});
  }
  return result;
}

std::optional<double> RankedSuggester::ScoreOutsider(
    std::string_view word, std::string_view candidate,
    std::uint8_t size_code) const {
  if (word.empty() || word.size() > kMaxWordLength || candidate.empty() ||
      candidate.size() > kMaxWordLength || candidate == word) {
    return std::nullopt;
  }
  CandidateFeatures c;
  const SoundKey word_key = KeyOf(word);
  const SoundKey candidate_key = KeyOf(candidate);
  const bool same_sound =
      !word_key.view().empty() && word_key.view() == candidate_key.view();
  c.cost = WeightedDistance(word, candidate, same_sound ? kSoundCost : kNearCost);
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
