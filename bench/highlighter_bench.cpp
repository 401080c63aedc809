// Google Benchmark program for as-you-type checking: the SpellHighlighter
// marking a 1,000-word paragraph, and its first pass over a 1 MB document,
// each in a QTextEdit on Qt's offscreen platform.
//
//   highlighter_bench [--benchmark_...] TEXT
//
// TEXT is English prose in UTF-8 (for example the shared corpus's
// big.txt); its words make the paragraph and the document.

#include <benchmark/benchmark.h>
#include <quenvarspell/spell_highlighter.h>

#include <QApplication>
#include <QFile>
#include <QTextEdit>
#include <cstdio>

namespace {

QString& Text() {
  static QString text;
  return text;
}

// The first words of the text making up at least size characters, with
// line breaks turned into spaces (one paragraph) or kept.
QString Prefix(qsizetype size, bool one_paragraph) {
  QString prefix = Text().left(size);
  if (one_paragraph) prefix.replace('\n', ' ');
  return prefix;
}

// Rehighlighting a paragraph of 1,000 words, as a change to it does.
void BM_HighlightParagraph(benchmark::State& state) {
  QString paragraph;
  qsizetype size = 0;
  int words = 0;
  for (; size < Text().size() && words < 1000; ++size) words += Text()[size] == ' ';
  paragraph = Prefix(size, true);
  QTextEdit editor;
  auto* highlighter = new quenvar::SpellHighlighter(editor.document());
  editor.setPlainText(paragraph);
  for (auto _ : state) highlighter->rehighlightBlock(editor.document()->firstBlock());
}
BENCHMARK(BM_HighlightParagraph)->Unit(benchmark::kMicrosecond);

// A 1 MB document's first pass: the text is set, every block is marked.
void BM_FirstPassOverOneMegabyte(benchmark::State& state) {
  const QString document = Prefix(1 << 20, false);
  for (auto _ : state) {
    QTextEdit editor;
    new quenvar::SpellHighlighter(editor.document());
    editor.setPlainText(document);
  }
}
BENCHMARK(BM_FirstPassOverOneMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: highlighter_bench [--benchmark_...] TEXT\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "highlighter_bench: cannot read %s\n", argv[1]);
    return 2;
  }
  Text() = QString::fromUtf8(file.readAll());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
