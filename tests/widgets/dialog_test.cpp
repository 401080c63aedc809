// The suggestion dialog as hosts meet it: through the component, which
// loads the widgets library by name, on Qt's offscreen platform.

#include <gtest/gtest.h>
#include <quenvarspell/spell_check.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "component/widgets_entry_points.h"
#include "tests/widgets/dialog_driver.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using namespace testing;

TEST(SuggestionDialog, WindowLayout) {
  OnFreshThread([] {
    TestApplication qt;
    SpellCheck speller;
    const Variant result = ShowWith(
        speller, u"Helo", {[](QWidget& form) {
          EXPECT_EQ(form.objectName(), "frmSpellCheck");
          EXPECT_EQ(form.windowTitle(), "Spell Check");
          EXPECT_EQ(form.size(), QSize(405, 152));
          EXPECT_EQ(form.minimumSize(), form.maximumSize());
          EXPECT_FALSE(form.windowFlags() & Qt::WindowMinMaxButtonsHint);
          struct Expected {
            const char* name;
            const char* caption;
            QRect geometry;
          };
          const Expected controls[] = {
              {"lblWord", "Change to:", {12, 8, 65, 17}},
              {"txtWord", nullptr, {84, 8, 313, 19}},
              {"lblSuggestion", "Suggestions:", {12, 36, 65, 13}},
              {"lstSuggestion", nullptr, {84, 36, 137, 108}},
              {"cmdChange", "&Change", {228, 36, 81, 25}},
              {"cmdAddWord", "&Add Word", {228, 68, 81, 25}},
              {"cmdIgnore", "&Ignore", {316, 36, 81, 25}},
              {"cmdSuggest", "&Suggest", {316, 68, 81, 25}},
              {"cmdCancel", "Ca&ncel", {316, 116, 81, 25}},
          };
          for (const Expected& c : controls) {
            const QWidget& control = Find<QWidget>(form, c.name);
            EXPECT_EQ(control.geometry(), c.geometry) << c.name;
            if (auto* label = qobject_cast<const QLabel*>(&control)) {
              EXPECT_EQ(label->text(), c.caption);
              EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                        label->width());
            } else if (auto* button =
                           qobject_cast<const QPushButton*>(&control)) {
              EXPECT_EQ(button->text(), c.caption);
            }
          }
          EXPECT_TRUE(Find<QPushButton>(form, "cmdChange").isDefault());
          // Tab order from the text box, which has the focus, round to it
          // again. On a loaded machine the window may be activated, and the
          // focus given, a moment after it is shown.
          for (int wait = 0; wait < 100 && QApplication::focusWidget() == nullptr; ++wait) {
            QTest::qWait(20);
          }
          QWidget* focus = QApplication::focusWidget();
          ASSERT_NE(focus, nullptr);
          EXPECT_EQ(focus->objectName(), "txtWord");
          for (const char* name :
               {"lstSuggestion", "cmdChange", "cmdAddWord", "cmdIgnore",
                "cmdSuggest", "cmdCancel", "txtWord"}) {
            focus = focus->nextInFocusChain();
            while (focus->focusPolicy() == Qt::NoFocus)
              focus = focus->nextInFocusChain();
            EXPECT_EQ(focus->objectName(), name);
          }
          auto& timer = Find<QTimer>(form, "Timer1");
          EXPECT_TRUE(timer.isActive());
          EXPECT_EQ(timer.interval(), 100);
          Key(form, Qt::Key_Escape);
        }});
    EXPECT_EQ(result, Variant(kFalse));
  });
}

TEST(SuggestionDialog, ResultOfEachWayToClose) {
  OnFreshThread([] {
    TestApplication qt;
    AddSmallWordList();
    SpellCheck speller;
    const auto pick_hello = [](QWidget& form) {
      QListWidget& list = List(form);
      ASSERT_EQ(Items(form), QStringList({"hel", "hello", "helot"}));
      QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                        list.visualItemRect(list.item(1)).center());
      EXPECT_EQ(TextBox(form).text(), "hello");
    };
    const auto close_frame = [](QWidget& form) {
      QCloseEvent close;
      QApplication::sendEvent(form.windowHandle(), &close);
    };
    // Cancel is the Boolean False, never a string; each call starts clean.
    EXPECT_EQ(
        ShowWith(speller, u"Helo", {[](QWidget& f) { Click(f, "cmdCancel"); }}),
        Variant(kFalse));
    EXPECT_EQ(ShowWith(speller, u"Helo", {Press(Qt::Key_N, Qt::AltModifier)}),
              Variant(kFalse));
    EXPECT_EQ(ShowWith(speller, u"Helo", {close_frame}), Variant(kFalse));
    // Ignore hands back the word as passed, whatever the text box holds.
    EXPECT_EQ(ShowWith(speller, u"Helo",
                       {pick_hello, SetText(u"other"),
                        [](QWidget& f) { Click(f, "cmdIgnore"); }}),
              Variant(u"Helo"));
    EXPECT_EQ(ShowWith(speller, u"Helo",
                       {SetText(u"x"), Press(Qt::Key_I, Qt::AltModifier)}),
              Variant(u"Helo"));
    // Change hands back the text box: a picked suggestion or a typed text.
    EXPECT_EQ(ShowWith(speller, u"Helo",
                       {pick_hello,
                        [](QWidget& f) {
                          EXPECT_TRUE(Enabled(f, "cmdChange"));
                          Click(f, "cmdChange");
                        }}),
              Variant(u"hello"));
    EXPECT_EQ(ShowWith(speller, u"Helo",
                       {SetText(u"help me"), Press(Qt::Key_Return)}),
              Variant(u"help me"));
    EXPECT_EQ(ShowWith(speller, u"Helo",
                       {pick_hello, Press(Qt::Key_C, Qt::AltModifier)}),
              Variant(u"hello"));
  });
}

TEST(SuggestionDialog, ButtonsFollowTheTextBox) {
  OnFreshThread([] {
    TestApplication qt;
    AddSmallWordList();
    SpellCheck speller;
    const auto expect_buttons = [](bool change, bool add_word) {
      return [=](QWidget& form) {
        EXPECT_EQ(Enabled(form, "cmdChange"), change);
        EXPECT_EQ(Enabled(form, "cmdAddWord"), add_word);
      };
    };
    const Variant result =
        ShowWith(speller, u"Helo",
                 {expect_buttons(false, true), SetText(u"HELO"),
                  expect_buttons(false, true), SetText(u""),
                  expect_buttons(false, false),
                  // Neither Enter nor the access keys press a disabled button.
                  Press(Qt::Key_Return), Press(Qt::Key_C, Qt::AltModifier),
                  Press(Qt::Key_A, Qt::AltModifier), SetText(u"hello"),
                  expect_buttons(true, false),
                  // Suggest refills the list for the new text, and the buttons
                  // go on following the text afterwards.
                  Press(Qt::Key_S, Qt::AltModifier),
                  [](QWidget& form) {
                    EXPECT_EQ(Items(form), QStringList({"hello"}));
                    TextBox(form).setText("helo");
                  },
                  expect_buttons(false, true), Press(Qt::Key_Escape)});
    EXPECT_EQ(result, Variant(kFalse));
  });
}

TEST(SuggestionDialog, AddWordAddsTheEditedText) {
  OnFreshThread([] {
    TestApplication qt;
    SpellCheck host;
    const Variant result =
        ShowWith(host, u"Quenvr",
                 {[](QWidget& form) { EXPECT_EQ(List(form).count(), 0); },
                  SetText(u"Quenvarz"), Press(Qt::Key_A, Qt::AltModifier)});
    EXPECT_EQ(result, Variant(u"Quenvarz"));
    EXPECT_EQ(host.CheckWord(u"quenvarz"), kTrue);
    EXPECT_EQ(host.CheckWord(u"Quenvr"), kFalse);
  });
}

TEST(SuggestionDialog, RefusesCallsItCannotServe) {
  OnFreshThread([] {
    TestApplication qt;
    SpellCheck speller;
    const Variant result = ShowWith(
        speller, u"Helo", {[&](QWidget& form) {
          EXPECT_THROW(speller.ShowSuggestionDialog(u"again"), Error);
          EXPECT_EQ(TextBox(form).text(), "Helo");
          std::thread other([] {
            EXPECT_THROW(SpellCheck().ShowSuggestionDialog(u"Helo"), Error);
            quenvar_ProcessPendingEvents();  // not the GUI thread: does nothing
          });
          other.join();
          Click(form, "cmdIgnore");
        }});
    EXPECT_EQ(result, Variant(u"Helo"));
  });
}

TEST(SuggestionDialog, NoDisplayThrows) {
  OnFreshThread([] {
    if (QCoreApplication::instance() != nullptr) GTEST_SKIP();
    const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY",
                           "XDG_SESSION_TYPE"};
    std::vector<QByteArray> saved;
    for (const char* name : names) {
      saved.push_back(qgetenv(name));
      qunsetenv(name);
    }
    EXPECT_THROW(SpellCheck().ShowSuggestionDialog(u"Helo"), Error);
    for (std::size_t i = 0; i < saved.size(); ++i) {
      if (!saved[i].isNull()) qputenv(names[i], saved[i]);
    }
  });
}

// Has the first dialog shown by the QApplication that the component is about
// to create on this thread closed from the frame, and selects the offscreen
// platform for it.
thread_local bool close_first_dialog = false;
void CloseFirstDialog() {
  if (!close_first_dialog) return;
  QTimer::singleShot(150, [] { QApplication::activeModalWidget()->close(); });
}
void CloseFirstDialogOfOwnApplication() {
  static std::once_flag registered;
  std::call_once(registered, [] { qAddPreRoutine(&CloseFirstDialog); });
  qputenv("QT_QPA_PLATFORM", "offscreen");
  close_first_dialog = true;
}

TEST(SuggestionDialog, CreatesAndEndsItsOwnApplication) {
  for (int thread = 0; thread < 2; ++thread) {
    OnFreshThread([] {
      if (QCoreApplication::instance() != nullptr) GTEST_SKIP();
      CloseFirstDialogOfOwnApplication();
      SpellCheck speller;
      EXPECT_EQ(speller.ShowSuggestionDialog(u"Helo"), Variant(kFalse));
      ASSERT_NE(QCoreApplication::instance(), nullptr);
      bool ran = false;
      QTimer::singleShot(0, [&] { ran = true; });
      quenvar_ProcessPendingEvents();
      EXPECT_TRUE(ran);
      EXPECT_EQ(ShowWith(speller, u"Helo", {Press(Qt::Key_I, Qt::AltModifier)}),
                Variant(u"Helo"));
    });
    // The thread's end took the dialog and the application with it.
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
  }
}

TEST(SuggestionDialogDeathTest, ProcessExitEndsItsOwnApplication) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        CloseFirstDialogOfOwnApplication();
        const Variant result = SpellCheck().ShowSuggestionDialog(u"Helo");
        std::exit(result == Variant(kFalse) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(SuggestionDialog, GoesWithTheHostsApplication) {
  OnFreshThread([] {
    SpellCheck speller;
    for (int application = 0; application < 2; ++application) {
      QPointer<QWidget> shown;
      {
        TestApplication qt;
        EXPECT_EQ(ShowWith(speller, u"Helo", {[&](QWidget& form) {
                             shown = &form;
                             Key(form, Qt::Key_Escape);
                           }}),
                  Variant(kFalse));
      }
      EXPECT_TRUE(shown.isNull());  // no widget outlives its QApplication
    }
  });
}

// The walk loads the widgets library for the dialog by name, and reports
// the user's choice.
TEST(SuggestionDialog, CheckTextReportsTheUsersReplacement) {
  OnFreshThread([] {
    TestApplication qt;
    SpellCheck speller;
    speller.AddToCustom(u"cat");
    struct Replacements : SpellCheckEvents {
      void SpellReplace(const std::u16string& word, const std::u16string& with,
                        std::int32_t position, WordArray&) override {
        seen.push_back(ToUtf8(word) + ">" + ToUtf8(with) + "@" +
                       std::to_string(position));
      }
      std::vector<std::string> seen;
    } events;
    speller.Advise(events);
    std::u16string text = u"Teh cat";
    WhileDriving({SetText(u"The"), Press(Qt::Key_Return)},
                 [&] { return speller.CheckText(text); });
    EXPECT_EQ(events.seen, std::vector<std::string>{"Teh>The@0"});
    EXPECT_EQ(text, u"Teh cat");
  });
}

// In a Qt host the walk lets pending events run once per word, also without
// the dialog and before any dialog was shown on the thread.
TEST(SuggestionDialog, CheckTextRunsPendingEventsInAQtHost) {
  OnFreshThread([] {
    TestApplication qt;
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    std::u16string text = u"one two";
    SpellCheck().CheckText(text, kFalse);
    EXPECT_EQ(ran, 1);
  });
}

}  // namespace
}  // namespace quenvar
