// Google Benchmark program for checks against a large personal word list:
// QuenvarSpell's custom list, Aspell's personal word list and Hunspell's
// personal dictionary, each given the same words in the same run.
//
//   custom_list_bench [--benchmark_...] [WORDS]
//
// Makes WORDS (default 200,000) distinct made-up words, loads them into
// each engine beside its English dictionary, and times the check of a word
// that none of the lists holds (every list is searched to its end) and of
// one that only the personal list holds, and the suggestions for a common
// misspelling and for a personal word misspelled (ranked ones in
// QuenvarSpell). The built-in list is loaded with Init first.

#include <aspell.h>
#include <benchmark/benchmark.h>
#include <hunspell.hxx>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include <quenvarspell/spell_check.h>

namespace {

// Lower-case made-up words of 6 to 12 letters, all distinct.
std::vector<std::string> MadeUpWords(std::size_t count) {
  std::mt19937_64 random(20261209);
  std::vector<std::string> words;
  words.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string word = "q";
    for (std::size_t n = i; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    while (word.size() < 6 + random() % 7) word += static_cast<char>('a' + random() % 26);
    words.push_back(word);
  }
  return words;
}

void WriteLines(const std::string& path, const std::string& header,
                const std::vector<std::string>& words, const char* end) {
  std::ofstream out(path, std::ios::binary);
  out << header;
  for (const std::string& word : words) out << word << end;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<std::string>& Words() {
  static std::vector<std::string> words;
  return words;
}

// The word no list holds, and one only the personal lists hold.
constexpr const char* kUnknown = "zzqxjwvk";
const std::string& PersonalWord() { return Words()[Words().size() / 2]; }

void BM_QuenvarSpell(benchmark::State& state, const std::u16string& word) {
  quenvar::SpellCheck speller;
  for (auto _ : state) benchmark::DoNotOptimize(speller.CheckWord(word));
}

void BM_QuenvarSpellRanked(benchmark::State& state, const std::u16string& word) {
  quenvar::SpellCheck speller;
  for (auto _ : state) benchmark::DoNotOptimize(speller.GetRankedSuggestions(word));
}

void BM_AspellSuggest(benchmark::State& state, AspellSpeller* speller, const std::string& word) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        aspell_speller_suggest(speller, word.data(), static_cast<int>(word.size())));
  }
}

void BM_HunspellSuggest(benchmark::State& state, Hunspell* hunspell, const std::string& word) {
  for (auto _ : state) benchmark::DoNotOptimize(hunspell->suggest(word));
}

void BM_Aspell(benchmark::State& state, AspellSpeller* speller, const std::string& word) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        aspell_speller_check(speller, word.data(), static_cast<int>(word.size())));
  }
}

void BM_Hunspell(benchmark::State& state, Hunspell* hunspell, const std::string& word) {
  for (auto _ : state) benchmark::DoNotOptimize(hunspell->spell(word));
}

AspellSpeller* LoadAspell(const std::string& personal) {
  AspellConfig* config = new_aspell_config();
  aspell_config_replace(config, "lang", "en_US");
  aspell_config_replace(config, "encoding", "utf-8");
  aspell_config_replace(config, "personal", personal.c_str());
  AspellCanHaveError* result = new_aspell_speller(config);
  delete_aspell_config(config);
  if (aspell_error_number(result) != 0) {
    throw std::runtime_error(std::string("Aspell: ") + aspell_error_message(result));
  }
  return to_aspell_speller(result);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  try {
    const std::size_t count = argc > 1 ? std::stoul(argv[1]) : 200000;
    Words() = MadeUpWords(count);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("custom_list_bench." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string custom = folder / "custom.dic";
    const std::string aspell_personal = folder / "personal.pws";
    WriteLines(custom, "", Words(), "\r\n");
    WriteLines(aspell_personal, "personal_ws-1.1 en " + std::to_string(count) + "\n", Words(),
               "\n");

    quenvar::SpellCheck speller;
    speller.Init();
    speller.LoadCustom(quenvar::FromUtf8(custom));
    AspellSpeller* aspell = LoadAspell(aspell_personal);
    Hunspell hunspell("/usr/share/hunspell/en_US.aff", "/usr/share/hunspell/en_US.dic");
    // What `hunspell -p` does with each line of the personal dictionary.
    for (const std::string& word : Words()) hunspell.add(word);
    std::filesystem::remove_all(folder);

    const std::u16string unknown = quenvar::FromUtf8(kUnknown);
    const std::u16string personal = quenvar::FromUtf8(PersonalWord());
    if (speller.CheckWord(unknown) || !speller.CheckWord(personal) ||
        aspell_speller_check(aspell, PersonalWord().data(), -1) != 1 ||
        !hunspell.spell(PersonalWord())) {
      throw std::runtime_error("a list does not answer as expected");
    }
    benchmark::RegisterBenchmark("Check/unknown/QuenvarSpell", BM_QuenvarSpell, unknown);
    benchmark::RegisterBenchmark("Check/unknown/Aspell", BM_Aspell, aspell, kUnknown);
    benchmark::RegisterBenchmark("Check/unknown/Hunspell", BM_Hunspell, &hunspell, kUnknown);
    benchmark::RegisterBenchmark("Check/personal/QuenvarSpell", BM_QuenvarSpell, personal);
    benchmark::RegisterBenchmark("Check/personal/Aspell", BM_Aspell, aspell, PersonalWord());
    benchmark::RegisterBenchmark("Check/personal/Hunspell", BM_Hunspell, &hunspell,
                                 PersonalWord());
    // A common misspelling, and the personal word with a letter left out.
    const std::string slips[] = {"recieve", PersonalWord().substr(0, 3) + PersonalWord().substr(4)};
    for (const std::string& slip : slips) {
      const std::string kind = slip == slips[0] ? "common" : "personal";
      benchmark::RegisterBenchmark(("Suggest/" + kind + "/QuenvarSpell").c_str(),
                                   BM_QuenvarSpellRanked, quenvar::FromUtf8(slip));
      benchmark::RegisterBenchmark(("Suggest/" + kind + "/Aspell").c_str(), BM_AspellSuggest,
                                   aspell, slip);
      benchmark::RegisterBenchmark(("Suggest/" + kind + "/Hunspell").c_str(),
                                   BM_HunspellSuggest, &hunspell, slip);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete_aspell_speller(aspell);
  } catch (const std::exception& e) {
    std::cerr << "custom_list_bench: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
