#include "suggest/sorted_entries.h"

#include <algorithm>

namespace quenvar {
namespace {

using Byte = unsigned char;

// The filter's 64-bit words, and the number of bits an entry sets in one.
constexpr int kFilterWordsLog = 13;
constexpr int kBitsAnEntry = 2;
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

}  // namespace

// Eight bytes a multiply: lookups are many and short.
SortedEntries::Rest SortedEntries::PrepareRest(std::string_view rest) {
  std::uint64_t h = rest.size() * kMultiplier;
  std::uint64_t eight = 0;
  for (std::size_t k = 0; k < rest.size(); ++k) {
    eight |= std::uint64_t{static_cast<Byte>(rest[k])} << (8 * (k % 8));
    if (k % 8 == 7 || k + 1 == rest.size()) {
      h = (h ^ eight) * kMultiplier;
      eight = 0;
    }
  }
  return {rest, h};
}

// An entry's filter bits lie in one word, so a lookup reads one.
SortedEntries::FilterBits SortedEntries::FilterBitsOf(std::uint8_t head, const Rest& rest) {
  std::uint64_t h = (rest.hash ^ (std::uint64_t{head} + 1) * 0xC2B2AE3D27D4EB4Fu) * kMultiplier;
  h ^= h >> 29;
  std::uint64_t bits = 0;
  for (int k = 0; k < kBitsAnEntry; ++k) bits |= std::uint64_t{1} << (h >> (6 * k) & 63);
  return {static_cast<std::size_t>(h >> (64 - kFilterWordsLog)), bits};
}

SortedEntries::SortedEntries(const WordListEntries& entries) : entries_(entries) {
  bool sorted = true;
  std::size_t empty = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    empty += entries_[i].empty();
    if (sorted && i > 0 && entries_[i] < entries_[i - 1]) sorted = false;
  }
  if (!sorted) {
    // Empty entries sort first, in index order; a list loaded from a file
    // shorter than the list leaves most entries empty, so only the others
    // are sorted.
    order_.resize(entries_.size());
    std::size_t next_empty = 0, next_word = empty;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      order_[entries_[i].empty() ? next_empty++ : next_word++] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(order_.begin() + static_cast<std::ptrdiff_t>(empty), order_.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return entries_[a] < entries_[b]; });
  }
  FillByteStarts(empty);
  FillPrefixTables();
}

void SortedEntries::FillByteStarts(std::size_t empty) {
  // The empty entries sort first and belong to no first byte's range.
  std::size_t p = empty;
  for (std::size_t b = 0; b < 256; ++b) {
    first_byte_starts_[b] = static_cast<std::uint32_t>(p);
    while (p < size() && static_cast<Byte>(Entry(p)[0]) == b) ++p;
  }
  first_byte_starts_[256] = static_cast<std::uint32_t>(p);
  for (std::size_t f = 0; f < 26; ++f) {
    const std::size_t row = f * (kSecondClasses + 1);
    std::size_t q = first_byte_starts_['a' + f];
    const std::size_t stop = first_byte_starts_['a' + f + 1];
    const auto second_class = [this](std::size_t position) {
      const std::string_view e = Entry(position);
      return e.size() < 2 ? 0 : SecondClass(static_cast<Byte>(e[1]));
    };
    for (std::size_t k = 0; k < kSecondClasses; ++k) {
      pair_starts_[row + k] = static_cast<std::uint32_t>(q);
      while (q < stop && second_class(q) == k) ++q;
    }
    pair_starts_[row + kSecondClasses] = static_cast<std::uint32_t>(stop);
  }
}

// Of the empty entries, which sort first, nothing is looked up or walked.
void SortedEntries::FillPrefixTables() {
  const std::size_t words = ByteStart(0);
  filter_.assign(std::size_t{1} << kFilterWordsLog, 0);
  for (std::size_t q = words; q < size(); ++q) {
    const std::string_view e = Entry(q);
    const FilterBits bits = FilterBitsOf(static_cast<Byte>(e[0]), PrepareRest(e.substr(1)));
    filter_[bits.word] |= bits.bits;
  }
  shared_.resize(size());
  static_assert(kDicCapacity < std::int32_t{1} << 24, "a branch's end fits 24 bits");
  branches_.assign(size(), static_cast<std::uint32_t>(size()) << 8);
  for (std::size_t q = std::max<std::size_t>(words, 1); q < size(); ++q) {
    const std::string_view a = Entry(q - 1), b = Entry(q);
    const std::size_t limit = std::min({a.size(), b.size(), kSharedCap});
    std::size_t k = 0;
    while (k < limit && a[k] == b[k]) ++k;
    shared_[q] = static_cast<std::uint8_t>(k | (a == b ? kDuplicate : 0));
    if (k < b.size()) branches_[q] |= static_cast<Byte>(b[k]);
  }
  // A branch ends at the first position that shares no more bytes with the
  // one before than its own first does (a duplicate shares every byte): the
  // positions whose branches are still open wait on a stack, their shared
  // bytes ascending.
  std::vector<std::uint32_t> open;
  for (std::size_t q = 0; q < size(); ++q) {
    while (!open.empty() && shared_[open.back()] >= shared_[q]) {
      std::uint32_t& branch = branches_[open.back()];
      branch = static_cast<std::uint32_t>(q) << 8 | (branch & 0xFF);
      open.pop_back();
    }
    open.push_back(static_cast<std::uint32_t>(q));
  }
}

std::size_t SortedEntries::Find(std::uint8_t head, const Rest& prepared) const {
  const FilterBits bits = FilterBitsOf(head, prepared);
  if ((filter_[bits.word] & bits.bits) != bits.bits) return kNotFound;
  const std::string_view rest = prepared.bytes;
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
    (before(Entry(mid)) ? lo = mid + 1 : hi = mid);
  }
  return lo < stop && Entry(lo).substr(1) == rest ? lo : kNotFound;
}

}  // namespace quenvar
