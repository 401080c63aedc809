#include "dictionary/main_dictionary.h"

#include <zlib.h>

#include <cerrno>
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

  SysInfo& sys_info = ThreadSysInfo();
  const std::string name =
      sys_info.CreateTempFile(sys_info.TempPath(), "qzv", true);
  // Exclusive creation: a file or link planted under the name since it was
  // made makes the load fail instead of writing through it. The name stays
  // recorded only while the file it names is ours.
  try {
    WriteNewFile(files, name,
                 std::string_view(reinterpret_cast<const char*>(data.data()),
                                  data.size()));
  } catch (...) {
    sys_info.ForgetTempFile(name);
    throw;
  }
  try {
    // The file is read back into the memory the text occupies.
    LoadWordList(name, std::move(data));
  } catch (...) {
    if (RemoveFile(files, name)) sys_info.ForgetTempFile(name);
    throw;
  }
  if (!RemoveFile(files, name)) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot delete '" + name + "'");
  }
  sys_info.ForgetTempFile(name);
}

}  // namespace quenvar
