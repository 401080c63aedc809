// Google Benchmark programs for the suggestion search, the ranked
// corrections and the similarity score alone, over a list of common
// misspellings.
//
//   suggest_bench [--benchmark_...] MISSPELLINGS
//
// MISSPELLINGS holds one "misspelling<TAB>correction" pair a line (UTF-8),
// for example the corpus at /work/shared/corpus/misspellings.tab. The
// built-in word list is loaded with Init before the benchmarks run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "suggest/similarity.h"

namespace {

struct Pair {
  std::u16string misspelling;
  std::u16string correction;
};

std::vector<Pair>& Pairs() {
  static std::vector<Pair> pairs;
  return pairs;
}

std::vector<Pair> ReadPairs(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Pair> pairs;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    pairs.push_back({quenvar::FromUtf8(line.substr(0, tab)),
                     quenvar::FromUtf8(line.substr(tab + 1))});
  }
  if (pairs.empty()) throw std::runtime_error("no pairs in " + path);
  return pairs;
}

// One call of suggest per iteration, cycling through the misspellings.
// Counters: suggestions per call, and the share of calls whose suggestions
// hold the listed correction.
template <typename Suggest>
void TimeSuggestions(benchmark::State& state, Suggest suggest) {
  const std::vector<Pair>& pairs = Pairs();
  std::size_t next = 0;
  std::size_t suggested = 0;
  std::size_t hits = 0;
  for (auto _ : state) {
    const Pair& pair = pairs[next];
    next = next + 1 == pairs.size() ? 0 : next + 1;
    const quenvar::WordArray found = suggest(pair.misspelling);
    if (found) {
      suggested += found->size();
      hits += std::find(found->begin(), found->end(), pair.correction) !=
              found->end();
    }
    benchmark::DoNotOptimize(found);
  }
  const auto calls = static_cast<double>(state.iterations());
  state.counters["suggestions"] = static_cast<double>(suggested) / calls;
  state.counters["found"] = static_cast<double>(hits) / calls;
}

void BM_GetSuggestions(benchmark::State& state) {
  quenvar::SpellCheck speller;
  TimeSuggestions(state, [&](const std::u16string& word) {
    return speller.GetSuggestions(word);
  });
}
BENCHMARK(BM_GetSuggestions);

// Ten at most, as the Ispell pipe asks; the ranking's index is built before
// the timing starts.
void BM_GetRankedSuggestions(benchmark::State& state) {
  quenvar::SpellCheck speller;
  speller.GetRankedSuggestions(u"recieve");
  TimeSuggestions(state, [&](const std::u16string& word) {
    return speller.GetRankedSuggestions(word);
  });
}
BENCHMARK(BM_GetRankedSuggestions);

// The same for one spelling (the argument: a quenvar::Spelling), which
// passes over the entries of others.
void BM_GetRankedSuggestionsInSpelling(benchmark::State& state) {
  quenvar::SpellCheck speller;
  const auto spelling = static_cast<quenvar::Spelling>(state.range(0));
  speller.GetRankedSuggestions(u"recieve");
  TimeSuggestions(state, [&](const std::u16string& word) {
    return speller.GetRankedSuggestions(word, spelling);
  });
}
BENCHMARK(BM_GetRankedSuggestionsInSpelling)
    ->Arg(static_cast<int>(quenvar::Spelling::kAmerican))
    ->Arg(static_cast<int>(quenvar::Spelling::kBritish));


// One Similarity score per iteration: a correction against its misspelling,
// the dictionary word first as the suggestion search passes it.
void BM_Similarity(benchmark::State& state) {
  const std::vector<Pair>& pairs = Pairs();
  std::size_t next = 0;
  for (auto _ : state) {
    const Pair& pair = pairs[next];
    next = next + 1 == pairs.size() ? 0 : next + 1;
    benchmark::DoNotOptimize(
        quenvar::Similarity(pair.correction, pair.misspelling));
  }
}
BENCHMARK(BM_Similarity);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::cerr << "usage: suggest_bench [--benchmark_...] MISSPELLINGS\n";
    return 2;
  }
  try {
    Pairs() = ReadPairs(argv[1]);
    quenvar::SpellCheck().Init();
  } catch (const std::exception& e) {
    std::cerr << "suggest_bench: " << e.what() << '\n';
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
