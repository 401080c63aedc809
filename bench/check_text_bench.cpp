// A Google Benchmark program for the text walk without the dialog, over a
// large real English text.
//
//   check_text_bench [--benchmark_...] TEXT
//
// TEXT is UTF-8, for example /work/shared/corpus/big.txt. The built-in word
// list is loaded with Init before the benchmark runs.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <quenvarspell/spell_check.h>

namespace {

std::u16string& Text() {
  static std::u16string text;
  return text;
}

class CountingSink : public quenvar::SpellCheckEvents {
 public:
  void SpellWordNotInDic(const std::u16string&, std::int32_t,
                         quenvar::Boolean&) override {
    ++unknown;
  }
  std::size_t unknown = 0;
};

// The number of pieces the walk checks: one more than the delimiters, less
// one when the text ends with a delimiter.
std::size_t CountWords(const std::u16string& text) {
  const std::u16string delimiters = u"\t\n\r \"/?.;:,\\()[]{}<>|!";
  std::size_t words = 0;
  for (char16_t c : text) words += delimiters.find(c) != std::u16string::npos;
  if (text.empty() || delimiters.find(text.back()) == std::u16string::npos) {
    ++words;
  }
  return words;
}

// One whole walk of the text per iteration. Counters: pieces of text checked
// per second (empty pieces between delimiters included) and unknown words
// per walk.
void BM_CheckText(benchmark::State& state) {
  quenvar::SpellCheck speller;
  CountingSink sink;
  speller.Advise(sink);
  std::u16string& text = Text();
  for (auto _ : state) {
    sink.unknown = 0;
    speller.CheckText(text, quenvar::kFalse);
  }
  state.counters["words"] = benchmark::Counter(
      static_cast<double>(CountWords(text) * state.iterations()),
      benchmark::Counter::kIsRate);
  state.counters["unknown"] = static_cast<double>(sink.unknown);
}
BENCHMARK(BM_CheckText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::cerr << "usage: check_text_bench [--benchmark_...] TEXT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "check_text_bench: cannot read " << argv[1] << '\n';
    return 1;
  }
  Text() = quenvar::FromUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
  quenvar::SpellCheck().Init();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
