// dialog_picture: renders the suggestion dialog, as it looks for the
// misspelled word "Helo", into a PNG file for the documentation.
//
// Usage: dialog_picture OUTPUT.png
// Runs on Qt's offscreen platform, so it needs no display.

#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "dialog/frm_spell_check.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  QApplication application(qt_argc, argv);
  try {
    // Custom words stand in for the main word list, so the picture needs no
    // built-in data.
    quenvar::SpellCheck speller;
    for (const char16_t* word : {u"hel", u"hello", u"helot"}) {
      speller.AddToCustom(word);
    }
    quenvar::frmSpellCheck form;
    form.SetWord(u"Helo");
    form.StartUp();
    form.show();
    form.findChild<QListWidget*>(QStringLiteral("lstSuggestion"))
        ->setCurrentRow(1);
    // Wait for Timer1 to bring the buttons up to date.
    QEventLoop tick;
    QTimer::singleShot(150, &tick, &QEventLoop::quit);
    tick.exec();
    if (!form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
      std::fprintf(stderr, "dialog_picture: cannot write %s\n", argv[1]);
      return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "dialog_picture: %s\n", error.what());
    return 1;
  }
  return 0;
}
