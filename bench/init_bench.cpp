// Init: the time one load of the built-in word list takes, its steps one by
// one, and the resident memory the loaded list costs (and a spelling's
// first check).

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <latch>
#include <thread>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/file_system.h"
#include "compression/zlib_wrapper.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "sysinfo/sys_info.h"

namespace quenvar {
namespace {

// The process's resident memory in bytes.
double ResidentBytes() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(::getpagesize());
}

ByteArray Blob() {
  const std::span<const std::uint8_t> blob = FindResource("DIC", 101);
  return ByteArray(blob.begin(), blob.end());
}

std::int32_t StoredSize(const ByteArray& blob) {
  return blob[0] | blob[1] << 8 | blob[2] << 16 | blob[3] << 24;
}

std::string Text() {
  ByteArray data = Blob();
  ZlibWrapper(ThreadFileSystem()).DecompressByteArray(data, StoredSize(data), 4);
  return std::string(data.begin(), data.end());
}

// The growth of the resident memory over a fresh thread's first Init, and
// that Init's time. The heap's free memory goes back to the system before
// each reading, so the growth is what the loaded list keeps, not what the
// load used for a moment.
void BM_FirstInitResidentMemory(benchmark::State& state) {
  double grown = 0;
  for (auto _ : state) {
    std::thread thread([&] {
      ::malloc_trim(0);
      const double before = ResidentBytes();
      SpellCheck().Init();
      ::malloc_trim(0);
      grown = ResidentBytes() - before;
    });
    thread.join();
  }
  state.counters["list_MiB"] = grown / (1024 * 1024);
}
BENCHMARK(BM_FirstInitResidentMemory)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// What a spelling adds to a thread that has loaded the list, checked a
// word and ranked corrections: the growth of the resident memory over its
// first check and ranked corrections for a spelling, which read the
// entries' spellings from the library's read-only data.
void BM_FirstSpellingCheckResidentMemory(benchmark::State& state) {
  double grown = 0;
  for (auto _ : state) {
    std::thread thread([&] {
      SpellCheck speller;
      speller.Init();
      speller.CheckWord(u"colour");
      speller.GetRankedSuggestions(u"colour");
      ::malloc_trim(0);
      const double before = ResidentBytes();
      speller.CheckWord(u"colour", Spelling::kAmerican);
      speller.GetRankedSuggestions(u"colour", Spelling::kAmerican);
      ::malloc_trim(0);
      grown = ResidentBytes() - before;
    });
    thread.join();
  }
  state.counters["spelling_KiB"] = grown / 1024;
}
BENCHMARK(BM_FirstSpellingCheckResidentMemory)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Eight threads that each call Init hold eight lists: the growth of the
// resident memory while all eight are loaded, and again once each has also
// built its ranking with a first ranked call.
void BM_EightThreadsResidentMemory(benchmark::State& state) {
  constexpr int kThreads = 8;
  double loaded = 0, ranked = 0;
  for (auto _ : state) {
    ::malloc_trim(0);
    const double before = ResidentBytes();
    std::latch inits_done(kThreads + 1), measured(1), ranks_done(kThreads + 1), done(1);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
      threads.emplace_back([&] {
        SpellCheck speller;
        speller.Init();
        inits_done.count_down();
        measured.wait();
        speller.GetRankedSuggestions(u"recieve");
        ranks_done.count_down();
        done.wait();
      });
    }
    inits_done.arrive_and_wait();
    ::malloc_trim(0);
    loaded = ResidentBytes() - before;
    measured.count_down();
    ranks_done.arrive_and_wait();
    ::malloc_trim(0);
    ranked = ResidentBytes() - before;
    done.count_down();
    for (std::thread& thread : threads) thread.join();
  }
  state.counters["eight_lists_MiB"] = loaded / (1024 * 1024);
  state.counters["with_ranking_MiB"] = ranked / (1024 * 1024);
}
BENCHMARK(BM_EightThreadsResidentMemory)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_Init(benchmark::State& state) {
  SpellCheck speller;
  speller.Init();
  for (auto _ : state) speller.Init();
}
BENCHMARK(BM_Init)->Unit(benchmark::kMillisecond);

void BM_InitStepDecompress(benchmark::State& state) {
  const ByteArray blob = Blob();
  for (auto _ : state) {
    ByteArray data = blob;
    benchmark::DoNotOptimize(
        ZlibWrapper(ThreadFileSystem()).DecompressByteArray(data, StoredSize(data), 4));
  }
}
BENCHMARK(BM_InitStepDecompress)->Unit(benchmark::kMillisecond);

void BM_InitStepTempFileRoundTrip(benchmark::State& state) {
  const std::string text = Text();
  SysInfo& sys_info = ThreadSysInfo();
  for (auto _ : state) {
    const std::string name =
        sys_info.CreateTempFile(sys_info.TempPath(), "qzv", true);
    WriteNewFile(ThreadFileSystem(), name, text);
    benchmark::DoNotOptimize(ReadFile(ThreadFileSystem(), name));
    RemoveFile(ThreadFileSystem(), name);
  }
  sys_info.DeleteTempFiles();
}
BENCHMARK(BM_InitStepTempFileRoundTrip)->Unit(benchmark::kMillisecond);

void BM_InitStepParseLines(benchmark::State& state) {
  const std::string text = Text();
  MainWordList& list = ThreadDicWords();
  for (auto _ : state) {
    state.PauseTiming();
    ByteArray content(text.begin(), text.end());
    state.ResumeTiming();
    list.Load(std::move(content));
  }
}
BENCHMARK(BM_InitStepParseLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quenvar

BENCHMARK_MAIN();
