// Where the benchmarks that run the tool find it: beside their own build
// folder (BUILD/bench/ runs BUILD/cli/quenvarspell).

#ifndef QUENVARSPELL_BENCH_TOOL_PATH_H_
#define QUENVARSPELL_BENCH_TOOL_PATH_H_

#include <filesystem>

inline std::filesystem::path ToolPath() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() /
         "cli" / "quenvarspell";
}

#endif  // QUENVARSPELL_BENCH_TOOL_PATH_H_
