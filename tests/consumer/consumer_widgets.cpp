// A Qt host outside the tree, built against the installed package: the
// installed component finds the installed widgets library for the dialog.
#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <iostream>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QTimer::singleShot(100, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  const quenvar::Variant choice =
      quenvar::SpellCheck().ShowSuggestionDialog(u"Helo");
  const bool cancelled = choice == quenvar::Variant(quenvar::kFalse);
  std::cout << "dialog: " << (cancelled ? "closed" : "unexpected result")
            << '\n';
  return cancelled ? 0 : 1;
}
