#include "base/code_location.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace quenvar {

std::string FileHoldingCode(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
  }
  // The main program reports the name it was started by, which may not be
  // a path; the kernel knows its file.
  char executable[PATH_MAX];
  const ssize_t length =
      ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) return {};
  return std::string(executable, static_cast<std::size_t>(length));
}

}  // namespace quenvar
