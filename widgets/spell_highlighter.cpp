#include <quenvarspell/spell_highlighter.h>

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cstdint>
#include <exception>
#include <memory>

namespace quenvar {
namespace {

const char16_t* Units(const QString& text) {
  return reinterpret_cast<const char16_t*>(text.utf16());
}

// The text of block for a splitter: a whole line.
std::u16string LineOf(const QTextBlock& block) {
  std::u16string line = block.text().toStdU16String();
  line += u'\n';
  return line;
}

// The state a block's splitter starts in: the one before it ended in.
std::uint32_t StateBefore(const QTextBlock& block) {
  const QTextBlock previous = block.previous();
  return previous.isValid() && previous.userState() > 0
             ? static_cast<std::uint32_t>(previous.userState())
             : 0;
}

// The word (as the highlighter's splitter yields words) that contains or
// touches document position, selected; a cursor without a selection when
// there is none.
QTextCursor WordAt(const SpellHighlighter& highlighter, QTextDocument* document, int position) {
  const QTextBlock block = document->findBlock(position);
  const std::size_t offset = static_cast<std::size_t>(position - block.position());
  std::size_t start = offset;
  std::size_t end = offset;
  DocumentSplitter(highlighter.documentFormat(), StateBefore(block))
      .Split(LineOf(block), [&](const DocumentWord& word) {
        if (word.offset <= offset && offset <= word.offset + word.length) {
          start = word.offset;
          end = word.offset + word.length;
        }
      });
  QTextCursor cursor(document);
  cursor.setPosition(block.position() + static_cast<int>(start));
  cursor.setPosition(block.position() + static_cast<int>(end), QTextCursor::KeepAnchor);
  return cursor;
}

QString ToQString(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// Puts the spelling entries for the word under the menu's position before
// the editor's own entries; a failure to keep an added word is shown in a
// message box over editor.
void AddSpellingEntries(QMenu& menu, SpellHighlighter& highlighter,
                        QTextCursor word, QWidget* editor) {
  const QString text = word.selectedText();
  if (text.isEmpty() || !highlighter.isMisspelled(text)) return;
  QAction* const first = menu.actions().value(0);
  const WordArray suggestions =
      SpellCheck().GetRankedSuggestions(text.toStdU16String(), highlighter.spelling(), 5);
  if (!suggestions) {
    QAction* none = new QAction(QObject::tr("(no suggestions)"), &menu);
    none->setEnabled(false);
    menu.insertAction(first, none);
  } else {
    for (const std::u16string& suggestion : *suggestions) {
      QAction* action = new QAction(ToQString(suggestion), &menu);
      QObject::connect(action, &QAction::triggered, [word, suggestion]() mutable {
        word.insertText(ToQString(suggestion));  // one undo step
      });
      menu.insertAction(first, action);
    }
  }
  menu.insertSeparator(first);
  QAction* add = new QAction(QObject::tr("Add to Dictionary"), &menu);
  QObject::connect(add, &QAction::triggered, [&highlighter, text, editor] {
    QString error;
    if (highlighter.addToDictionary(text, &error)) return;
    auto* box = new QMessageBox(
        QMessageBox::Warning, QObject::tr("Add to Dictionary"),
        QObject::tr("\"%1\" is accepted until you quit, but it could not be saved: %2")
            .arg(text, error),
        QMessageBox::Ok, editor);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  });
  QAction* ignore = new QAction(QObject::tr("Ignore All"), &menu);
  QObject::connect(ignore, &QAction::triggered,
                   [&highlighter, text] { highlighter.ignoreWord(text); });
  menu.insertAction(first, add);
  menu.insertAction(first, ignore);
  if (first != nullptr) menu.insertSeparator(first);
}

template <typename Editor>
SpellHighlighter* Attach(Editor* editor, const QString& custom_file) {
  auto* highlighter = new SpellHighlighter(editor->document(), custom_file);
  QObject::connect(editor, &Editor::cursorPositionChanged, highlighter, [editor, highlighter] {
    highlighter->setCursorPosition(editor->textCursor().position());
  });
  editor->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(
      editor, &QWidget::customContextMenuRequested, highlighter,
      [editor, highlighter](const QPoint& position) {
        const std::unique_ptr<QMenu> menu(editor->createStandardContextMenu(position));
        AddSpellingEntries(*menu, *highlighter,
                           WordAt(*highlighter, editor->document(),
                                  editor->cursorForPosition(position).position()),
                           editor);
        menu->exec(editor->viewport()->mapToGlobal(position));
      });
  return highlighter;
}

// The personal dictionary, or nothing when no home folder names it.
QString PersonalDictionaryOrNothing() {
  try {
    return ToQString(PersonalDictionaryFile());
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

SpellHighlighter::SpellHighlighter(QTextDocument* document, const QString& custom_file)
    : QSyntaxHighlighter(document),
      custom_file_(custom_file.isEmpty() ? PersonalDictionaryOrNothing() : custom_file) {
  if (!speller_.IsMainListLoaded()) speller_.Init();
  if (!custom_file_.isEmpty() && QFileInfo::exists(custom_file_)) {
    try {
      speller_.LoadCustom(custom_file_.toStdU16String());
    } catch (const std::exception&) {
      // Unreadable: its words stay unknown, and adding to it will say why.
    }
  }
}

void SpellHighlighter::setUnderlineColor(const QColor& color) {
  color_ = color;
  rehighlight();
}

void SpellHighlighter::setEnabled(bool enabled) {
  enabled_ = enabled;
  rehighlight();
}

void SpellHighlighter::setSpelling(Spelling spelling) {
  spelling_ = spelling;
  rehighlight();
}

bool SpellHighlighter::isMisspelled(const QString& word) {
  if (!enabled_ || ignored_.contains(word)) return false;
  word_.assign(Units(word), static_cast<std::size_t>(word.size()));
  return speller_.CheckWord(word_, spelling_) == kFalse;
}

bool SpellHighlighter::addToDictionary(const QString& word, QString* error) {
  const std::u16string text = word.toStdU16String();
  QString failure;
  try {
    speller_.AddToCustom(text);
    rehighlight();
    if (custom_file_.isEmpty()) {
      failure = QObject::tr("no home folder names the personal dictionary");
    } else {
      speller_.AddToCustomFile({text}, custom_file_.toStdU16String());
    }
  } catch (const std::exception& e) {
    failure = QString::fromLocal8Bit(e.what());
  } catch (...) {
    failure = QObject::tr("an unknown failure");
  }
  if (error != nullptr) *error = failure;
  return failure.isEmpty();
}

void SpellHighlighter::ignoreWord(const QString& word) {
  ignored_.insert(word);
  rehighlight();
}

void SpellHighlighter::setCursorPosition(int position) {
  const int old = cursor_;
  cursor_ = position;
  QTextDocument* text = document();
  if (text == nullptr) return;
  const QTextBlock old_block = text->findBlock(old);
  const QTextBlock new_block = text->findBlock(position);
  if (old_block.isValid() && old_block != new_block) rehighlightBlock(old_block);
  if (new_block.isValid()) rehighlightBlock(new_block);
}

void SpellHighlighter::setDocumentFormat(DocumentFormat format) {
  format_ = format;
  rehighlight();
}

void SpellHighlighter::highlightBlock(const QString& text) {
  if (!enabled_) return;
  QTextCharFormat format;
  format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
  format.setUnderlineColor(color_);
  const int cursor = cursor_ - currentBlock().position();
  word_.assign(Units(text), static_cast<std::size_t>(text.size()));
  word_ += u'\n';
  DocumentSplitter splitter(format_, StateBefore(currentBlock()));
  for (const UnknownWord& word : speller_.FindUnknownWords(splitter, word_, spelling_)) {
    const int start = static_cast<int>(word.offset);
    const int end = static_cast<int>(word.offset + word.length);
    const bool typing = cursor >= start && cursor <= end;
    const bool ignored = !ignored_.isEmpty() &&
                         ignored_.contains(QString::fromRawData(text.constData() + start, end - start));
    if (!typing && !ignored) setFormat(start, end - start, format);
  }
  setCurrentBlockState(static_cast<int>(splitter.state()));
}

SpellHighlighter* AttachSpellChecking(QTextEdit* editor, const QString& custom_file) {
  return Attach(editor, custom_file);
}

SpellHighlighter* AttachSpellChecking(QPlainTextEdit* editor, const QString& custom_file) {
  return Attach(editor, custom_file);
}

}  // namespace quenvar
