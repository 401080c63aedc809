// A Google Benchmark program for checking a large real English text: CheckWord
// over each of its words, and the text walk without the dialog over all of it.
//
//   check_text_bench [--benchmark_...] TEXT
//
// TEXT is UTF-8, for example /work/shared/corpus/big.txt. Its words are the
// non-empty pieces between the text walk's delimiters. The built-in word list
// is loaded with Init before the benchmarks run.

#include <benchmark/benchmark.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "base/word_delimiters.h"

namespace {


std::u16string& Text() {
  static std::u16string text;
  return text;
}

std::vector<std::u16string>& Words() {
  static std::vector<std::u16string> words;
  return words;
}

// The pieces between delimiters; empty ones too when keep_empty holds.
std::vector<std::u16string> Pieces(std::u16string_view text, bool keep_empty) {
  std::vector<std::u16string> pieces;
  std::size_t start = 0;
  for (std::size_t end = 0; end < text.size(); ++end) {
    if (!quenvar::IsWordDelimiter(text[end])) continue;
    if (keep_empty || end > start) {
      pieces.emplace_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  if (start < text.size()) pieces.emplace_back(text.substr(start));
  return pieces;
}

class CountingSink : public quenvar::SpellCheckEvents {
 public:
  void SpellWordNotInDic(const std::u16string&, std::int32_t,
                         quenvar::Boolean&) override {
    ++unknown;
  }
  std::size_t unknown = 0;
};

// Every word once per iteration, each checked by check (true: accepted).
// Counters: time per word and words rejected per pass.
template <typename Check>
void CheckEveryWord(benchmark::State& state, Check check) {
  const std::vector<std::u16string>& words = Words();
  std::size_t rejected = 0;
  for (auto _ : state) {
    rejected = 0;
    for (const std::u16string& word : words) rejected += !check(word);
  }
  state.counters["words"] = benchmark::Counter(
      static_cast<double>(words.size()) *
          static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rejected"] = static_cast<double>(rejected);
}

void BM_CheckWord(benchmark::State& state) {
  quenvar::SpellCheck speller;
  CheckEveryWord(state, [&](const std::u16string& word) {
    return speller.CheckWord(word) != quenvar::kFalse;
  });
}
BENCHMARK(BM_CheckWord)->Unit(benchmark::kMillisecond);

// The same for one spelling (the argument: a quenvar::Spelling), which also
// reads each found entry's spellings.
void BM_CheckWordInSpelling(benchmark::State& state) {
  quenvar::SpellCheck speller;
  const auto spelling = static_cast<quenvar::Spelling>(state.range(0));
  CheckEveryWord(state, [&](const std::u16string& word) {
    return speller.CheckWord(word, spelling) != quenvar::kFalse;
  });
}
BENCHMARK(BM_CheckWordInSpelling)
    ->Arg(static_cast<int>(quenvar::Spelling::kAmerican))
    ->Arg(static_cast<int>(quenvar::Spelling::kBritish))
    ->Unit(benchmark::kMillisecond);

// One whole walk of the text per iteration. Counters: pieces of text checked
// per second (empty pieces between delimiters included, as the walk checks
// them) and unknown words per walk.
void BM_CheckText(benchmark::State& state) {
  quenvar::SpellCheck speller;
  CountingSink sink;
  speller.Advise(sink);
  std::u16string& text = Text();
  const std::size_t pieces = Pieces(text, true).size();
  for (auto _ : state) {
    sink.unknown = 0;
    speller.CheckText(text, quenvar::kFalse);
  }
  state.counters["words"] = benchmark::Counter(
      static_cast<double>(pieces) *
          static_cast<double>(state.iterations()),
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
  Words() = Pieces(Text(), false);
  quenvar::SpellCheck().Init();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
