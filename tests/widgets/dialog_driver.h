// Drives the real suggestion dialog from tests: a QApplication on Qt's
// offscreen platform, and clicks and keys scheduled from the modal loop.

#ifndef QUENVARSPELL_TESTS_DIALOG_DIALOG_DRIVER_H_
#define QUENVARSPELL_TESTS_DIALOG_DIALOG_DRIVER_H_

#include <gtest/gtest.h>
#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <vector>

#include "tests/test_support.h"

namespace quenvar::testing {

// A QApplication of the test's own on the calling thread, on Qt's offscreen
// platform.
struct OffscreenArguments {
  OffscreenArguments() { qputenv("QT_QPA_PLATFORM", "offscreen"); }
  int argc = 1;
  char name[11] = "unit_tests";
  char* argv[2] = {name, nullptr};
};
struct TestApplication : OffscreenArguments {
  QApplication application{argc, argv};
};

// Adds hel, hello, helot, help and house to this thread's custom list,
// which stands in for the main list: the dialog's suggestions and checks are
// the same as with a main list of those words.
inline void AddSmallWordList() {
  SpellCheck speller;
  for (const char16_t* word : {u"hel", u"hello", u"helot", u"help", u"house"}) {
    speller.AddToCustom(word);
  }
}

using Step = std::function<void(QWidget& form)>;

// Runs call() and, from the modal loop of each dialog it shows, runs the
// steps in turn, 150 ms apart so that Timer1 ticks between two steps; a step
// that closes one dialog leaves the next steps to the next dialog shown. A
// dialog still shown 3 s after the last step fails the test and is closed.
template <typename Call>
auto WhileDriving(std::vector<Step> steps, Call call) {
  QTimer driver;
  std::size_t next = 0;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QWidget* form = QApplication::activeModalWidget();
    if (form == nullptr) return;
    if (next < steps.size()) {
      steps[next++](*form);
    } else if (++next > steps.size() + 20) {
      ADD_FAILURE() << "the dialog is still shown";
      form->close();
    }
  });
  driver.start(150);
  return call();
}

// speller.ShowSuggestionDialog(word), driven by steps.
inline Variant ShowWith(SpellCheck& speller, const std::u16string& word,
                        std::vector<Step> steps) {
  return WhileDriving(std::move(steps),
                      [&] { return speller.ShowSuggestionDialog(word); });
}

template <typename Control>
inline Control& Find(QWidget& form, const char* name) {
  Control* control = form.findChild<Control*>(QString::fromLatin1(name));
  if (control == nullptr) throw std::runtime_error(name);
  return *control;
}
inline QLineEdit& TextBox(QWidget& form) {
  return Find<QLineEdit>(form, "txtWord");
}
inline QListWidget& List(QWidget& form) {
  return Find<QListWidget>(form, "lstSuggestion");
}
inline bool Enabled(QWidget& form, const char* button) {
  return Find<QPushButton>(form, button).isEnabled();
}
inline void Click(QWidget& form, const char* button) {
  QTest::mouseClick(&Find<QPushButton>(form, button), Qt::LeftButton);
}
inline void Key(QWidget& form, Qt::Key key,
                Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(form.windowHandle(), key, modifiers);
}
inline Step SetText(const char16_t* text) {
  return [text](QWidget& form) {
    TextBox(form).setText(QString::fromStdU16String(text));
  };
}
inline Step Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  return [=](QWidget& form) { Key(form, key, modifiers); };
}
inline QStringList Items(QWidget& form) {
  QStringList items;
  for (int i = 0; i < List(form).count(); ++i)
    items << List(form).item(i)->text();
  return items;
}

}  // namespace quenvar::testing

#endif  // QUENVARSPELL_TESTS_DIALOG_DIALOG_DRIVER_H_
