#include "dictionary/custom_list.h"

#include <pwd.h>
#include <unistd.h>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <unordered_set>

#include "base/ascii.h"
#include "base/code_location.h"
#include "base/file_system.h"
#include "base/text.h"
#include "base/text_lines.h"

namespace quenvar {
namespace {

std::string FileOrDefault(std::u16string_view sFile) {
  return sFile.empty() ? DefaultCustomFile() : FileSystemPath(sFile);
}

// Offsets in the words' bytes, plus one, fit in a slot.
constexpr std::size_t kMostBytes = UINT32_MAX - 1;

std::uint64_t HashOfLowered(std::u16string_view lowered) {
  return XXH3_64bits(lowered.data(), lowered.size() * sizeof(char16_t));
}

// Whether the word that starts rest, a single-byte form ended by '\n',
// lower-cases to lowered, lower-casing into scratch only where a plain
// comparison cannot decide: in a word without combining marks, ASCII letters
// other than I lower-case to one letter in every locale.
bool LowersTo(std::string_view rest, std::u16string_view lowered, std::u16string& scratch) {
  for (std::size_t i = 0;; ++i) {
    const auto b = static_cast<unsigned char>(rest[i]);
    if (b == '\n') return i == lowered.size();
    if (b >= 0x80 || b == 'I') {
      FromSingleByte(rest.substr(0, rest.find('\n', i)), scratch);
      return ToLower(scratch) == lowered;
    }
    if (i == lowered.size() || AsciiLower(b) != lowered[i]) return false;
  }
}

// Whether word can stand in its single-byte form among the narrow words.
bool IsNarrow(std::u16string_view word) {
  return std::all_of(word.begin(), word.end(), [](char16_t c) {
    return c != u'\r' && c != u'\n' && SingleByteOf(c) >= 0;
  });
}

}  // namespace

WordArray CustomWordList::words() const {
  if (count_ == 0) return std::nullopt;
  std::vector<std::u16string> words;
  words.reserve(count_);
  ForEachWord([&](std::u16string_view word) { words.emplace_back(word); });
  return words;
}

std::u16string CustomWordList::WordAt(Position position) const {
  if (!IsNarrowAt(position.at)) return wide_[position.wide];
  const std::string_view rest = BytesFrom(position.at);
  return FromSingleByte(rest.substr(0, rest.find('\n')));
}

void CustomWordList::Add(std::u16string_view word) {
  const bool narrow = IsNarrow(word);
  if (bytes_.size() + (narrow ? word.size() : kWideEntry.size()) + 1 > kMostBytes) {
    throw Error("the custom list cannot hold more words");
  }
  if (!narrow) {
    std::u16string lowered = ToLower(word);
    wide_.emplace_back(word);
    wide_lowered_.insert(std::move(lowered));
    bytes_ += kWideEntry;
    bytes_ += '\n';
    ++count_;
    return;
  }
  if ((taken_ + 1) * 4 > slots_.size() * 3) Reindex(std::max<std::size_t>(16, 2 * count_));
  const auto offset = static_cast<std::uint32_t>(bytes_.size());
  bytes_ += ToSingleByte(word);
  bytes_ += '\n';
  ++count_;
  const std::u16string lowered = ToLower(word);
  std::u16string scratch;
  Place(offset, lowered, HashOfLowered(lowered), scratch);
}

void CustomWordList::Load(std::string content) {
  std::size_t words = 0;
  std::size_t kept = 0;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) {
      ++words;
      kept += line.size();
    }
    return true;
  });
  if (words == 0) return;
  if (kept + words > kMostBytes) throw Error("the custom file is too large to load");
  // Each word is moved down to the front of content and ended by '\n' in
  // place of its line end; only a last line without one needs a byte more.
  if (kept + words > content.size()) content.reserve(kept + words);
  std::size_t stored = 0;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() < 2) return true;
    if (stored > 0) content[stored++] = '\n';  // before this line: read already
    std::memmove(content.data() + stored, line.data(), line.size());
    stored += line.size();
    return true;
  });
  content.resize(stored + 1);
  content[stored] = '\n';

  CustomWordList loaded;
  loaded.bytes_ = std::move(content);
  loaded.count_ = words;
  loaded.Reindex(words);
  *this = std::move(loaded);
}

bool CustomWordList::ContainsLowered(std::u16string_view lowered) const {
  if (!slots_.empty()) {
    std::u16string scratch;
    if (slots_[FindSlot(lowered, HashOfLowered(lowered), scratch)] != 0) return true;
  }
  return !wide_lowered_.empty() && wide_lowered_.contains(std::u16string(lowered));
}

void CustomWordList::Place(std::uint32_t offset, std::u16string_view lowered,
                           std::uint64_t hash, std::u16string& scratch) {
  const std::size_t slot = FindSlot(lowered, hash, scratch);
  if (slots_[slot] != 0) return;
  slots_[slot] = offset + 1;
  ++taken_;
}

std::size_t CustomWordList::HomeSlot(std::uint64_t hash) const {
  // The hash scaled to the table, without a division.
  __extension__ using Wide = unsigned __int128;
  return static_cast<std::size_t>((static_cast<Wide>(hash) * slots_.size()) >> 64);
}

std::size_t CustomWordList::FindSlot(std::u16string_view lowered, std::uint64_t hash,
                                     std::u16string& scratch) const {
  std::size_t slot = HomeSlot(hash);
  for (;; slot = slot + 1 == slots_.size() ? 0 : slot + 1) {
    const std::uint32_t held = slots_[slot];
    if (held == 0) return slot;
    if (LowersTo(std::string_view(bytes_).substr(held - 1), lowered, scratch)) return slot;
  }
}

void CustomWordList::Reindex(std::size_t words) {
  slots_.assign(words + words / 3 + 1, 0);
  taken_ = 0;
  // The words go in a batch at a time, each batch's slots fetched into the
  // cache together, as a large table's slots are each a miss.
  constexpr std::size_t kBatch = 16;
  struct Pending {
    std::uint32_t offset;
    std::uint64_t hash;
    std::u16string lowered;
  };
  std::array<Pending, kBatch> batch;
  std::u16string scratch;
  for (std::size_t at = 0; at < bytes_.size();) {
    std::size_t pending = 0;
    while (pending < kBatch && at < bytes_.size()) {
      const std::size_t end = bytes_.find('\n', at);
      const std::string_view entry(bytes_.data() + at, end - at);
      if (entry != kWideEntry) {
        Pending& next = batch[pending++];
        next.offset = static_cast<std::uint32_t>(at);
        FromSingleByte(entry, scratch);
        ToLower(scratch, next.lowered);
        next.hash = HashOfLowered(next.lowered);
        __builtin_prefetch(&slots_[HomeSlot(next.hash)]);
      }
      at = end + 1;
    }
    for (std::size_t i = 0; i < pending; ++i) {
      Place(batch[i].offset, batch[i].lowered, batch[i].hash, scratch);
    }
  }
}

void AddToCustom(const std::u16string& sWord) {
  ThreadCustomWords().Add(sWord);
}

bool IsInCustom(std::u16string_view sWord) {
  return ThreadCustomWords().ContainsLowered(ToLower(sWord));
}

void SaveCustom(std::u16string_view sFile) {
  const std::string path = FileOrDefault(sFile);
  std::string content;
  ThreadCustomWords().ForEachWord([&](std::u16string_view word) {
    content += ToSingleByte(word);
    content += "\r\n";
  });
  ReplaceFile(ThreadFileSystem(), path, content);
}

void LoadCustom(std::u16string_view sFile) { LoadCustomFile(FileOrDefault(sFile)); }

void LoadCustomFile(const std::string& path) {
  ThreadCustomWords().Load(ReadFile(ThreadFileSystem(), path));
}

std::string DefaultCustomFile() {
  const std::string file =
      FileHoldingCode(reinterpret_cast<const void*>(&DefaultCustomFile));
  if (file.empty()) throw Error("cannot find the component's own file");
  return file.substr(0, file.rfind('/')) + "/qzvcust.dic";
}

std::optional<std::string> ReasonCustomFileCannotKeep(std::u16string_view word) {
  if (word.size() < 2) return "is shorter than two characters";
  if (word.find_first_of(u"\r\n") != std::u16string_view::npos) {
    return "holds a line break";
  }
  if (!std::all_of(word.begin(), word.end(),
                   [](char16_t c) { return SingleByteOf(c) >= 0; })) {
    return "holds characters that Windows-1252 lacks";
  }
  return std::nullopt;
}

std::vector<std::u16string> MergeIntoCustomFile(const std::string& path,
                                                std::span<const std::u16string> words) {
  for (const std::u16string& word : words) {
    if (const std::optional<std::string> reason = ReasonCustomFileCannotKeep(word)) {
      throw Error("\"" + ToUtf8(word) + "\" " + *reason + "; nothing added to '" + path +
                  "'");
    }
  }
  std::vector<std::u16string> added;
  if (words.empty()) return added;
  const FileSystem& files = ThreadFileSystem();
  const std::size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) CreateFolders(files, path.substr(0, slash));
  // Other processes adding to the file wait until this one has read it,
  // merged and saved, so that no one's words are lost.
  const FileLock lock(files, path);
  std::string content;
  try {
    content = ReadFile(files, path);
  } catch (const std::system_error& e) {
    if (e.code() != std::errc::no_such_file_or_directory) throw;
  }
  std::unordered_set<std::u16string> held;
  ForEachLine(content, [&](std::string_view line) {
    if (line.size() >= 2) held.insert(ToLower(FromSingleByte(line)));
    return true;
  });
  std::string lines;
  for (const std::u16string& word : words) {
    if (!held.insert(ToLower(word)).second) continue;
    lines += ToSingleByte(word);
    lines += "\r\n";
    added.push_back(word);
  }
  if (added.empty()) return added;
  if (!content.empty() && content.back() != '\n' && content.back() != '\r') content += "\r\n";
  ReplaceFile(files, path, content + lines);
  return added;
}

std::string PersonalDictionaryPath() {
  std::string data_home;
  if (const char* xdg = std::getenv("XDG_DATA_HOME")) data_home = xdg;
  if (!data_home.starts_with('/')) {
    std::string home;
    if (const char* variable = std::getenv("HOME")) home = variable;
    if (home.empty()) {
      if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
      }
    }
    if (home.empty()) {
      throw Error("cannot find the home folder for the personal dictionary");
    }
    data_home = home + "/.local/share";
  }
  return data_home + "/quenvarspell/personal.dic";
}

}  // namespace quenvar
