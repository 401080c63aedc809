#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "base/text.h"
#include "compression/zlib_library.h"
#include "compression/zlib_wrapper.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Text that compresses well, n bytes long.
ByteArray SampleBytes(std::size_t n) {
  ByteArray bytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    bytes[i] = static_cast<std::uint8_t>("house spelling "[i % 15]);
  }
  return bytes;
}

TEST(WorkCapacity, IsOnePercentAndTwelveBytesMoreRounded) {
  EXPECT_EQ(WorkCapacity(0), 12);
  EXPECT_EQ(WorkCapacity(100), 113);
  EXPECT_EQ(WorkCapacity(1093566), 1104514);
  EXPECT_EQ(WorkCapacity(2126221421), INT32_MAX);
  EXPECT_THROW(WorkCapacity(2126221422), Error);
  EXPECT_THROW(WorkCapacity(-1), Error);
}

TEST(ZlibWrapper, ByteArraysRoundTripOnAnyObject) {
  const ByteArray original = SampleBytes(5000);
  ByteArray data = original;
  ZlibWrapper compressor(ThreadFileSystem());
  EXPECT_EQ(compressor.CompressedSize(), 0);
  EXPECT_EQ(compressor.OriginalSize(), 0);
  ASSERT_EQ(compressor.CompressByteArray(data, 9), Z_OK);
  EXPECT_EQ(compressor.OriginalSize(), 5000);
  EXPECT_EQ(compressor.CompressedSize(), static_cast<int>(data.size()));
  ASSERT_GE(data.size(), 2u);
  EXPECT_EQ(data[0], 0x78);
  EXPECT_EQ(data[1], 0xDA);  // maximum compression
  const std::int32_t stream_length = compressor.CompressedSize();

  ByteArray copy = data;
  EXPECT_EQ(compressor.DecompressByteArray(copy, 5000, 0), Z_OK);
  EXPECT_EQ(copy, original);

  ZlibWrapper decompressor(ThreadFileSystem());
  EXPECT_EQ(decompressor.DecompressByteArray(data, 4999, 0), Z_OK);
  EXPECT_EQ(data, original);  // within the margin: still exact
  EXPECT_EQ(decompressor.OriginalSize(), 4999);
  EXPECT_EQ(decompressor.CompressedSize(), stream_length);
}

TEST(ZlibWrapper, DecompressSkipsToLStart) {
  ByteArray data = SampleBytes(300);
  ZlibWrapper wrapper(ThreadFileSystem());
  ASSERT_EQ(wrapper.CompressByteArray(data, -1), Z_OK);
  EXPECT_EQ(data[1], 0x9C);  // the library's default level
  data.insert(data.begin(), {1, 2, 3, 4});
  const auto length = static_cast<std::int32_t>(data.size());
  EXPECT_EQ(wrapper.DecompressByteArray(data, 300, 4), Z_OK);
  EXPECT_EQ(data, SampleBytes(300));
  EXPECT_EQ(wrapper.CompressedSize(), length - 4);
}

TEST(ZlibWrapper, LibraryFailuresComeBackAsCodes) {
  ByteArray data = SampleBytes(100);
  ZlibWrapper wrapper(ThreadFileSystem());
  ASSERT_EQ(wrapper.CompressByteArray(data, 9), Z_OK);
  const ByteArray stream = data;

  // Too small a capacity: what fits, from the start of the original.
  EXPECT_EQ(wrapper.DecompressByteArray(data, 0, 0), Z_BUF_ERROR);
  const ByteArray original = SampleBytes(100);
  EXPECT_EQ(data, ByteArray(original.begin(), original.begin() + 12));
  EXPECT_EQ(wrapper.OriginalSize(), 0);

  ByteArray damaged = stream;
  damaged[0] ^= 0xFF;
  EXPECT_EQ(wrapper.DecompressByteArray(damaged, 100, 0), Z_DATA_ERROR);

  // A level zlib rejects produces nothing, so the data stays as it was.
  ByteArray plain = SampleBytes(100);
  EXPECT_EQ(wrapper.CompressByteArray(plain, 10), Z_STREAM_ERROR);
  EXPECT_EQ(plain, SampleBytes(100));
  EXPECT_EQ(wrapper.OriginalSize(), 100);
  EXPECT_EQ(wrapper.CompressedSize(), 100);
}

TEST(ZlibWrapper, InvalidArgumentsThrowInsteadOfReadingOutOfBounds) {
  ByteArray data = SampleBytes(100);
  ZlibWrapper wrapper(ThreadFileSystem());
  ASSERT_EQ(wrapper.CompressByteArray(data, 9), Z_OK);
  const ByteArray stream = data;
  const auto length = static_cast<std::int32_t>(stream.size());

  ByteArray empty;
  EXPECT_THROW(wrapper.CompressByteArray(empty, 9), Error);
  EXPECT_THROW(wrapper.DecompressByteArray(empty, 100, 0), Error);
  for (std::int32_t start : {-1, length, INT32_MAX}) {
    EXPECT_THROW(wrapper.DecompressByteArray(data, 100, start), Error) << start;
  }
  EXPECT_THROW(wrapper.DecompressByteArray(data, -100, 0), Error);
  EXPECT_EQ(wrapper.OriginalSize(), -100);  // set before the failure
  EXPECT_THROW(wrapper.DecompressByteArray(data, INT32_MAX, 0), Error);
  EXPECT_EQ(data, stream);

  // The stream of an empty original decompresses to nothing, which a byte
  // array cannot hold.
  std::u16string empty_text;
  ASSERT_EQ(wrapper.CompressString(empty_text, 9), Z_OK);
  ByteArray empty_stream;
  for (char16_t c : empty_text) {
    empty_stream.push_back(static_cast<std::uint8_t>(c));
  }
  EXPECT_THROW(wrapper.DecompressByteArray(empty_stream, 10, 0), Error);
}

TEST(ZlibWrapper, StringsOfEverySingleByteCharacterRoundTrip) {
  std::u16string original;
  for (int byte = 0; byte < 256; ++byte) {
    original += FromSingleByte(std::string(1, static_cast<char>(byte)));
  }
  original += original;
  std::u16string text = original;
  ZlibWrapper wrapper(ThreadFileSystem());
  ASSERT_EQ(wrapper.CompressString(text, 9), Z_OK);
  EXPECT_EQ(wrapper.OriginalSize(), 512);
  EXPECT_EQ(wrapper.CompressedSize(), static_cast<int>(text.size()));
  EXPECT_NE(text, original);
  ASSERT_EQ(wrapper.DecompressString(text, 512), Z_OK);
  EXPECT_EQ(text, original);
  EXPECT_EQ(wrapper.CompressedSize(), 512);  // the decompressed length

  std::u16string empty;
  ASSERT_EQ(wrapper.CompressString(empty, 9), Z_OK);
  EXPECT_EQ(wrapper.DecompressString(empty, 0), Z_OK);
  EXPECT_EQ(empty, u"");
  EXPECT_THROW(wrapper.DecompressString(empty, -1), Error);
}

TEST(ZlibWrapper, CompressFileWritesTheLengthThenTheStream) {
  TempDir dir;
  const std::string original(70000, 'q');
  WriteBytes(dir.File("in.txt"), original);
  WriteBytes(dir.File("in.qz"), "an older file, replaced");
  std::filesystem::create_symlink(dir.File("target"), dir.File("link.qz"));
  WriteBytes(dir.File("target"), "not to be written through");

  ZlibWrapper wrapper(ThreadFileSystem());
  for (const char* out : {"in.qz", "link.qz"}) {
    ASSERT_EQ(wrapper.CompressFile(FromUtf8(dir.File("in.txt")),
                                   FromUtf8(dir.File(out)), 9),
              Z_OK);
    const std::string file = ReadBytes(dir.File(out));
    EXPECT_EQ(file.size(),
              4u + static_cast<std::size_t>(wrapper.CompressedSize()));
    EXPECT_EQ(file.substr(0, 4), std::string("\x70\x11\x01\x00", 4));  // 70000
    EXPECT_EQ(wrapper.OriginalSize(), 70000);
  }
  EXPECT_FALSE(std::filesystem::is_symlink(dir.File("link.qz")));
  EXPECT_EQ(ReadBytes(dir.File("target")), "not to be written through");

  const auto file_length =
      static_cast<std::int32_t>(std::filesystem::file_size(dir.File("in.qz")));
  ASSERT_EQ(wrapper.DecompressFile(FromUtf8(dir.File("in.qz")),
                                   FromUtf8(dir.File("out.txt"))),
            Z_OK);
  EXPECT_EQ(ReadBytes(dir.File("out.txt")), original);
  EXPECT_EQ(wrapper.CompressedSize(), file_length);
  EXPECT_EQ(wrapper.OriginalSize(), 70000);
}

TEST(ZlibWrapper, FileOperationsRejectMissingEmptyAndTruncatedFiles) {
  TempDir dir;
  ZlibWrapper wrapper(ThreadFileSystem());
  const std::u16string out = FromUtf8(dir.File("out"));
  try {
    wrapper.CompressFile(FromUtf8(dir.File("missing")), out, 9);
    ADD_FAILURE();
  } catch (const std::system_error& e) {
    EXPECT_NE(std::string(e.what()).find(dir.File("missing")),
              std::string::npos);
  }
  WriteBytes(dir.File("empty"), "");
  EXPECT_THROW(wrapper.CompressFile(FromUtf8(dir.File("empty")), out, 9),
               Error);
  EXPECT_THROW(wrapper.DecompressFile(FromUtf8(dir.File("empty")), out), Error);
  WriteBytes(dir.File("short"), "\x05\x00");
  EXPECT_THROW(wrapper.DecompressFile(FromUtf8(dir.File("short")), out), Error);
  WriteBytes(dir.File("negative"), std::string("\xFF\xFF\xFF\xFF\x78\xDA", 6));
  EXPECT_THROW(wrapper.DecompressFile(FromUtf8(dir.File("negative")), out),
               Error);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out")));
}

TEST(ZlibLibrary, AcceptsOnlyAZlibLikeTheOneBuiltAgainst) {
  EXPECT_NO_THROW(EnsureZlibLibrary());
  const unsigned long flags = zlibCompileFlags();
  EXPECT_NO_THROW(CheckZlibCompatible(ZLIB_VERSION, flags));
  try {
    CheckZlibCompatible("2.0.0", flags);
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("2.0.0"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find(ZLIB_VERSION), std::string::npos);
  }
  EXPECT_THROW(CheckZlibCompatible(ZLIB_VERSION, flags ^ 0x0C), Error);
  EXPECT_THROW(CheckZlibCompatible(nullptr, flags), Error);
}

}  // namespace
}  // namespace quenvar
