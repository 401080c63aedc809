// In-memory compression and decompression with zlib's one-call functions,
// and the size-prefixed compressed file: the original length as 4 bytes
// (signed, little-endian), then the zlib stream.

#ifndef QUENVARSPELL_COMPRESSION_ZLIB_WRAPPER_H_
#define QUENVARSPELL_COMPRESSION_ZLIB_WRAPPER_H_

#include <cstdint>
#include <string>

#include "base/byte_coding.h"
#include "base/file_system.h"

namespace quenvar {

// The work-buffer capacity for n bytes: n + n * 0.01 + 12 in double
// precision, rounded to the nearest whole number (halves away from zero).
// Throws Error when n is negative or the capacity exceeds INT32_MAX.
std::int32_t WorkCapacity(std::int64_t n);

// Each operation runs one zlib call into a zero-filled work buffer of
// WorkCapacity bytes and returns zlib's result code as a value: Z_OK (0),
// Z_BUF_ERROR (-5) when the output does not fit, Z_DATA_ERROR (-3) for a
// damaged stream, Z_MEM_ERROR (-4), Z_STREAM_ERROR (-2) for a bad level. The
// data argument is replaced by the bytes the library reports it produced,
// whatever the code; when it reports none after a failure, the argument is
// left unchanged. Both sizes are set by every operation, as each states.
// Errors other than library codes throw: Error for invalid arguments,
// std::system_error for file failures. Strings travel in their single-byte
// (Windows-1252) form, one byte per character; that mapping is a bijection
// over all 256 bytes, so compressed strings survive the trip.
class ZlibWrapper {
 public:
  // The file operations go through files. REQUIRES: files outlives the
  // object.
  explicit ZlibWrapper(const FileSystem& files) : files_(files) {}

  // Compresses TheData at CompressionLevel (-1 for zlib's default, 0 to 9,
  // passed on unchecked). Sets OriginalSize to the length on entry and
  // CompressedSize to the length on return. Throws Error for empty TheData.
  std::int32_t CompressByteArray(ByteArray& TheData,
                                 std::int16_t CompressionLevel);

  // As CompressByteArray on the single-byte form of TheString; an empty
  // string is compressed too. Sizes are counts of characters.
  std::int32_t CompressString(std::u16string& TheString,
                              std::int16_t CompressionLevel);

  // Decompresses the stream that starts at index lStart of TheData, in a
  // buffer sized for OrigSize bytes: a size too large or slightly too small
  // still gives the exact result. Sets OriginalSize to OrigSize (even when
  // it then throws) and CompressedSize to the stream's length, TheData's
  // length minus lStart. Throws Error for empty TheData, an lStart outside
  // TheData, a negative OrigSize, an OrigSize whose capacity overflows, and
  // an empty result.
  std::int32_t DecompressByteArray(ByteArray& TheData, std::int32_t OrigSize,
                                   std::int32_t lStart);

  // Decompresses the single-byte form of TheString, whole. Sets
  // OriginalSize to OrigSize and CompressedSize to the number of characters
  // of TheString on return (the decompressed length). Throws Error for a
  // negative OrigSize or one whose capacity overflows.
  std::int32_t DecompressString(std::u16string& TheString,
                                std::int32_t OrigSize);

  // Compresses the file FilePathIn into a new size-prefixed file
  // FilePathOut, deleting any file of that name first; the file is written
  // whatever the code. Sets the sizes as CompressByteArray does on the
  // input's bytes. Throws std::system_error for file failures and Error for
  // an empty input file.
  std::int32_t CompressFile(const std::u16string& FilePathIn,
                            const std::u16string& FilePathOut,
                            std::int16_t CompressionLevel);

  // Decompresses the size-prefixed file FilePathIn into a new file
  // FilePathOut, deleting any file of that name first; the file is written
  // whatever the code. Sets OriginalSize to the length in the prefix and
  // CompressedSize to the input file's length. Throws std::system_error for
  // file failures and Error for a file shorter than its 4-byte prefix and
  // for the cases DecompressByteArray throws for.
  std::int32_t DecompressFile(const std::u16string& FilePathIn,
                              const std::u16string& FilePathOut);

  std::int32_t CompressedSize() const { return compressed_size_; }
  std::int32_t OriginalSize() const { return original_size_; }

 private:
  const FileSystem& files_;
  std::int32_t compressed_size_ = 0;
  std::int32_t original_size_ = 0;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPRESSION_ZLIB_WRAPPER_H_
