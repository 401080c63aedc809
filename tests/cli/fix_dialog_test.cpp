// `fix` driven through the real suggestion dialog (Qt's offscreen platform):
// the test plays the user, answering each showing of the dialog in turn.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/fix_command.h"
#include "tests/cli/tool_runner.h"

namespace quenvar::cli::testing {
namespace {

// What the user does in one showing: optionally types a text, then presses
// a button.
struct Answer {
  QString expected_word;
  QString typed;  // empty: leave the text box as it is
  QString button;
  std::function<void()> meanwhile = [] {};  // runs before the button is pressed
};

// Answers the dialog from a timer of the test's thread, which the dialog's
// modal loop runs. A showing that does not match the script is cancelled,
// so the walk always ends.
class User {
 public:
  explicit User(std::vector<Answer> script) : script_(std::move(script)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start(20);
  }

  std::vector<QString> words_shown;

 private:
  void Tick() {
    QWidget* form = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "frmSpellCheck" && widget->isVisible()) form = widget;
    }
    if (form == nullptr) return;
    auto* text = form->findChild<QLineEdit*>("txtWord");
    if (!typed_) {
      words_shown.push_back(text->text());
      const bool expected = next_ < script_.size() &&
                            script_[next_].expected_word == text->text();
      if (!expected) {
        form->findChild<QAbstractButton*>("cmdCancel")->click();
        return;
      }
      if (!script_[next_].typed.isEmpty()) text->setText(script_[next_].typed);
      typed_ = true;
      return;
    }
    // The dialog's own timer enables Change and Add Word for the new text.
    auto* button = form->findChild<QAbstractButton*>(script_[next_].button);
    if (!button->isEnabled()) return;
    typed_ = false;
    script_[next_++].meanwhile();
    button->click();
  }

  std::vector<Answer> script_;
  std::size_t next_ = 0;
  bool typed_ = false;
  QTimer timer_;
};

class FixDialogTest : public ::testing::Test {
 protected:
  FixDialogTest() : application_(argc_, argv_) {}

  int argc_ = 1;
  char name_[16] = "cli_tests";
  char* argv_[2] = {name_, nullptr};
  QApplication application_;
  TempDir dir_;
};

TEST_F(FixDialogTest, AppliesChangesAndSavesAddedWords) {
  const std::string file = dir_.File("letter.txt");
  const std::string personal = dir_.File("data/personal.dic");
  WriteBytes(file, "\xEF\xBB\xBFTeh wrld is fine.\nZorblat zorblat, teh end.\n");
  User user({{"Teh", "The", "cmdChange"},
             {"wrld", "wurld", "cmdAddWord"},
             {"Zorblat", "", "cmdAddWord"},
             {"teh", "", "cmdIgnore"}});
  EXPECT_EQ(RunFix(file, personal, Spelling::kEnglish), 0);
  EXPECT_EQ(user.words_shown, (std::vector<QString>{"Teh", "wrld", "Zorblat", "teh"}));
  EXPECT_EQ(ReadBytes(file),
            "\xEF\xBB\xBFThe wurld is fine.\nZorblat zorblat, teh end.\n");
  EXPECT_EQ(ReadBytes(personal), "wurld\r\nZorblat\r\n");
}

// A document changed by someone else during the walk is left as they left
// it, but the words the user added are saved all the same.
TEST_F(FixDialogTest, AddedWordsAreSavedWhenTheDocumentIsLeftAlone) {
  const std::string file = dir_.File("shared.txt");
  const std::string personal = dir_.File("personal.dic");
  WriteBytes(file, "Teh quxblat.");
  User user({{"Teh", "The", "cmdChange"},
             {"quxblat", "", "cmdAddWord", [&] { WriteBytes(file, "Edited elsewhere."); }}});
  EXPECT_THROW(RunFix(file, personal, Spelling::kEnglish), std::runtime_error);
  EXPECT_EQ(ReadBytes(file), "Edited elsewhere.");
  EXPECT_EQ(ReadBytes(personal), "quxblat\r\n");
}

TEST_F(FixDialogTest, CancelKeepsTheChangesMadeBeforeIt) {
  const std::string file = dir_.File("note.txt");
  WriteBytes(file, "Teh cat met teh wrld.");
  User user({{"Teh", "Thee", "cmdChange"}, {"teh", "", "cmdCancel"}});
  EXPECT_EQ(RunFix(file, dir_.File("personal.dic"), Spelling::kEnglish), 0);
  EXPECT_EQ(user.words_shown, (std::vector<QString>{"Teh", "teh"}));
  EXPECT_EQ(ReadBytes(file), "Thee cat met teh wrld.");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("personal.dic")));
}

TEST_F(FixDialogTest, ShowsTheWordsOfOtherSpellings) {
  const std::string file = dir_.File("memo.txt");
  WriteBytes(file, "The colour and the color.");
  User user({{"color", "colour", "cmdChange"}});
  EXPECT_EQ(RunFix(file, dir_.File("personal.dic"), Spelling::kBritish), 0);
  EXPECT_EQ(user.words_shown, (std::vector<QString>{"color"}));
  EXPECT_EQ(ReadBytes(file), "The colour and the colour.");
}

}  // namespace
}  // namespace quenvar::cli::testing
