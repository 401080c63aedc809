#include "dictionary/main_dictionary.h"

#include <zlib.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <system_error>

#include <quenvarspell/spell_check.h>

#include "component/file_io.h"
#include "component/thread_state.h"
#include "compression/zlib_library.h"
#include "compression/zlib_wrapper.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"

namespace quenvar {

void LoadMainDictionary() { LoadMainDictionaryFrom(FindResource("DIC", 101)); }

void LoadMainDictionaryFrom(std::span<const std::uint8_t> blob) {
  ByteArray data(blob.begin(), blob.end());
  if (data.size() < 4) throw Error("the built-in word list has no length");
  const std::uint32_t size =
      data[0] | data[1] << 8 | data[2] << 16 | std::uint32_t{data[3]} << 24;
  EnsureZlibLibrary();
  const std::int32_t code = ZlibWrapper().DecompressByteArray(
      data, static_cast<std::int32_t>(size), 4);
  // A damaged list must not load as a shorter or garbled one.
  if (code != Z_OK || data.size() != size) {
    throw Error("the built-in word list is damaged (zlib code " +
                std::to_string(code) + ")");
  }

  SysInfo& sys_info = State().sys_info;
  const std::string name =
      sys_info.CreateTempFile(sys_info.TempPath(), "qzv", true);
  // Exclusive creation: a file or link planted under the name since it was
  // made makes the load fail instead of writing through it.
  const FileSystem& files = *State().file_system;
  WriteNewFile(name,
               std::string_view(reinterpret_cast<const char*>(data.data()),
                                data.size()),
               files);
  try {
    LoadWordList(name);
  } catch (...) {
    RemoveFile(name, files);
    throw;
  }
  if (!RemoveFile(name, files)) {
    throw std::system_error(errno, std::generic_category(),
                            "cannot delete '" + name + "'");
  }
}

}  // namespace quenvar
