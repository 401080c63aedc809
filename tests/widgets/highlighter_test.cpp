// As-you-type checking in Qt editors, on the offscreen platform: the marks
// the highlighter leaves, and the suggestion menu a right click opens.

#include <gtest/gtest.h>
#include <quenvarspell/spell_highlighter.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include "tests/widgets/dialog_driver.h"
#include "tests/test_support.h"

namespace quenvar {
namespace {

using namespace testing;

// The marked words of document, in order.
QStringList Marked(QTextDocument& document) {
  QStringList words;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
      if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline) {
        words << block.text().mid(range.start, range.length);
      }
    }
  }
  return words;
}

// Opens editor's context menu at the start of its text's occurrence of word
// and triggers the entry named entry (the menu is modal: a timer does it).
template <typename Editor>
void ChooseFromMenu(Editor& editor, const QString& word, const QString& entry) {
  const auto at = static_cast<int>(editor.toPlainText().indexOf(word));
  QTextCursor cursor(editor.document());
  cursor.setPosition(at + 1);
  const QPoint position = editor.cursorRect(cursor).center();
  bool chosen = false;
  QTimer::singleShot(100, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu != nullptr) {
      for (QAction* action : menu->actions()) {
        if (action->text() == entry) {
          chosen = true;
          action->trigger();
        }
      }
      menu->close();
    }
  });
  emit editor.customContextMenuRequested(position);
  EXPECT_TRUE(chosen) << entry.toStdString();
}

TEST(SpellHighlighter, MarksUnknownWordsAndFollowsEdits) {
  OnFreshThread([] {
    TestApplication qt;
    QTextEdit editor;  // a document shown nowhere is laid out by no one
    QTextDocument& document = *editor.document();
    auto* highlighter = new SpellHighlighter(&document);
    document.setPlainText(
        "Teh house, 1984 and 3.5 -- doesn't it? recieve\nSecond wrld line");
    EXPECT_EQ(Marked(document), (QStringList{"Teh", "recieve", "wrld"}));
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(" xqzxqz");
    EXPECT_EQ(Marked(document), (QStringList{"Teh", "recieve", "wrld", "xqzxqz"}));
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
    cursor.insertText("The ");
    EXPECT_EQ(Marked(document), (QStringList{"recieve", "wrld", "xqzxqz"}));
    // The word being typed is left alone until the cursor leaves it.
    highlighter->setCursorPosition(static_cast<int>(document.toPlainText().indexOf("wrld")) + 2);
    EXPECT_EQ(Marked(document), (QStringList{"recieve", "xqzxqz"}));
    highlighter->setCursorPosition(0);
    EXPECT_EQ(Marked(document), (QStringList{"recieve", "wrld", "xqzxqz"}));
    highlighter->setEnabled(false);
    EXPECT_EQ(Marked(document), QStringList());
  });
}

// Quotes stay outside the marks; in Markdown a fence spanning blocks, blank
// ones too, hides its code until it closes.
TEST(SpellHighlighter, MarksWordsAsTheDocumentsFormatSplitsThem) {
  OnFreshThread([] {
    TestApplication qt;
    QTextEdit editor;
    QTextDocument& document = *editor.document();
    auto* highlighter = new SpellHighlighter(&document);
    document.setPlainText(
        "Said \u2018wrld\u2019 and \u00ABteh\u00BB\n```\nxqzzy\n\nqzxxy\n```\n*dormiatory* `codde`");
    EXPECT_EQ(Marked(document),
              (QStringList{"wrld", "teh", "xqzzy", "qzxxy", "dormiatory", "codde"}));
    highlighter->setDocumentFormat(DocumentFormat::kMarkdown);
    EXPECT_EQ(Marked(document), (QStringList{"wrld", "teh", "dormiatory"}));
    QTextCursor cursor(document.findBlockByNumber(5));  // the closing fence
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText("text");
    EXPECT_EQ(Marked(document), (QStringList{"wrld", "teh"}));
  });
}

TEST(SpellHighlighter, FollowsItsSpellingInMarksAndMenu) {
  TempDir dir;
  OnFreshThread([&] {
    TestApplication qt;
    QTextEdit editor;
    SpellHighlighter* highlighter =
        AttachSpellChecking(&editor, QString::fromStdString(dir.File("custom.dic")));
    editor.setPlainText("The colour, the color.");
    editor.show();
    QTextDocument& document = *editor.document();
    EXPECT_EQ(Marked(document), QStringList());
    highlighter->setSpelling(Spelling::kAmerican);
    EXPECT_EQ(Marked(document), (QStringList{"colour"}));
    highlighter->setSpelling(Spelling::kBritish);
    EXPECT_EQ(Marked(document), (QStringList{"color"}));
    ChooseFromMenu(editor, "color", "colour");
    EXPECT_EQ(editor.toPlainText(), "The colour, the colour.");
  });
}

TEST(SpellHighlighter, MenuAddsIgnoresAndReplacesInOneUndoStep) {
  TempDir dir;
  OnFreshThread([&] {
    TestApplication qt;
    QTextEdit editor;
    const QString custom = QString::fromStdString(dir.File("custom.dic"));
    AttachSpellChecking(&editor, custom);
    editor.setPlainText("A recieve, a zorblat and a wrld.");
    editor.show();
    QTextDocument& document = *editor.document();
    EXPECT_EQ(Marked(document), (QStringList{"recieve", "zorblat", "wrld"}));

    ChooseFromMenu(editor, "recieve", "receive");
    EXPECT_EQ(editor.toPlainText(), "A receive, a zorblat and a wrld.");
    document.undo();
    EXPECT_EQ(editor.toPlainText(), "A recieve, a zorblat and a wrld.");
    document.redo();

    ChooseFromMenu(editor, "zorblat", "Add to Dictionary");
    EXPECT_EQ(Marked(document), (QStringList{"wrld"}));
    EXPECT_EQ(ReadBytes(dir.File("custom.dic")), "zorblat\r\n");
    ChooseFromMenu(editor, "wrld", "Ignore All");
    EXPECT_EQ(Marked(document), QStringList());
  });
}

// A later session knows the words of earlier ones (and of the tool's add),
// and adding keeps them in the file.
TEST(SpellHighlighter, SessionsAddToTheFileTheyLoad) {
  TempDir dir;
  const QString custom = QString::fromStdString(dir.File("personal.dic"));
  WriteBytes(dir.File("personal.dic"), "Quenvar\r\n");
  for (const QString word : {"Zorblax", "Frimble"}) {
    OnFreshThread([&] {
      TestApplication qt;
      QTextEdit editor;
      AttachSpellChecking(&editor, custom);
      editor.setPlainText("Quenvar Zorblax Frimble");
      editor.show();
      EXPECT_FALSE(Marked(*editor.document()).contains("Quenvar"));
      ChooseFromMenu(editor, word, "Add to Dictionary");
    });
  }
  EXPECT_EQ(ReadBytes(dir.File("personal.dic")), "Quenvar\r\nZorblax\r\nFrimble\r\n");
}

// A file that cannot be written costs the user nothing: the editor goes on,
// the word stays accepted for the session, and a message says why. Without a
// custom file the personal dictionary under XDG_DATA_HOME is the one (here
// under a regular file, so that even root cannot make it).
TEST(SpellHighlighter, AFileThatCannotBeWrittenLosesNothing) {
  TempDir dir;
  WriteBytes(dir.File("blocker"), "");
  const ScopedEnv data_home("XDG_DATA_HOME", dir.File("blocker"));
  OnFreshThread([&] {
    TestApplication qt;
    QTextEdit editor;
    SpellHighlighter* highlighter = AttachSpellChecking(&editor);
    EXPECT_EQ(highlighter->customFile().toStdString(),
              dir.File("blocker/quenvarspell/personal.dic"));
    editor.setPlainText("A Quenvar and a Zorblax");
    editor.show();
    ChooseFromMenu(editor, "Zorblax", "Add to Dictionary");
    EXPECT_EQ(Marked(*editor.document()), QStringList{"Quenvar"});
    auto* box = editor.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().contains("Zorblax"));
    const QString unkept = QString::fromUtf16(u"\u0141\u00F3d\u017A");
    QString error;
    EXPECT_FALSE(highlighter->addToDictionary(unkept, &error));
    EXPECT_TRUE(error.contains("Windows-1252")) << error.toStdString();
    EXPECT_FALSE(highlighter->isMisspelled(unkept));
  });
}

TEST(SpellHighlighter, PlainTextEditorsGetTheMenuToo) {
  OnFreshThread([] {
    TestApplication qt;
    QPlainTextEdit editor;
    AttachSpellChecking(&editor);
    editor.setPlainText("Britian is here.");
    editor.show();
    ChooseFromMenu(editor, "Britian", "Britain");
    EXPECT_EQ(editor.toPlainText(), "Britain is here.");
  });
}

}  // namespace
}  // namespace quenvar
