// Real documents, against Aspell in the same run: `quenvarspell list FILE`
// and `aspell --mode=M list < FILE` on each document of tests/data/documents,
// with the planted misspellings each flags and the other flags (goal: every
// planted one, and at most 0.8x Aspell's other flags); then 100 MB and 10 MB
// of Markdown (the Markdown documents repeated), with the time and the peak
// resident memory of each (goal: at most 0.5x Aspell's time, memory flat in
// the input's size).
//
// The tool is found beside this program's build folder (BUILD/cli/).

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/tool_path.h"

extern char** environ;

namespace {

std::filesystem::path Documents() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "data" /
         "documents";
}

struct Run {
  bool ok = false;
  std::string out;
  double seconds = 0;
  long peak_kib = 0;
};

// Runs argv with standard input from input (or /dev/null) and standard
// output to a temp file; answers what it printed, its time and its peak
// resident memory.
Run RunProgram(std::vector<std::string> argv, const std::string& input) {
  const std::string out_path = std::filesystem::temp_directory_path() / "documents_bench.out";
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO,
                                   input.empty() ? "/dev/null" : input.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return run;
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peak_kib = usage.ru_maxrss;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  std::ifstream file(out_path);
  std::stringstream bytes;
  bytes << file.rdbuf();
  run.out = bytes.str();
  std::filesystem::remove(out_path);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string AspellMode(const std::filesystem::path& file) {
  const std::string extension = file.extension().string();
  if (extension == ".md") return "markdown";
  if (extension == ".html") return "html";
  if (extension == ".tex") return "tex";
  return "none";
}

// The planted misspellings of each document.
std::map<std::string, std::set<std::string>> Planted() {
  std::map<std::string, std::set<std::string>> planted;
  std::ifstream file(Documents() / "planted.txt");
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    planted[line.substr(0, tab)].insert(line.substr(tab + 1));
  }
  return planted;
}

// How many flags of listed are planted ones (each planted word counted once)
// and how many are others.
std::pair<std::size_t, std::size_t> Flags(const std::string& listed,
                                          const std::set<std::string>& planted) {
  std::set<std::string> found;
  std::size_t others = 0;
  for (const std::string& word : Lines(listed)) {
    if (planted.contains(word)) {
      found.insert(word);
    } else {
      ++others;
    }
  }
  return {found.size(), others};
}

void BM_Document(benchmark::State& state, const std::string& name) {
  const std::filesystem::path file = Documents() / name;
  const std::set<std::string> planted = Planted()[name];
  Run ours;
  Run aspell;
  for (auto _ : state) {
    ours = RunProgram({ToolPath().string(), "list", file.string()}, "");
    aspell = RunProgram({"/usr/bin/aspell", "--lang=en_US", "--mode=" + AspellMode(file), "list"},
                        file.string());
    if (!ours.ok || !aspell.ok) {
      state.SkipWithError("a speller failed");
      return;
    }
  }
  const auto [found, others] = Flags(ours.out, planted);
  const auto [aspell_found, aspell_others] = Flags(aspell.out, planted);
  state.counters["planted"] = static_cast<double>(planted.size());
  state.counters["flagged"] = static_cast<double>(found);
  state.counters["aspell_flagged"] = static_cast<double>(aspell_found);
  state.counters["others"] = static_cast<double>(others);
  state.counters["aspell_others"] = static_cast<double>(aspell_others);
  state.counters["others_ratio"] =
      static_cast<double>(others) / static_cast<double>(std::max<std::size_t>(aspell_others, 1));
}

// A file of at least bytes of the Markdown documents repeated, made once.
std::string MarkdownOf(std::size_t bytes) {
  const std::string path = std::filesystem::temp_directory_path() /
                           ("documents_bench_" + std::to_string(bytes >> 20) + "mb.md");
  if (std::filesystem::exists(path) && std::filesystem::file_size(path) >= bytes) return path;
  std::string one;
  for (const char* name : {"commander.md", "zstd.md"}) {
    std::ifstream file(Documents() / name);
    std::stringstream text;
    text << file.rdbuf();
    one += text.str() + "\n";
  }
  std::ofstream out(path, std::ios::binary);
  for (std::size_t written = 0; written < bytes; written += one.size()) out << one;
  return path;
}

void BM_Markdown(benchmark::State& state) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 20;
  const std::string file = MarkdownOf(bytes);
  Run ours;
  Run aspell;
  for (auto _ : state) {
    ours = RunProgram({ToolPath().string(), "list", file}, "");
    aspell = RunProgram({"/usr/bin/aspell", "--lang=en_US", "--mode=markdown", "list"}, file);
    if (!ours.ok || !aspell.ok) {
      state.SkipWithError("a speller failed");
      return;
    }
    state.SetIterationTime(ours.seconds);
  }
  state.counters["seconds"] = ours.seconds;
  state.counters["aspell_seconds"] = aspell.seconds;
  state.counters["time_ratio"] = ours.seconds / aspell.seconds;
  state.counters["peak_MiB"] = static_cast<double>(ours.peak_kib) / 1024;
  state.counters["aspell_peak_MiB"] = static_cast<double>(aspell.peak_kib) / 1024;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!std::filesystem::exists(ToolPath())) {
    std::fprintf(stderr, "the tool is not built: %s\n", ToolPath().c_str());
    return 1;
  }
  for (const char* name : {"commander.md", "zstd.md", "zlib_how.html", "users-and-groups.html",
                           "usrguide.tex", "apache-2.0.txt"}) {
    benchmark::RegisterBenchmark((std::string("BM_Document/") + name).c_str(),
                                 [name](benchmark::State& state) { BM_Document(state, name); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
  }
  benchmark::RegisterBenchmark("BM_Markdown", BM_Markdown)
      ->Arg(10)
      ->Arg(100)
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(1);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
