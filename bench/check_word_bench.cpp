// A Google Benchmark program for CheckWord over every word of a large real
// English text.
//
//   check_word_bench [--benchmark_...] TEXT
//
// TEXT is UTF-8, for example /work/shared/corpus/big.txt. Its words are the
// non-empty pieces between the text walk's delimiters. The built-in word list
// is loaded with Init before the benchmark runs.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

namespace {

std::vector<std::u16string>& Words() {
  static std::vector<std::u16string> words;
  return words;
}

std::vector<std::u16string> SplitWords(const std::u16string& text) {
  const std::u16string_view delimiters = u"\t\n\r \"/?.;:,\\()[]{}<>|!";
  std::vector<std::u16string> words;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(delimiters, start);
    if (end == std::u16string::npos) end = text.size();
    if (end > start) words.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// Every word once per iteration. Counters: words checked per second and
// words rejected per pass.
void BM_CheckWord(benchmark::State& state) {
  quenvar::SpellCheck speller;
  const std::vector<std::u16string>& words = Words();
  std::size_t rejected = 0;
  for (auto _ : state) {
    rejected = 0;
    for (const std::u16string& word : words) {
      rejected += speller.CheckWord(word) == quenvar::kFalse;
    }
  }
  state.counters["words"] = benchmark::Counter(
      static_cast<double>(words.size() * state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rejected"] = static_cast<double>(rejected);
}
BENCHMARK(BM_CheckWord)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::cerr << "usage: check_word_bench [--benchmark_...] TEXT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "check_word_bench: cannot read " << argv[1] << '\n';
    return 1;
  }
  Words() = SplitWords(
      quenvar::FromUtf8(std::string(std::istreambuf_iterator<char>(in), {})));
  quenvar::SpellCheck().Init();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
