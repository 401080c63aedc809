// dialog_picture: renders the suggestion dialog, as it looks for the
// misspelled word "Helo", into a PNG file for the documentation.
//
// Usage: dialog_picture OUTPUT.png
// Runs on Qt's offscreen platform, so it needs no display.

#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  bool saved = false;
  // Once the dialog is up: pick the second suggestion, let Timer1 bring the
  // buttons up to date, take the picture and close the dialog.
  QTimer::singleShot(50, [&] {
    QWidget* form = QApplication::activeModalWidget();
    if (form == nullptr) return;
    form->findChild<QListWidget*>(QStringLiteral("lstSuggestion"))
        ->setCurrentRow(1);
    QTimer::singleShot(150, form, [&, form] {
      saved = form->grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
      form->close();
    });
  });
  try {
    // Custom words stand in for the main word list, so the picture needs no
    // built-in data.
    quenvar::SpellCheck speller;
    for (const char16_t* word : {u"hel", u"hello", u"helot"}) {
      speller.AddToCustom(word);
    }
    speller.ShowSuggestionDialog(u"Helo");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dialog_picture: %s\n", error.what());
    return 1;
  }
  if (!saved) {
    std::fprintf(stderr, "dialog_picture: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
