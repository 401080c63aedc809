#include "dictionary/main_dictionary.h"

#include <zlib.h>

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include <quenvarspell/types.h>

#include "base/byte_coding.h"
#include "base/file_system.h"
#include "compression/zlib_library.h"
#include "compression/zlib_wrapper.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "sysinfo/sys_info.h"

namespace quenvar {
namespace {

// Writes text to a new temp file as the load has always done: a unique "qzv"
// name in the temp folder, created exclusively (name is set to it). The name
// is deleted at once, before the text is written, so that nothing is left
// behind when the process is killed and no file renamed over the name is
// read: the file is read back through the descriptor answered.
FileDescriptor WriteTempFile(const FileSystem& files, SysInfo& sys_info,
                             std::string_view text, std::string& name) {
  name = sys_info.CreateTempFile(sys_info.TempPath(), "qzv", true);
  FileDescriptor file = [&] {
    try {
      return CreateExclusively(files, name);
    } catch (...) {
      sys_info.ForgetTempFile(name);
      throw;
    }
  }();
  // The record stays while the name may still be ours.
  if (RemoveFile(files, name)) sys_info.ForgetTempFile(name);
  WriteFile(files, file.get(), name, text);
  return file;
}

}  // namespace

void LoadMainDictionary() { LoadMainDictionaryFrom(FindResource("DIC", 101)); }

void LoadMainDictionaryFrom(std::span<const std::uint8_t> blob) {
  ByteArray data(blob.begin(), blob.end());
  if (data.size() < kLengthPrefixSize) {
    throw Error("the built-in word list has no length");
  }
  const std::uint32_t size = DecodeLengthPrefix(data);
  EnsureZlibLibrary();
  const FileSystem& files = ThreadFileSystem();
  const std::int32_t code = ZlibWrapper(files).DecompressByteArray(
      data, static_cast<std::int32_t>(size), kLengthPrefixSize);
  // A damaged list must not load as a shorter or garbled one.
  if (code != Z_OK || data.size() != size) {
    throw Error("the built-in word list is damaged (zlib code " +
                std::to_string(code) + ")");
  }

  const std::string_view text(reinterpret_cast<const char*>(data.data()), data.size());
  SysInfo& sys_info = ThreadSysInfo();
  std::string name;
  std::optional<FileDescriptor> file;
  try {
    file.emplace(WriteTempFile(files, sys_info, text, name));
  } catch (const std::system_error&) {
    // A temp folder that is missing, read-only or full, or whose names are
    // all taken, does not stop the load: the text goes to a file in memory,
    // which has no name for others to take.
    file.emplace(CreateMemoryFile(files, "qzv"));
    name = "memfd:qzv";
    WriteFile(files, file->get(), name, text);
  }
  // The file is read back into the memory the text occupies.
  LoadWordList(file->get(), name, std::move(data));
}

}  // namespace quenvar
