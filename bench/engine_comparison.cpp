// Side-by-side comparison of QuenvarSpell with Hunspell, Nuspell and Aspell,
// each loaded through its Debian library in this one process.
//
//   engine_comparison TEXT MISSPELLINGS [TOOL [FAR [odd]]]
//
// TEXT is UTF-8 English prose. MISSPELLINGS holds "misspelling<TAB>correction"
// lines (UTF-8); a misspelling with several corrections has one line each.
// Prints a Markdown table of load time, resident memory of each loaded
// dictionary, time per word checked and per misspelling suggested, and the
// quality of the answers, with QuenvarSpell's ratio to each peer; then a
// table of the first load in fresh processes, and, given the quenvarspell
// tool, its start-to-exit time against `hunspell -l` and `aspell list`.
// Given FAR, a second file of misspellings (written by hand, often several
// edits from the word), a last table gives where the corrections of both
// lists fall among the suggestions of QuenvarSpell, Hunspell and Aspell
// (Nuspell, which answers as Hunspell does, twice as slowly, is left out),
// with one timed run of FAR; with odd, only FAR's misspellings whose first
// correction has an odd FNV-1a hash are kept, the half the ranking was not
// tuned on.
//
// The text is split once, at the delimiters of QuenvarSpell's text walk, and
// every engine gets the same words, each in the form its interface takes
// (UTF-16 for QuenvarSpell, UTF-8 for the peers), converted beforehand.
// Every time is the best of kRuns runs.

#include <aspell.h>
#include <hunspell.hxx>
#include <malloc.h>
#include <nuspell/dictionary.hxx>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <quenvarspell/spell_check.h>

#include "far_half.h"

namespace {

constexpr int kRuns = 3;
constexpr const char* kHunspellAff = "/usr/share/hunspell/en_US.aff";
constexpr const char* kHunspellDic = "/usr/share/hunspell/en_US.dic";

// One word in both forms the engines take.
struct Word {
  std::string utf8;
  std::u16string utf16;
};

Word MakeWord(std::string utf8) {
  std::u16string utf16 = quenvar::FromUtf8(utf8);
  return {std::move(utf8), std::move(utf16)};
}

// A misspelling with every correction the list gives for it.
struct Misspelling {
  Word word;
  std::vector<std::string> corrections;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The non-empty pieces of text between the delimiters of QuenvarSpell's text
// walk. Every delimiter is ASCII, so splitting the UTF-8 bytes gives the
// pieces that splitting the UTF-16 text gives.
std::vector<Word> SplitWords(std::string_view text) {
  constexpr std::string_view kDelimiters = "\t\n\r \"/?.;:,\\()[]{}<>|!";
  std::vector<Word> words;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(kDelimiters, start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) words.push_back(MakeWord(std::string(text.substr(start, end - start))));
    start = end + 1;
  }
  return words;
}

// The distinct misspellings of a "misspelling<TAB>correction" file, in order
// of first appearance.
std::vector<Misspelling> ReadMisspellings(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<Misspelling> misspellings;
  std::map<std::string, std::size_t> index;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    std::string misspelling = line.substr(0, tab);
    const auto [it, added] = index.emplace(misspelling, misspellings.size());
    if (added) misspellings.push_back({MakeWord(std::move(misspelling)), {}});
    misspellings[it->second].corrections.push_back(line.substr(tab + 1));
  }
  if (misspellings.empty()) throw std::runtime_error("no misspellings in " + path);
  return misspellings;
}

// The process's resident memory in bytes, after the heap has returned its
// free memory to the system.
double ResidentBytes() {
  ::malloc_trim(0);
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(::getpagesize());
}

// The seconds one call of run takes.
template <typename Run>
double Seconds(Run&& run) {
  const auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fewest seconds of kRuns calls of run.
template <typename Run>
double BestSeconds(Run&& run) {
  double best = Seconds(run);
  for (int i = 1; i < kRuns; ++i) best = std::min(best, Seconds(run));
  return best;
}

// One spell checker behind the operations the comparison times.
class Engine {
 public:
  virtual ~Engine() = default;

  virtual std::string Name() const = 0;

  // Opens the English dictionary, replacing one opened before.
  virtual void Load() = 0;

  // The number of words that the engine does not accept.
  virtual std::size_t CountWrong(const std::vector<Word>& words) = 0;

  // Asks for the suggestions for every misspelling and keeps them in the
  // engine's own form, replacing those kept before.
  virtual void Suggest(const std::vector<Misspelling>& misspellings) = 0;

  // The suggestions kept by the last Suggest, in UTF-8, one list per
  // misspelling.
  virtual std::vector<std::vector<std::string>> Suggestions() const = 0;
};

// QuenvarSpell suggesting with GetRankedSuggestions (ten at most, as the
// Ispell pipe asks), or with GetSuggestions.
class QuenvarEngine : public Engine {
 public:
  explicit QuenvarEngine(bool ranked) : ranked_(ranked) {}

  std::string Name() const override {
    return ranked_ ? "QuenvarSpell" : "QuenvarSpell GetSuggestions";
  }

  void Load() override { speller_.Init(); }

  std::size_t CountWrong(const std::vector<Word>& words) override {
    std::size_t wrong = 0;
    for (const Word& word : words) wrong += !speller_.CheckWord(word.utf16);
    return wrong;
  }

  void Suggest(const std::vector<Misspelling>& misspellings) override {
    found_.clear();
    for (const Misspelling& m : misspellings) {
      found_.push_back(ranked_ ? speller_.GetRankedSuggestions(m.word.utf16)
                               : speller_.GetSuggestions(m.word.utf16));
    }
  }

  std::vector<std::vector<std::string>> Suggestions() const override {
    std::vector<std::vector<std::string>> lists;
    for (const quenvar::WordArray& found : found_) {
      std::vector<std::string>& list = lists.emplace_back();
      if (!found) continue;
      for (const std::u16string& word : *found) list.push_back(quenvar::ToUtf8(word));
    }
    return lists;
  }

  // The number of words that CheckText without the dialog reports as not
  // in the word lists, walking all of text.
  std::size_t CheckText(std::u16string& text) {
    UnknownCounter counter;
    const std::uint32_t cookie = speller_.Advise(counter);
    speller_.CheckText(text, quenvar::kFalse);
    speller_.Unadvise(cookie);
    return counter.unknown;
  }

 private:
  class UnknownCounter : public quenvar::SpellCheckEvents {
   public:
    void SpellWordNotInDic(const std::u16string&, std::int32_t,
                           quenvar::Boolean&) override {
      ++unknown;
    }
    std::size_t unknown = 0;
  };

  const bool ranked_;
  quenvar::SpellCheck speller_;
  std::vector<quenvar::WordArray> found_;
};

// Hunspell with en_US of hunspell-en-us, whose affix file declares UTF-8.
class HunspellEngine : public Engine {
 public:
  std::string Name() const override { return "Hunspell"; }

  void Load() override {
    hunspell_ = std::make_unique<Hunspell>(kHunspellAff, kHunspellDic);
    if (hunspell_->get_dict_encoding() != "UTF-8") {
      throw std::runtime_error("Hunspell: en_US is not in UTF-8");
    }
  }

  std::size_t CountWrong(const std::vector<Word>& words) override {
    std::size_t wrong = 0;
    for (const Word& word : words) wrong += !hunspell_->spell(word.utf8);
    return wrong;
  }

  void Suggest(const std::vector<Misspelling>& misspellings) override {
    found_.clear();
    for (const Misspelling& m : misspellings) {
      found_.push_back(hunspell_->suggest(m.word.utf8));
    }
  }

  std::vector<std::vector<std::string>> Suggestions() const override { return found_; }

 private:
  std::unique_ptr<Hunspell> hunspell_;
  std::vector<std::vector<std::string>> found_;
};

// Nuspell with the same en_US files as Hunspell; it takes UTF-8 words.
class NuspellEngine : public Engine {
 public:
  std::string Name() const override { return "Nuspell"; }

  void Load() override {
    nuspell::Dictionary dictionary;
    dictionary.load_aff_dic(kHunspellAff);
    dictionary_ = std::move(dictionary);
  }

  std::size_t CountWrong(const std::vector<Word>& words) override {
    std::size_t wrong = 0;
    for (const Word& word : words) wrong += !dictionary_.spell(word.utf8);
    return wrong;
  }

  void Suggest(const std::vector<Misspelling>& misspellings) override {
    found_.clear();
    for (const Misspelling& m : misspellings) {
      dictionary_.suggest(m.word.utf8, found_.emplace_back());
    }
  }

  std::vector<std::vector<std::string>> Suggestions() const override { return found_; }

 private:
  nuspell::Dictionary dictionary_;
  std::vector<std::vector<std::string>> found_;
};

// Aspell with its "en_US" dictionary from aspell-en, told to take and give
// UTF-8; every other setting is Aspell's default.
class AspellEngine : public Engine {
 public:
  ~AspellEngine() override { Close(); }

  std::string Name() const override { return "Aspell"; }

  void Load() override {
    AspellConfig* config = new_aspell_config();
    aspell_config_replace(config, "lang", "en_US");
    aspell_config_replace(config, "encoding", "utf-8");
    AspellCanHaveError* result = new_aspell_speller(config);
    delete_aspell_config(config);
    if (aspell_error_number(result) != 0) {
      const std::string message = aspell_error_message(result);
      delete_aspell_can_have_error(result);
      throw std::runtime_error("Aspell: " + message);
    }
    Close();
    speller_ = to_aspell_speller(result);
  }

  std::size_t CountWrong(const std::vector<Word>& words) override {
    std::size_t wrong = 0;
    for (const Word& word : words) {
      wrong += aspell_speller_check(speller_, word.utf8.data(),
                                    static_cast<int>(word.utf8.size())) != 1;
    }
    return wrong;
  }

  void Suggest(const std::vector<Misspelling>& misspellings) override {
    found_.clear();
    for (const Misspelling& m : misspellings) {
      std::vector<std::string>& list = found_.emplace_back();
      const AspellWordList* suggestions = aspell_speller_suggest(
          speller_, m.word.utf8.data(), static_cast<int>(m.word.utf8.size()));
      AspellStringEnumeration* elements = aspell_word_list_elements(suggestions);
      while (const char* word = aspell_string_enumeration_next(elements)) {
        list.emplace_back(word);
      }
      delete_aspell_string_enumeration(elements);
    }
  }

  std::vector<std::vector<std::string>> Suggestions() const override { return found_; }

 private:
  void Close() {
    if (speller_ != nullptr) delete_aspell_speller(speller_);
    speller_ = nullptr;
  }

  AspellSpeller* speller_ = nullptr;
  std::vector<std::vector<std::string>> found_;
};

// Where the corrections of a list of misspellings fall among an engine's
// suggestions: counts of misspellings by the best place of any of their
// corrections.
struct Places {
  std::size_t first = 0, top3 = 0, top5 = 0, top10 = 0, found = 0, suggestions = 0;
};

Places PlacesOf(const std::vector<std::vector<std::string>>& lists,
                const std::vector<Misspelling>& misspellings) {
  Places places;
  for (std::size_t i = 0; i < misspellings.size(); ++i) {
    const std::vector<std::string>& list = lists[i];
    places.suggestions += list.size();
    std::size_t place = list.size();  // none: past the list's end
    for (const std::string& correction : misspellings[i].corrections) {
      place = std::min<std::size_t>(
          place, static_cast<std::size_t>(std::find(list.begin(), list.end(), correction) -
                                          list.begin()));
    }
    if (place == list.size()) continue;
    places.found += 1;
    places.first += place == 0;
    places.top3 += place < 3;
    places.top5 += place < 5;
    places.top10 += place < 10;
  }
  return places;
}

// What the comparison measured for one engine.
struct Result {
  std::string name;
  double load_seconds = 0;
  double resident_bytes = 0;
  double check_seconds = 0;
  std::size_t text_wrong = 0;
  double suggest_seconds = 0;
  std::size_t misspellings_wrong = 0;
  Places places;
};

// Loads the engine, measuring the first load's resident memory, then times
// it and checks its answers.
Result Measure(Engine& engine, const std::vector<Word>& text_words,
               const std::vector<Misspelling>& misspellings,
               const std::vector<Word>& misspelled_words) {
  Result result;
  result.name = engine.Name();
  const double before = ResidentBytes();
  double load = Seconds([&] { engine.Load(); });
  result.resident_bytes = ResidentBytes() - before;
  for (int i = 1; i < kRuns; ++i) load = std::min(load, Seconds([&] { engine.Load(); }));
  result.load_seconds = load;

  result.check_seconds =
      BestSeconds([&] { result.text_wrong = engine.CountWrong(text_words); });
  result.misspellings_wrong = engine.CountWrong(misspelled_words);
  result.suggest_seconds = BestSeconds([&] { engine.Suggest(misspellings); });

  result.places = PlacesOf(engine.Suggestions(), misspellings);
  return result;
}

std::string Format(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

// A duration in the unit that suits it.
std::string Duration(double seconds) {
  if (seconds < 1e-6) return Format("%.0f ns", seconds * 1e9);
  if (seconds < 1e-3) return Format("%.1f µs", seconds * 1e6);
  if (seconds < 1) return Format("%.1f ms", seconds * 1e3);
  return Format("%.2f s", seconds);
}

std::string Ratio(double ratio) {
  return Format(ratio < 10 ? "%.2f" : ratio < 100 ? "%.1f" : "%.0f", ratio);
}

// How many times faster (or slower) a QuenvarSpell time is than a peer's.
std::string TimeRatio(double quenvar_seconds, double peer_seconds) {
  if (quenvar_seconds <= peer_seconds) {
    return Ratio(peer_seconds / quenvar_seconds) + "x faster";
  }
  return Ratio(quenvar_seconds / peer_seconds) + "x slower";
}

// How many times less (or more) memory QuenvarSpell's figure is than a
// peer's.
std::string MemoryRatio(double quenvar_bytes, double peer_bytes) {
  if (quenvar_bytes <= peer_bytes) return Ratio(peer_bytes / quenvar_bytes) + "x less";
  return Ratio(quenvar_bytes / peer_bytes) + "x more";
}

std::string Percent(std::size_t part, std::size_t whole) {
  return Format("%.1f %%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

std::string Mean(std::size_t total, std::size_t count) {
  return Format("%.2f", static_cast<double>(total) / static_cast<double>(count));
}

// QuenvarSpell's figure as a multiple of a peer's.
std::string PlainRatio(std::size_t quenvar, std::size_t peer) {
  if (peer == 0) return "–";
  return Ratio(static_cast<double>(quenvar) / static_cast<double>(peer)) + "x";
}

void PrintRow(const std::string& figure, const std::vector<std::string>& cells) {
  std::cout << "| " << figure;
  for (const std::string& cell : cells) std::cout << " | " << cell;
  std::cout << " |\n";
}

// --- Fresh processes ---------------------------------------------------------
// A host loads its dictionary once, in a fresh process: page faults, the
// dynamic loader and cold caches are part of what its user waits for. Each
// such figure is measured in a child process of its own, several times.

constexpr int kFreshRuns = 9;

// Runs argv with input on its standard input and answers what it printed;
// seconds gets the time from the start to the exit. Throws when it cannot
// be run or fails.
std::string RunChild(const std::vector<std::string>& argv, const std::string& input,
                     double& seconds) {
  int to_child[2], from_child[2];
  if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, to_child[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, from_child[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, to_child[1]);
  posix_spawn_file_actions_addclose(&actions, from_child[0]);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(to_child[0]);
  ::close(from_child[1]);
  if (spawned != 0) {
    ::close(to_child[1]);
    ::close(from_child[0]);
    throw std::runtime_error("cannot run " + argv[0]);
  }
  if (!input.empty() && ::write(to_child[1], input.data(), input.size()) < 0) {
    throw std::runtime_error("cannot write to " + argv[0]);
  }
  ::close(to_child[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t got; (got = ::read(from_child[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(from_child[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(argv[0] + " failed");
  }
  return output;
}

// The median and the least of values.
struct Spread {
  double median;
  double best;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values.front()};
}

// Prints one table row: each engine's value of a figure, then QuenvarSpell's
// ratio to each peer. results[0] is QuenvarSpell's.
template <typename Value, typename Show, typename Compare>
void PrintFigure(const std::string& figure, const std::vector<Result>& results,
                 Value value, Show show, Compare compare) {
  std::vector<std::string> cells;
  for (const Result& r : results) cells.push_back(show(r, value(r)));
  for (std::size_t i = 1; i < results.size(); ++i) {
    cells.push_back(compare(value(results[0]), value(results[i])));
  }
  PrintRow(figure, cells);
}

void PrintTable(const std::vector<Result>& results, double check_text_seconds,
                std::size_t check_text_unknown, std::size_t text_words,
                std::size_t misspellings) {
  const double words = static_cast<double>(text_words);
  const double misspelled = static_cast<double>(misspellings);
  std::vector<std::string> header;
  for (const Result& r : results) header.push_back(r.name);
  for (std::size_t i = 1; i < results.size(); ++i) header.push_back("vs " + results[i].name);
  PrintRow("Figure", header);
  PrintRow("---", std::vector<std::string>(header.size(), "---:"));

  const auto duration = [](const Result&, double seconds) { return Duration(seconds); };
  PrintFigure("Load", results, [](const Result& r) { return r.load_seconds; }, duration,
              TimeRatio);
  PrintFigure(
      "Resident memory of the loaded dictionary", results,
      [](const Result& r) { return r.resident_bytes; },
      [](const Result&, double bytes) { return Format("%.1f MiB", bytes / (1 << 20)); },
      MemoryRatio);
  PrintFigure("Check, per word", results,
              [&](const Result& r) { return r.check_seconds / words; }, duration,
              TimeRatio);
  std::vector<std::string> cells = {Duration(check_text_seconds / words)};
  cells.resize(results.size(), "");
  for (std::size_t i = 1; i < results.size(); ++i) {
    cells.push_back(TimeRatio(check_text_seconds, results[i].check_seconds));
  }
  PrintRow("CheckText without the dialog, per word", cells);
  PrintFigure("Suggest, per misspelling", results,
              [&](const Result& r) { return r.suggest_seconds / misspelled; }, duration,
              TimeRatio);

  const auto percent_of = [](std::size_t whole) {
    return [whole](const Result&, std::size_t part) { return Percent(part, whole); };
  };
  PrintFigure("Text words flagged", results, [](const Result& r) { return r.text_wrong; },
              percent_of(text_words), PlainRatio);
  cells = {Percent(check_text_unknown, text_words)};
  cells.resize(results.size(), "");
  for (std::size_t i = 1; i < results.size(); ++i) {
    cells.push_back(PlainRatio(check_text_unknown, results[i].text_wrong));
  }
  PrintRow("Text words CheckText reports", cells);
  PrintFigure("Misspellings flagged", results,
              [](const Result& r) { return r.misspellings_wrong; }, percent_of(misspellings),
              PlainRatio);
  PrintFigure("Correction among the suggestions", results,
              [](const Result& r) { return r.places.found; }, percent_of(misspellings),
              PlainRatio);
  PrintFigure("Correction first", results,
              [](const Result& r) { return r.places.first; }, percent_of(misspellings),
              PlainRatio);
  PrintFigure("Correction in the first three", results,
              [](const Result& r) { return r.places.top3; }, percent_of(misspellings),
              PlainRatio);
  PrintFigure(
      "Suggestions per misspelling (mean)", results,
      [](const Result& r) { return r.places.suggestions; },
      [&](const Result&, std::size_t total) { return Mean(total, misspellings); },
      PlainRatio);
}

// The misspellings of path; with odd_half, only those held out from the
// tuning (bench/far_half.h) by their first correction.
std::vector<Misspelling> ReadFarMisspellings(const std::string& path, bool odd_half) {
  std::vector<Misspelling> misspellings = ReadMisspellings(path);
  if (!odd_half) return misspellings;
  std::erase_if(misspellings,
                [](const Misspelling& m) { return !quenvar::bench::IsHeldOut(m.corrections.front()); });
  return misspellings;
}

// One engine's places on the public list (from its Result) and on the far
// list, with the seconds of one run of the far list.
struct FarResult {
  std::string name;
  Places near, far;
  double near_seconds = 0, far_seconds = 0;
};

// The places of both lists side by side, QuenvarSpell first, with its
// ratio to each peer.
void PrintPlacesTable(const std::vector<FarResult>& results, std::size_t near_count,
                      std::size_t far_count) {
  std::cout << "\nWhere the corrections fall: the public list (" << near_count
            << " misspellings) and the far misspellings (" << far_count << "):\n\n";
  std::vector<std::string> header;
  for (const FarResult& r : results) header.push_back(r.name);
  for (std::size_t i = 1; i < results.size(); ++i) header.push_back("vs " + results[i].name);
  PrintRow("Figure", header);
  PrintRow("---", std::vector<std::string>(header.size(), "---:"));
  for (const bool far : {false, true}) {
    const std::string list = far ? "Far: " : "Public: ";
    const std::size_t whole = far ? far_count : near_count;
    const auto row = [&](const std::string& figure, std::size_t Places::*member) {
      std::vector<std::string> cells;
      for (const FarResult& r : results) cells.push_back(Percent((far ? r.far : r.near).*member, whole));
      for (std::size_t i = 1; i < results.size(); ++i) {
        cells.push_back(PlainRatio((far ? results[0].far : results[0].near).*member,
                                   (far ? results[i].far : results[i].near).*member));
      }
      PrintRow(list + figure, cells);
    };
    row("first", &Places::first);
    row("in the first three", &Places::top3);
    row("in the first five", &Places::top5);
    row("in the first ten", &Places::top10);
    row("among all the suggestions", &Places::found);
    std::vector<std::string> cells;
    for (const FarResult& r : results) {
      cells.push_back(Mean((far ? r.far : r.near).suggestions, whole));
    }
    cells.resize(header.size(), "");
    PrintRow(list + "suggestions per misspelling (mean)", cells);
    cells.clear();
    const auto seconds = [far, whole](const FarResult& r) {
      return (far ? r.far_seconds : r.near_seconds) / static_cast<double>(whole);
    };
    for (const FarResult& r : results) cells.push_back(Duration(seconds(r)));
    for (std::size_t i = 1; i < results.size(); ++i) {
      cells.push_back(TimeRatio(seconds(results[0]), seconds(results[i])));
    }
    PrintRow(list + "suggest, per misspelling", cells);
  }
}

}  // namespace

// The child's side of a fresh-process load: loads the named engine once and
// prints the seconds it took and the resident memory it added, then that
// memory again once a first suggestion (QuenvarSpell's ranked ones) has
// built what suggesting needs.
int MeasureFreshLoad(const std::string& name) {
  QuenvarEngine quenvar(true);
  HunspellEngine hunspell;
  NuspellEngine nuspell;
  AspellEngine aspell;
  for (Engine* engine : std::initializer_list<Engine*>{&quenvar, &hunspell, &nuspell, &aspell}) {
    if (engine->Name() != name) continue;
    const double before = ResidentBytes();
    const double seconds = Seconds([&] { engine->Load(); });
    const double loaded = ResidentBytes() - before;
    engine->Suggest({Misspelling{MakeWord("recieve"), {}}});
    std::printf("%.9f %.0f %.0f\n", seconds, loaded, ResidentBytes() - before);
    return 0;
  }
  return 2;
}

// The first load of each engine and the resident memory it adds, each in
// kFreshRuns fresh processes; then, with tool, the start-to-exit time of
// `tool list`, `hunspell -l` and `aspell list` on a one-line input.
void PrintFreshTable(const std::vector<std::string>& names, const std::string& tool) {
  std::vector<Spread> loads, memory, suggesting;
  for (const std::string& name : names) {
    std::cerr << "engine_comparison: first loads of " << name << '\n';
    std::vector<double> seconds, bytes, suggested_bytes;
    for (int run = 0; run < kFreshRuns; ++run) {
      double ignored = 0;
      std::istringstream answer(RunChild({"/proc/self/exe", "--fresh-load", name}, "", ignored));
      double s = 0, b = 0, sb = 0;
      answer >> s >> b >> sb;
      seconds.push_back(s);
      bytes.push_back(b);
      suggested_bytes.push_back(sb);
    }
    loads.push_back(SpreadOf(seconds));
    memory.push_back(SpreadOf(bytes));
    suggesting.push_back(SpreadOf(suggested_bytes));
  }
  std::cout << "\nIn fresh processes (a child process for each measure; median of "
            << kFreshRuns << ", best in brackets):\n\n";
  std::vector<std::string> header = names;
  for (std::size_t i = 1; i < names.size(); ++i) header.push_back("vs " + names[i]);
  PrintRow("Figure", header);
  PrintRow("---", std::vector<std::string>(header.size(), "---:"));
  std::vector<std::string> cells;
  for (const Spread& s : loads) cells.push_back(Duration(s.median) + " (" + Duration(s.best) + ")");
  for (std::size_t i = 1; i < loads.size(); ++i) {
    cells.push_back(TimeRatio(loads[0].median, loads[i].median));
  }
  PrintRow("First load", cells);
  cells.clear();
  for (const Spread& s : memory) cells.push_back(Format("%.1f MiB", s.median / (1 << 20)));
  for (std::size_t i = 1; i < memory.size(); ++i) {
    cells.push_back(MemoryRatio(memory[0].median, memory[i].median));
  }
  PrintRow("Resident growth of the first load", cells);
  cells.clear();
  for (const Spread& s : suggesting) cells.push_back(Format("%.1f MiB", s.median / (1 << 20)));
  for (std::size_t i = 1; i < suggesting.size(); ++i) {
    cells.push_back(MemoryRatio(suggesting[0].median, suggesting[i].median));
  }
  PrintRow("Resident growth with a first suggestion", cells);
  if (tool.empty()) return;

  const std::string line = "The quick brown fox jumps over the lazy dgo.\n";
  const auto start_to_exit = [&](const std::vector<std::string>& command) {
    std::vector<double> seconds;
    for (int run = 0; run < kFreshRuns; ++run) {
      double s = 0;
      RunChild(command, line, s);
      seconds.push_back(s);
    }
    return SpreadOf(seconds);
  };
  const Spread ours = start_to_exit({tool, "list"});
  const Spread hunspell = start_to_exit({"hunspell", "-l", "-d", "en_US"});
  const Spread aspell = start_to_exit({"aspell", "list"});
  cells = {Duration(ours.median) + " (" + Duration(ours.best) + ")",
           Duration(hunspell.median) + " (" + Duration(hunspell.best) + ")", "",
           Duration(aspell.median) + " (" + Duration(aspell.best) + ")",
           TimeRatio(ours.median, hunspell.median), "", TimeRatio(ours.median, aspell.median)};
  PrintRow("`quenvarspell list`, `hunspell -l`, `aspell list` on one line, start to exit", cells);
}

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--fresh-load") return MeasureFreshLoad(argv[2]);
  const bool odd_half = argc == 6 && std::string(argv[5]) == "odd";
  if (argc < 3 || argc > 6 || (argc == 6 && !odd_half)) {
    std::cerr << "usage: engine_comparison TEXT MISSPELLINGS [TOOL [FAR [odd]]]\n";
    return 2;
  }
  try {
    const std::string text = ReadFile(argv[1]);
    std::u16string text16 = quenvar::FromUtf8(text);
    const std::vector<Word> text_words = SplitWords(text);
    const std::vector<Misspelling> misspellings = ReadMisspellings(argv[2]);
    std::vector<Word> misspelled_words;
    std::size_t pairs = 0;
    for (const Misspelling& m : misspellings) {
      misspelled_words.push_back(m.word);
      pairs += m.corrections.size();
    }

    // What the ranking adds, built at a thread's first ranked call: measured
    // on a thread of its own, before anything else has ranked.
    double ranking_bytes = 0, ranking_seconds = 0;
    std::thread([&] {
      quenvar::SpellCheck speller;
      speller.Init();
      const double before = ResidentBytes();
      ranking_seconds = Seconds([&] { speller.GetRankedSuggestions(u"recieve"); });
      ranking_bytes = ResidentBytes() - before;
    }).join();

    QuenvarEngine quenvar(true);
    QuenvarEngine unranked(false);
    HunspellEngine hunspell;
    NuspellEngine nuspell;
    AspellEngine aspell;
    const std::vector<Engine*> engines = {&quenvar, &hunspell, &nuspell, &aspell};
    std::vector<Result> results;
    for (Engine* engine : engines) {
      std::cerr << "engine_comparison: measuring " << engine->Name() << '\n';
      results.push_back(Measure(*engine, text_words, misspellings, misspelled_words));
    }
    std::cerr << "engine_comparison: measuring " << unranked.Name() << '\n';
    const Result exact = Measure(unranked, text_words, misspellings, misspelled_words);
    std::size_t check_text_unknown = 0;
    const double check_text_seconds =
        BestSeconds([&] { check_text_unknown = quenvar.CheckText(text16); });

    std::cout << "Text: " << text_words.size() << " words (" << text.size()
              << " bytes). Misspellings: " << misspellings.size() << " distinct, "
              << pairs << " with their corrections. Times: best of " << kRuns
              << " runs.\n\n";
    PrintTable(results, check_text_seconds, check_text_unknown, text_words.size(),
               misspellings.size());
    std::cout << "\nQuenvarSpell's suggestions are GetRankedSuggestions' (at most 10). "
                 "GetSuggestions, by its exact rules: correction among them "
              << Percent(exact.places.found, misspellings.size()) << ", first "
              << Percent(exact.places.first, misspellings.size()) << ", "
              << Mean(exact.places.suggestions, misspellings.size()) << " a misspelling, "
              << Duration(exact.suggest_seconds / static_cast<double>(misspellings.size()))
              << " a misspelling.\n"
              << "The first ranked call of a thread builds the ranking's index: "
              << Duration(ranking_seconds) << ", "
              << Format("%.0f KiB", ranking_bytes / 1024) << " of resident memory.\n";
    std::vector<std::string> names;
    for (const Result& r : results) names.push_back(r.name);
    PrintFreshTable(names, argc >= 4 ? argv[3] : "");
    if (argc < 5) return 0;
    const std::vector<Misspelling> far = ReadFarMisspellings(argv[4], odd_half);
    std::vector<FarResult> far_results;
    for (const std::size_t e : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
      // QuenvarSpell, Hunspell, Aspell
      Engine* engine = engines[e];
      std::cerr << "engine_comparison: far misspellings, " << engine->Name() << '\n';
      FarResult r;
      r.name = results[e].name;
      r.near = results[e].places;
      r.near_seconds = results[e].suggest_seconds;
      r.far_seconds = Seconds([&] { engine->Suggest(far); });
      r.far = PlacesOf(engine->Suggestions(), far);
      far_results.push_back(r);
    }
    PrintPlacesTable(far_results, misspellings.size(), far.size());
  } catch (const std::exception& error) {
    std::cerr << "engine_comparison: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
