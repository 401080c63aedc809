// As-you-type spell checking for Qt editors: a highlighter that marks
// unknown words, and a suggestion menu on a right click.

#ifndef QUENVARSPELL_SPELL_HIGHLIGHTER_H_
#define QUENVARSPELL_SPELL_HIGHLIGHTER_H_

#include <QColor>
#include <QSet>
#include <QString>
#include <QSyntaxHighlighter>

#include <quenvarspell/spell_check.h>
#include <quenvarspell/widgets_export.h>

class QPlainTextEdit;
class QTextDocument;
class QTextEdit;

namespace quenvar {

// Marks each word of document that the calling thread's lists do not know
// with QTextCharFormat::SpellCheckUnderline. Words are split as CheckText
// splits them and decided with CheckWord on the lists of the thread that
// creates it (the GUI thread); the built-in list is loaded then, unless the
// thread has loaded it already. The document owns the highlighter.
class QUENVAR_WIDGETS_EXPORT SpellHighlighter : public QSyntaxHighlighter {
 public:
  explicit SpellHighlighter(QTextDocument* document);

  // The underline's colour; red unless set.
  QColor underlineColor() const { return color_; }
  void setUnderlineColor(const QColor& color);

  // Switched off, nothing is marked; on again, the document is marked anew.
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // True when word would be marked: checking is on and neither the lists
  // nor the ignored words hold it.
  bool isMisspelled(const QString& word);

  // Adds word to the thread's custom list, saves the list to custom_file
  // (empty: the component's default file) and marks the document anew.
  // Throws what SaveCustom throws; the word stays added.
  void addToDictionary(const QString& word, const QString& custom_file = {});

  // Stops marking word for this highlighter's life.
  void ignoreWord(const QString& word);

  // The word containing or touching position (a character position in the
  // document) is the one being typed and is not marked; -1 for none. The
  // blocks of the old and new position are marked anew.
  void setCursorPosition(int position);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  SpellCheck speller_;
  QColor color_{Qt::red};
  bool enabled_ = true;
  int cursor_ = -1;
  QSet<QString> ignored_;
  std::u16string word_;  // reused by each check
};

// Gives editor a SpellHighlighter on its document, which follows the cursor
// so that the word being typed is not marked, and a context menu: on a
// marked word up to five ranked corrections (choosing one replaces the word
// as one undo step), "Add to Dictionary" (saved to custom_file, empty: the
// component's default file), "Ignore All", then the editor's standard menu.
// Returns the highlighter, which the editor's document owns.
QUENVAR_WIDGETS_EXPORT SpellHighlighter* AttachSpellChecking(
    QTextEdit* editor, const QString& custom_file = {});
QUENVAR_WIDGETS_EXPORT SpellHighlighter* AttachSpellChecking(
    QPlainTextEdit* editor, const QString& custom_file = {});

}  // namespace quenvar

#endif  // QUENVARSPELL_SPELL_HIGHLIGHTER_H_
