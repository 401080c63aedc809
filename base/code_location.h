// Where the running code was loaded from. The answer comes from the dynamic
// loader and the kernel's view of the process, not from reading or changing
// any file, so it stands outside the file seam of base/file_system.h.

#ifndef QUENVARSPELL_BASE_CODE_LOCATION_H_
#define QUENVARSPELL_BASE_CODE_LOCATION_H_

#include <string>

namespace quenvar {

// The absolute path of the shared library or program whose code holds
// address, with symbolic links resolved; empty when it cannot be found.
std::string FileHoldingCode(const void* address);

}  // namespace quenvar

#endif  // QUENVARSPELL_BASE_CODE_LOCATION_H_
