// Build tool: turns the built-in word list text into the component's "DIC"
// resource 101, and the list's details into resource 102. Compresses the
// list at level 9 with zlib into the blob layout (the text's length as 4
// bytes, little-endian; the zlib stream; one zero byte), packs the details
// as resources/word_details_format.h lays them out, and writes a C++ source
// that embeds both, and a header with the number of lines of two or more
// characters, which is the capacity of the main word list.
//
// Usage: embed_word_list WORD_LIST_TEXT WORD_DETAILS_TEXT BLOB_SOURCE
//                        CAPACITY_HEADER

#include <zlib.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <quenvarspell/types.h>

#include "base/byte_coding.h"
#include "base/file_system.h"
#include "base/text_lines.h"
#include "resources/word_details_format.h"

namespace quenvar {
namespace {

ByteArray MakeBlob(const std::string& text) {
  if (text.size() > UINT32_MAX) throw Error("the word list is too long");
  // The text's length in four bytes, low byte first, the stream, a zero.
  ByteArray blob;
  AppendLengthPrefix(blob, static_cast<std::uint32_t>(text.size()));
  uLongf stream_size = compressBound(text.size());
  blob.resize(kLengthPrefixSize + stream_size);
  const int code =
      compress2(blob.data() + kLengthPrefixSize, &stream_size,
                reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
  if (code != Z_OK) {
    throw Error("compressing the word list failed with zlib code " +
                std::to_string(code));
  }
  blob.resize(kLengthPrefixSize + stream_size);
  blob.push_back(0);
  return blob;
}

// The spellings byte of an entry that not every spelling holds, from the
// markers that name those that do ("GB CA AU").
std::uint8_t PackSpellings(std::string_view markers, std::size_t line) {
  static constexpr std::pair<std::string_view, Spelling> kMarkers[] = {
      {"US", Spelling::kAmerican},      {"GB", Spelling::kBritish},
      {"GB-ize", Spelling::kBritishIze}, {"CA", Spelling::kCanadian},
      {"AU", Spelling::kAustralian},
  };
  std::uint8_t bits = 0;
  while (!markers.empty()) {
    const std::string_view marker = markers.substr(0, markers.find(' '));
    markers.remove_prefix(std::min(marker.size() + 1, markers.size()));
    const auto known = std::find_if(std::begin(kMarkers), std::end(kMarkers),
                                    [&](const auto& m) { return m.first == marker; });
    if (known == std::end(kMarkers)) {
      throw Error("word details line " + std::to_string(line) +
                  " names an unknown spelling");
    }
    bits |= SpellingBit(known->second);
  }
  return bits;
}

// Gives each entry of bytes (one byte an entry) the code of its spellings
// byte: the seven commonest bytes get codes of their own, in order of how
// many entries have them, and the other entries are listed. Appends the
// codes' bytes and the listed entries.
void AppendSpellings(ByteArray& bytes, const ByteArray& spellings) {
  std::array<std::size_t, 256> count{};
  for (std::uint8_t s : spellings) ++count[s];
  std::array<std::uint8_t, kSpellingsCodes> table{};
  std::array<std::uint8_t, 256> code_of;
  code_of.fill(kListedSpellings);
  for (std::uint8_t code = 0; code < kListedSpellings; ++code) {
    const auto commonest = std::max_element(count.begin(), count.end());
    if (*commonest == 0) break;
    table[code] = static_cast<std::uint8_t>(commonest - count.begin());
    code_of[table[code]] = code;
    *commonest = 0;
  }
  ByteArray listed;
  std::uint32_t listed_count = 0;
  for (std::size_t i = 0; i < spellings.size(); ++i) {
    const std::uint8_t code = code_of[spellings[i]];
    bytes[i] = static_cast<std::uint8_t>(bytes[i] | code << kSpellingsShift);
    if (code != kListedSpellings) continue;
    AppendLengthPrefix(listed, static_cast<std::uint32_t>(i));
    listed.push_back(spellings[i]);
    ++listed_count;
  }
  bytes.insert(bytes.end(), table.begin(), table.end());
  AppendLengthPrefix(bytes, listed_count);
  bytes.insert(bytes.end(), listed.begin(), listed.end());
}

// Packs word_details.txt, one line for each line of the list: the SCOWL size
// class, then nothing (lower case), "^" (capital first), "=" (all capitals)
// or a space and the written form; then, for an entry that not every
// spelling holds, a tab and the markers of those that do.
ByteArray PackDetails(std::string_view list, std::string_view details) {
  std::vector<std::string_view> list_lines, detail_lines;
  ForEachLine(list, [&](std::string_view line) {
    list_lines.push_back(line);
    return true;
  });
  ForEachLine(details, [&](std::string_view line) {
    detail_lines.push_back(line);
    return true;
  });
  if (list_lines.size() != detail_lines.size()) {
    throw Error("the word details have " + std::to_string(detail_lines.size()) +
                " lines for the list's " + std::to_string(list_lines.size()));
  }
  ByteArray bytes, spellings, records;
  for (std::size_t i = 0; i < list_lines.size(); ++i) {
    if (list_lines[i].size() < 2) continue;
    std::string_view line = detail_lines[i];
    const std::size_t tab = line.find('\t');
    spellings.push_back(tab == std::string_view::npos
                            ? kEverySpelling
                            : PackSpellings(line.substr(tab + 1), i + 1));
    line = line.substr(0, tab);
    int size = 0;
    const auto [rest, error] = std::from_chars(line.data(), line.data() + line.size(), size);
    const auto code = std::find(kSizeClasses.begin(), kSizeClasses.end(), size);
    if (error != std::errc() || code == kSizeClasses.end()) {
      throw Error("word details line " + std::to_string(i + 1) + " has no known size class");
    }
    const std::string_view tail(rest, static_cast<std::size_t>(line.data() + line.size() - rest));
    WrittenCase written = WrittenCase::kLower;
    if (tail == "^") {
      written = WrittenCase::kCapitalFirst;
    } else if (tail == "=") {
      written = WrittenCase::kAllCapitals;
    } else if (tail.size() > 1 && tail[0] == ' ') {
      written = WrittenCase::kOwnForm;
      AppendLengthPrefix(records, static_cast<std::uint32_t>(bytes.size()));
      records.insert(records.end(), tail.begin() + 1, tail.end());
      records.push_back(0);
    } else if (!tail.empty()) {
      throw Error("word details line " + std::to_string(i + 1) + " is not understood");
    }
    bytes.push_back(static_cast<std::uint8_t>(
        (code - kSizeClasses.begin()) | static_cast<int>(written) << kWrittenCaseShift));
  }
  AppendSpellings(bytes, spellings);
  bytes.insert(bytes.end(), records.begin(), records.end());
  return bytes;
}

// The C++ source lines of a byte array named name.
std::string ArraySource(const char* name, const ByteArray& blob) {
  std::string source = std::string("constexpr std::uint8_t ") + name + "[] = {";
  for (std::size_t i = 0; i < blob.size(); ++i) {
    if (i % 20 == 0) source += "\n   ";
    source += std::to_string(blob[i]) + ',';
  }
  return source + "\n};\n\n";
}

std::string BlobSource(const ByteArray& list_blob, const ByteArray& details) {
  std::string source =
      "// Generated by embed_word_list from the built-in word list; do not "
      "edit.\n\n#include \"resources/word_list_blob.h\"\n\n"
      "namespace quenvar {\nnamespace {\n\n";
  source += ArraySource("kListBlob", list_blob);
  source += ArraySource("kDetails", details);
  source +=
      "}  // namespace\n\n"
      "std::span<const std::uint8_t> WordListBlob() { return kListBlob; }\n"
      "std::span<const std::uint8_t> WordDetailsBytes() { return kDetails; }\n\n"
      "}  // namespace quenvar\n";
  return source;
}

std::string CapacityHeader(const std::string& text) {
  std::int64_t words = 0;
  ForEachLine(text, [&](std::string_view line) {
    words += line.size() >= 2;
    return true;
  });
  return "// Generated by embed_word_list from the built-in word list; do not "
         "edit.\n\n#ifndef QUENVARSPELL_RESOURCES_WORD_LIST_CAPACITY_H_\n"
         "#define QUENVARSPELL_RESOURCES_WORD_LIST_CAPACITY_H_\n\n"
         "#include <cstdint>\n\nnamespace quenvar {\n\n"
         "// The number of lines of two or more characters of the built-in "
         "word list.\ninline constexpr std::int32_t kBuiltInWordCount = " +
         std::to_string(words) +
         ";\n\n}  // namespace quenvar\n\n"
         "#endif  // QUENVARSPELL_RESOURCES_WORD_LIST_CAPACITY_H_\n";
}

}  // namespace
}  // namespace quenvar

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: %s WORD_LIST_TEXT WORD_DETAILS_TEXT BLOB_SOURCE "
                 "CAPACITY_HEADER\n",
                 argv[0]);
    return 2;
  }
  try {
    const quenvar::FileSystem files;
    const std::string text = quenvar::ReadFile(files, argv[1]);
    if (text.empty()) throw quenvar::Error("the word list is empty");
    const std::string details = quenvar::ReadFile(files, argv[2]);
    quenvar::ReplaceFile(
        files, argv[3],
        quenvar::BlobSource(quenvar::MakeBlob(text),
                            quenvar::PackDetails(text, details)));
    quenvar::ReplaceFile(files, argv[4], quenvar::CapacityHeader(text));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "embed_word_list: %s\n", e.what());
    return 1;
  }
  return 0;
}
