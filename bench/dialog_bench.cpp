// Google Benchmark program for the costs the suggestion dialog adds to a
// text walk: ProcessPendingEvents, which CheckText calls once per word, and
// one whole showing of the dialog for a misspelled word, closed at once.
//
//   dialog_bench [--benchmark_...]
//
// The benchmarks that need Qt run on its offscreen platform, with the
// built-in word list loaded.

#include <benchmark/benchmark.h>
#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "component/widgets_entry_points.h"

namespace {

// No Qt application exists yet: the call only looks for one.
void BM_ProcessPendingEventsWithoutApplication(benchmark::State& state) {
  for (auto _ : state) quenvar_ProcessPendingEvents();
}
BENCHMARK(BM_ProcessPendingEventsWithoutApplication);

// The process's QApplication, created on first use on the offscreen
// platform with the built-in word list loaded. The benchmarks above it run
// before it exists.
QApplication& Application() {
  static int argc = 1;
  static char name[] = "dialog_bench";
  static char* argv[] = {name, nullptr};
  static const std::unique_ptr<QApplication> application = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto created = std::make_unique<QApplication>(argc, argv);
    quenvar::SpellCheck().Init();
    return created;
  }();
  return *application;
}

// A QApplication on this thread with no events pending.
void BM_ProcessPendingEventsWithApplication(benchmark::State& state) {
  Application();
  for (auto _ : state) quenvar_ProcessPendingEvents();
}
BENCHMARK(BM_ProcessPendingEventsWithApplication);

// One ShowSuggestionDialog for "recieve", cancelled as soon as its modal
// loop runs: the list refill, showing, the loop and hiding.
void BM_ShowSuggestionDialog(benchmark::State& state) {
  Application();
  quenvar::SpellCheck speller;
  for (auto _ : state) {
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    benchmark::DoNotOptimize(speller.ShowSuggestionDialog(u"recieve"));
  }
}
BENCHMARK(BM_ShowSuggestionDialog)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
