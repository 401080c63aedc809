// Arbitrary bytes and sizes through the zlib wrapper's decompressions: the
// byte array (any start), the string in its single-byte form and from any
// UTF-16, and the size-prefixed file. Each must throw Error exactly for the
// arguments it rejects, and otherwise return what zlib's own inflate makes
// of the same stream in a buffer of WorkCapacity(size) bytes: the whole
// output on Z_OK; on a failure the part made before it, or the data
// unchanged when that part is empty. A compression round trip must give the
// data back whenever the size asked for leaves room for it.
//
// Input: one byte choosing the operation, a size (4 bytes, little-endian), a
// start or compression level (4 bytes), then the data.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "base/text.h"
#include "compression/zlib_wrapper.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using fuzzing::Require;

// Whether size is one the operations take: not negative, and with a work
// capacity that fits.
bool SizeAccepted(std::int32_t size) {
  try {
    WorkCapacity(size);
    return true;
  } catch (const Error&) {
    return false;
  }
}

// A size whose work buffer would take more than about a megabyte is taken
// modulo that, so that no run allocates gigabytes. Negative sizes and those
// whose capacity overflows are kept: they are rejected before allocating.
constexpr std::int32_t kLargestSize = 1 << 20;

std::int32_t BoundedSize(std::uint32_t raw) {
  const auto size = static_cast<std::int32_t>(raw);
  if (size <= kLargestSize || !SizeAccepted(size)) return size;
  return size % (kLargestSize + 1);
}

// What inflate makes of a whole zlib stream with room for limit bytes, and
// whether the stream ended within that room.
struct Inflated {
  ByteArray bytes;
  bool complete = false;
};

Inflated Inflate(const std::uint8_t* stream, std::size_t length,
                 std::size_t limit) {
  Inflated result;
  result.bytes.resize(limit);
  z_stream z{};
  Require(inflateInit(&z) == Z_OK);
  z.next_in = const_cast<Bytef*>(stream);
  z.avail_in = static_cast<uInt>(length);
  z.next_out = result.bytes.data();
  z.avail_out = static_cast<uInt>(limit);
  result.complete = inflate(&z, Z_FINISH) == Z_STREAM_END;
  result.bytes.resize(limit - z.avail_out);
  inflateEnd(&z);
  return result;
}

// Checks the outcome of one decompression of stream for size: the code, and
// the data it left (after, or std::nullopt when it threw) against before.
void CheckOutcome(const ByteArray& stream, std::int32_t size,
                  const ByteArray& before,
                  const std::optional<ByteArray>& after, std::int32_t code) {
  const std::size_t capacity = static_cast<std::size_t>(WorkCapacity(size));
  const Inflated expected = Inflate(stream.data(), stream.size(), capacity);
  if (!after) {  // only an empty result throws
    Require(expected.complete && expected.bytes.empty());
    return;
  }
  Require((code == Z_OK) == expected.complete);
  // A failure that produced nothing leaves the data as it was.
  Require(*after == expected.bytes ||
          (code != Z_OK && expected.bytes.empty() && *after == before));
}

ByteArray BytesOf(std::string_view text) {
  return ByteArray(text.begin(), text.end());
}

std::string StringOf(const ByteArray& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

void DecompressArray(const ByteArray& data, std::int32_t size,
                     std::int32_t start) {
  ZlibWrapper zlib(ThreadFileSystem());
  ByteArray result = data;
  const bool rejected = data.empty() || start < 0 ||
                        static_cast<std::size_t>(start) >= data.size() ||
                        !SizeAccepted(size);
  std::int32_t code = Z_OK;
  std::optional<ByteArray> after;
  try {
    code = zlib.DecompressByteArray(result, size, start);
    after = result;
  } catch (const Error&) {
    Require(zlib.OriginalSize() == size);
    if (rejected) return;
  }
  Require(!rejected);
  const ByteArray stream(data.begin() + start, data.end());
  CheckOutcome(stream, size, data, after, code);
  if (after) {
    Require(zlib.CompressedSize() ==
            static_cast<std::int32_t>(data.size()) - start);
  }
}

void DecompressText(const std::u16string& text, std::int32_t size) {
  ZlibWrapper zlib(ThreadFileSystem());
  std::u16string result = text;
  std::int32_t code = Z_OK;
  try {
    code = zlib.DecompressString(result, size);
  } catch (const Error&) {
    Require(!SizeAccepted(size) && zlib.OriginalSize() == size);
    return;
  }
  Require(SizeAccepted(size));
  const ByteArray stream = BytesOf(ToSingleByte(text));
  CheckOutcome(stream, size, stream, BytesOf(ToSingleByte(result)), code);
  Require(zlib.CompressedSize() == static_cast<std::int32_t>(result.size()));
}

const testing::TempDir& Folder() {
  static const testing::TempDir folder;
  return folder;
}

void DecompressPrefixedFile(const std::string& content) {
  const std::string in = Folder().File("in.z");
  const std::string out = Folder().File("out");
  testing::WriteBytes(in, content);
  std::uint32_t stored = 0;
  for (std::size_t i = 0; i < 4 && i < content.size(); ++i) {
    stored |= std::uint32_t{static_cast<unsigned char>(content[i])} << (8 * i);
  }
  const auto size = static_cast<std::int32_t>(stored);
  const bool rejected = content.size() < 4 || !SizeAccepted(size);
  ZlibWrapper zlib(ThreadFileSystem());
  std::int32_t code = Z_OK;
  std::optional<ByteArray> after;
  try {
    code = zlib.DecompressFile(FromUtf8(in), FromUtf8(out));
    after = BytesOf(testing::ReadBytes(out));
  } catch (const Error&) {
    if (rejected) return;
  }
  Require(!rejected && zlib.OriginalSize() == size);
  // The stream moves to the front of a buffer as long as the file.
  ByteArray stream = BytesOf(content.substr(4));
  stream.resize(content.size(), 0);
  CheckOutcome(stream, size, stream, after, code);
  if (after) {
    Require(zlib.CompressedSize() == static_cast<std::int32_t>(content.size()));
  }
}

// Compresses data at level, then decompresses it for size n + slack.
void RoundTrip(const ByteArray& data, std::int16_t level, std::int32_t slack) {
  if (data.empty()) return;
  ZlibWrapper zlib(ThreadFileSystem());
  ByteArray packed = data;
  Require(zlib.CompressByteArray(packed, level) == Z_OK);
  const std::int32_t n = static_cast<std::int32_t>(data.size());
  const std::int32_t size = std::max(0, n + slack);
  const std::int32_t code = zlib.DecompressByteArray(packed, size, 0);
  if (WorkCapacity(size) >= n) {
    Require(code == Z_OK && packed == data);
  } else {
    Require(code == Z_BUF_ERROR);
  }

  std::u16string text = FromSingleByte(StringOf(data));
  Require(zlib.CompressString(text, level) == Z_OK);
  Require(zlib.DecompressString(text, n) == Z_OK &&
          ToSingleByte(text) == StringOf(data));
}

}  // namespace
}  // namespace quenvar

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace quenvar;
  fuzzing::FuzzInput input(data, size);
  const std::uint8_t operation = input.Byte();
  const std::uint32_t raw_size = input.Word32();
  const std::uint32_t extra = input.Word32();
  const std::int32_t bounded = BoundedSize(raw_size);
  switch (operation % 6) {
    case 0: {
      const ByteArray bytes = BytesOf(input.RestBytes());
      // Mostly a start inside the data; any start now and then.
      const std::int32_t start =
          (operation & 0x80) != 0
              ? static_cast<std::int32_t>(extra)
              : static_cast<std::int32_t>(extra % (bytes.size() + 1));
      DecompressArray(bytes, bounded, start);
      break;
    }
    case 1:
      DecompressText(FromSingleByte(input.RestBytes()), bounded);
      break;
    case 2:
      DecompressText(input.RestUtf16(), bounded);
      break;
    case 3: {
      std::string content;
      for (int i = 0; i < 4; ++i) {
        content.push_back(static_cast<char>(
            static_cast<std::uint32_t>(bounded) >> (8 * i)));
      }
      content += input.RestBytes();
      DecompressPrefixedFile(content);
      break;
    }
    case 4:  // a file too short for its prefix
      DecompressPrefixedFile(std::string(input.Bytes(3)));
      break;
    case 5:
      RoundTrip(BytesOf(input.RestBytes()),
                static_cast<std::int16_t>(extra % 11) - 1,
                static_cast<std::int32_t>(extra >> 8) % 64 - 32);
      break;
  }
  return 0;
}
