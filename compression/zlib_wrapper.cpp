#include "compression/zlib_wrapper.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

#include <quenvarspell/types.h>

#include "base/byte_coding.h"
#include "base/file_system.h"
#include "base/text.h"

namespace quenvar {
namespace {

const Bytef* BytesOf(const std::string& text) {
  return reinterpret_cast<const Bytef*>(text.data());
}

// Whether the library's output replaces the data argument: always, except
// after a failure that produced nothing.
bool ReplacesData(uLongf produced, int code) {
  return produced != 0 || code == Z_OK;
}

std::int32_t CheckedLength(std::size_t length, const char* what) {
  if (length > static_cast<std::size_t>(INT32_MAX)) {
    throw Error(std::string(what) + " is longer than 2^31 - 1 bytes");
  }
  return static_cast<std::int32_t>(length);
}

// Replaces any file at path with a new one holding bytes.
void WriteAfresh(const FileSystem& files, const std::string& path,
                 std::string_view bytes) {
  RemoveFile(files, path);
  WriteNewFile(files, path, bytes);
}

}  // namespace

std::int32_t WorkCapacity(std::int64_t n) {
  const double x = static_cast<double>(n);
  const double capacity = std::round(x + x * 0.01 + 12);
  if (n < 0 || capacity > INT32_MAX) {
    throw Error("no work buffer for " + std::to_string(n) +
                " bytes: its capacity is out of range");
  }
  return static_cast<std::int32_t>(capacity);
}

std::int32_t ZlibWrapper::CompressByteArray(ByteArray& TheData,
                                            std::int16_t CompressionLevel) {
  if (TheData.empty()) throw Error("CompressByteArray: no data");
  const std::int32_t n =
      CheckedLength(TheData.size(), "CompressByteArray data");
  original_size_ = n;
  ByteArray work(static_cast<std::size_t>(WorkCapacity(n)), 0);
  uLongf produced = work.size();
  const int code = compress2(work.data(), &produced, TheData.data(),
                             static_cast<uLong>(n), CompressionLevel);
  if (ReplacesData(produced, code)) {
    work.resize(produced);
    TheData.swap(work);
  }
  compressed_size_ = static_cast<std::int32_t>(TheData.size());
  return code;
}

std::int32_t ZlibWrapper::CompressString(std::u16string& TheString,
                                         std::int16_t CompressionLevel) {
  const std::int32_t n = CheckedLength(TheString.size(), "CompressString text");
  original_size_ = n;
  std::string work(static_cast<std::size_t>(WorkCapacity(n)), '\0');
  const std::string source = ToSingleByte(TheString);
  uLongf produced = work.size();
  const int code =
      compress2(reinterpret_cast<Bytef*>(work.data()), &produced,
                BytesOf(source), static_cast<uLong>(n), CompressionLevel);
  if (ReplacesData(produced, code)) {
    work.resize(produced);
    TheString = FromSingleByte(work);
  }
  compressed_size_ = static_cast<std::int32_t>(TheString.size());
  return code;
}

std::int32_t ZlibWrapper::DecompressByteArray(ByteArray& TheData,
                                              std::int32_t OrigSize,
                                              std::int32_t lStart) {
  original_size_ = OrigSize;
  if (TheData.empty()) throw Error("DecompressByteArray: no data");
  const std::int32_t length =
      CheckedLength(TheData.size(), "DecompressByteArray data");
  if (lStart < 0 || lStart >= length) {
    throw Error("DecompressByteArray: start " + std::to_string(lStart) +
                " lies outside the " + std::to_string(length) + " bytes");
  }
  if (OrigSize < 0) {
    throw Error("DecompressByteArray: negative original size " +
                std::to_string(OrigSize));
  }
  const std::int32_t m = length - lStart;
  compressed_size_ = m;
  ByteArray work(static_cast<std::size_t>(WorkCapacity(OrigSize)), 0);
  uLongf produced = work.size();
  const int code = uncompress(work.data(), &produced, TheData.data() + lStart,
                              static_cast<uLong>(m));
  if (produced == 0 && code == Z_OK) {
    throw Error("DecompressByteArray: the decompressed data is empty");
  }
  if (ReplacesData(produced, code)) {
    work.resize(produced);
    TheData.swap(work);
  }
  return code;
}

std::int32_t ZlibWrapper::DecompressString(std::u16string& TheString,
                                           std::int32_t OrigSize) {
  original_size_ = OrigSize;
  if (OrigSize < 0) {
    throw Error("DecompressString: negative original size " +
                std::to_string(OrigSize));
  }
  const std::string source = ToSingleByte(TheString);
  std::string work(static_cast<std::size_t>(WorkCapacity(OrigSize)), '\0');
  uLongf produced = work.size();
  const int code =
      uncompress(reinterpret_cast<Bytef*>(work.data()), &produced,
                 BytesOf(source), static_cast<uLong>(source.size()));
  if (ReplacesData(produced, code)) {
    work.resize(produced);
    TheString = FromSingleByte(work);
  }
  compressed_size_ = CheckedLength(TheString.size(), "DecompressString text");
  return code;
}

std::int32_t ZlibWrapper::CompressFile(const std::u16string& FilePathIn,
                                       const std::u16string& FilePathOut,
                                       std::int16_t CompressionLevel) {
  const std::string in = FileSystemPath(FilePathIn);
  const std::string out = FileSystemPath(FilePathOut);
  const std::string content = ReadFile(files_, in);
  if (content.empty())
    throw Error("CompressFile: the file '" + in + "' is empty");
  ByteArray data(content.begin(), content.end());
  const std::int32_t code = CompressByteArray(data, CompressionLevel);
  std::string bytes;
  AppendLengthPrefix(bytes, static_cast<std::uint32_t>(original_size_));
  bytes.append(data.begin(), data.end());
  WriteAfresh(files_, out, bytes);
  return code;
}

std::int32_t ZlibWrapper::DecompressFile(const std::u16string& FilePathIn,
                                         const std::u16string& FilePathOut) {
  const std::string in = FileSystemPath(FilePathIn);
  const std::string out = FileSystemPath(FilePathOut);
  const std::string content = ReadFile(files_, in);
  if (content.size() < kLengthPrefixSize) {
    throw Error("DecompressFile: the file '" + in +
                "' is shorter than its 4-byte length prefix");
  }
  const std::uint32_t stored = DecodeLengthPrefix(content);
  // The stream moves to the front; the prefix's room stays zero at the end.
  ByteArray data(content.size(), 0);
  std::copy(content.begin() + kLengthPrefixSize, content.end(), data.begin());
  const std::int32_t code =
      DecompressByteArray(data, static_cast<std::int32_t>(stored), 0);
  WriteAfresh(files_, out,
              std::string_view(reinterpret_cast<const char*>(data.data()),
                               data.size()));
  return code;
}

}  // namespace quenvar
