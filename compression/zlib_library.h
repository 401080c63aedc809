// Makes sure the zlib library the process runs with can serve the
// compression wrapper's calls.

#ifndef QUENVARSPELL_COMPRESSION_ZLIB_LIBRARY_H_
#define QUENVARSPELL_COMPRESSION_ZLIB_LIBRARY_H_

namespace quenvar {

// Checks the zlib linked at run time against the one the component was
// built against (see CheckZlibCompatible). Throws Error when they differ.
void EnsureZlibLibrary();

// Accepts a zlib that reports running_version and compile_flags (what its
// zlibVersion and zlibCompileFlags answer) when it has the major version of
// the zlib.h the component was compiled with and the same sizes of the
// integer and pointer types its calls take. Throws Error naming both
// versions otherwise.
void CheckZlibCompatible(const char* running_version,
                         unsigned long compile_flags);

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPRESSION_ZLIB_LIBRARY_H_
