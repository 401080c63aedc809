// Tunes the weights of the ranking score (suggest/ranking_score.h) on half
// of a list of real misspellings and reports how they do on both halves.
//
//   tune_ranking_weights MISSPELLINGS [FAR] [--evaluate]
//
// MISSPELLINGS holds "misspelling<TAB>correction" lines (UTF-8), a
// misspelling with several corrections on several lines, as
// tests/data/misspellings.tab. Its distinct misspellings, in the order the
// file first gives them, are halved: the first half (rounded down) tunes
// the weights, the second is held out, and the quality floors of
// tests/ranked_suggestions_test.cpp are checked on it alone.
//
// From the weights the ranking has, each weight in turn moves by a tenth
// either way for as long as that places a correction first for more
// misspellings of the tuned half (then in the first three, then among the
// ten offered); the passes repeat until no move helps. --evaluate only
// reports the weights the ranking has. A correction counts as offered when
// an entry equals it lower-cased, as the ranked corrections' entries are.
//
// Given FAR, a list of misspellings written by hand (the corpus's
// hard_misspellings.tab), the weights are then tuned again, with wider_below
// and by steps of a fifth, on the half of FAR that bench/far_half.h does not
// hold out: for the most misspellings with a correction first, in the first
// three, five and ten (their sum), so long as none of the first list's tuned
// half's figures falls below what it was before.

#include <quenvarspell/spell_check.h>

#include <cstdio>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/text.h"
#include "far_half.h"
#include "dictionary/word_list.h"
#include "resources/resource_table.h"
#include "suggest/ranked_suggester.h"

namespace quenvar {
namespace {

struct Misspelling {
  std::string word;                      // lower-cased single-byte form
  std::vector<std::string> corrections;  // likewise
};

std::string Folded(const std::string& utf8) { return ToSingleByte(ToLower(FromUtf8(utf8))); }

std::vector<Misspelling> ReadMisspellings(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Misspelling> list;
  std::string line, last;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    if (list.empty() || line.substr(0, tab) != last) {
      last = line.substr(0, tab);
      list.push_back({Folded(last), {}});
    }
    list.back().corrections.push_back(Folded(line.substr(tab + 1)));
  }
  return list;
}

// How many misspellings have a correction first, in the first three, and
// among those offered; compared in that order.
struct Figures {
  std::size_t first = 0, first_three = 0, first_five = 0, offered = 0, total = 0;
  auto Key() const { return std::tie(first, first_three, offered); }
};

Figures Evaluate(const RankingWeights& weights, std::span<const Misspelling> half) {
  const MainWordList& list = ThreadDicWords();
  const std::span<const std::uint8_t> details =
      FindResource("DIC", 102).first(static_cast<std::size_t>(kDicCapacity));
  const RankedSuggester suggester(list, details, weights);
  Figures figures;
  for (const Misspelling& m : half) {
    ++figures.total;
    const std::vector<RankedEntry> ranked = suggester.Suggest(m.word, 10);
    for (std::size_t place = 0; place < ranked.size(); ++place) {
      const std::string entry(list.Entry(ranked[place].entry));
      if (std::find(m.corrections.begin(), m.corrections.end(), entry) == m.corrections.end()) {
        continue;
      }
      figures.first += place == 0;
      figures.first_three += place < 3;
      figures.first_five += place < 5;
      figures.offered += 1;
      break;
    }
  }
  return figures;
}

// Each weight the search moves.
std::vector<double*> Tuned(RankingWeights& w) {
  std::vector<double*> tuned = {&w.cost, &w.same_sound, &w.first_letter, &w.length,
                                &w.gestalt};
  // The commonest class is the score's zero.
  for (std::size_t k = 1; k < 8; ++k) tuned.push_back(&w.size_class[k]);
  return tuned;
}

// The best-first search needs the cost and gestalt weights above zero.
bool Allowed(const RankingWeights& w) { return w.cost > 0 && w.gestalt >= 0; }

RankingWeights Tune(RankingWeights weights, std::span<const Misspelling> half) {
  Figures best = Evaluate(weights, half);
  for (bool moved = true; moved;) {
    moved = false;
    for (double* weight : Tuned(weights)) {
      for (const double step : {0.1, -0.1}) {
        for (;;) {
          const double kept = *weight;
          *weight = kept + step;
          const Figures tried = Allowed(weights) ? Evaluate(weights, half) : Figures{};
          if (tried.Key() <= best.Key()) {
            *weight = kept;
            break;
          }
          best = tried;
          moved = true;
        }
      }
    }
  }
  return weights;
}

// The far list's sum of figures, for weights that keep the first list's
// tuned half at least as good as kept.
RankingWeights TuneFar(RankingWeights weights, std::span<const Misspelling> far,
                       std::span<const Misspelling> tuned) {
  const Figures kept = Evaluate(weights, tuned);
  const auto sum = [](const Figures& f) { return f.first + f.first_three + f.first_five + f.offered; };
  const auto keeps = [&kept](const Figures& f) {
    return f.first >= kept.first && f.first_three >= kept.first_three && f.offered >= kept.offered;
  };
  std::vector<double*> moved_weights = Tuned(weights);
  moved_weights.push_back(&weights.wider_below);
  std::size_t best = sum(Evaluate(weights, far));
  for (bool moved = true; moved;) {
    moved = false;
    for (double* weight : moved_weights) {
      for (const double step : {0.2, -0.2}) {
        for (;;) {
          const double before = *weight;
          *weight = before + step;
          const std::size_t tried = Allowed(weights) ? sum(Evaluate(weights, far)) : 0;
          if (tried <= best || !keeps(Evaluate(weights, tuned))) {
            *weight = before;
            break;
          }
          best = tried;
          moved = true;
        }
      }
    }
  }
  return weights;
}

void Print(const char* title, const RankingWeights& w, std::span<const Misspelling> tuned,
           std::span<const Misspelling> held_out) {
  std::printf("%s: cost %.1f, size classes {", title, w.cost);
  for (std::size_t k = 0; k < 8; ++k) std::printf(k ? ", %.1f" : "%.1f", w.size_class[k]);
  std::printf(
      "}, same sound %.1f, first letter %.1f, length %.1f, gestalt %.1f, wider below %.1f\n",
      w.same_sound, w.first_letter, w.length, w.gestalt, w.wider_below);
  for (const auto& [name, half] : {std::pair("tuned", tuned), std::pair("held out", held_out)}) {
    const Figures f = Evaluate(w, half);
    const auto share = [&f](std::size_t n) {
      return 100.0 * static_cast<double>(n) / static_cast<double>(f.total);
    };
    std::printf(
        "  %-8s %zu misspellings: first %.1f %%, first three %.1f %%, first five %.1f %%, "
        "offered %.1f %%\n",
        name, f.total, share(f.first), share(f.first_three), share(f.first_five),
        share(f.offered));
  }
}

}  // namespace
}  // namespace quenvar

int main(int argc, char** argv) {
  using namespace quenvar;
  const bool evaluate_only = argc >= 3 && std::string(argv[argc - 1]) == "--evaluate";
  const int files = argc - 1 - (evaluate_only ? 1 : 0);
  if (files != 1 && files != 2) {
    std::cerr << "usage: tune_ranking_weights MISSPELLINGS [FAR] [--evaluate]\n";
    return 2;
  }
  try {
    SpellCheck().Init();
    const std::vector<Misspelling> all = ReadMisspellings(argv[1]);
    const std::span<const Misspelling> tuned(all.data(), all.size() / 2);
    const std::span<const Misspelling> held_out(all.data() + all.size() / 2,
                                                all.size() - all.size() / 2);
    if (files == 1) {
      Print("The ranking's weights", RankingWeights{}, tuned, held_out);
      if (!evaluate_only) Print("Tuned", Tune(RankingWeights{}, tuned), tuned, held_out);
      return 0;
    }
    std::vector<Misspelling> far_tuned, far_held_out;
    for (Misspelling& m : ReadMisspellings(argv[2])) {
      (bench::IsHeldOut(m.corrections.front()) ? far_held_out : far_tuned).push_back(std::move(m));
    }
    const auto print = [&](const char* title, const RankingWeights& w) {
      Print(title, w, tuned, held_out);
      std::printf(" far misspellings:\n");
      Print(title, w, far_tuned, far_held_out);
    };
    print("The ranking's weights", RankingWeights{});
    if (!evaluate_only) print("Tuned", TuneFar(RankingWeights{}, far_tuned, tuned));
  } catch (const std::exception& e) {
    std::cerr << "tune_ranking_weights: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
