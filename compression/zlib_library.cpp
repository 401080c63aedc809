#include "compression/zlib_library.h"

#include <zlib.h>

#include <string>

#include <quenvarspell/types.h>

namespace quenvar {
namespace {

// zlibCompileFlags codes a type's size in two bits: 16, 32, 64 bits, other.
constexpr unsigned long SizeCode(std::size_t bytes) {
  return bytes == 2 ? 0 : bytes == 4 ? 1 : bytes == 8 ? 2 : 3;
}

// The low byte of zlibCompileFlags: the sizes of uInt, uLong, voidpf and
// z_off_t, two bits each.
constexpr unsigned long kTypeSizes =
    SizeCode(sizeof(uInt)) | SizeCode(sizeof(uLong)) << 2 |
    SizeCode(sizeof(voidpf)) << 4 | SizeCode(sizeof(z_off_t)) << 6;

}  // namespace

void EnsureZlibLibrary() {
  CheckZlibCompatible(zlibVersion(), zlibCompileFlags());
}

void CheckZlibCompatible(const char* running_version,
                         unsigned long compile_flags) {
  // zlib itself takes a different first character of the version as a
  // different interface.
  if (running_version == nullptr || running_version[0] != ZLIB_VERSION[0] ||
      (compile_flags & 0xFF) != kTypeSizes) {
    throw Error(std::string("the zlib library in use (") +
                (running_version != nullptr ? running_version : "unknown") +
                ") is not compatible with zlib " ZLIB_VERSION
                ", which this component was built against");
  }
}

}  // namespace quenvar
