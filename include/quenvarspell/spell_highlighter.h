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
// with QTextCharFormat::SpellCheckUnderline. Words are split by a
// DocumentSplitter in documentFormat(), each block resuming where the one
// before it stopped (a block's state is the splitter's), and decided with
// SpellCheck::FindUnknownWords for the highlighter's spelling (kEnglish,
// every spelling the list holds, unless set) on the lists of the thread
// that creates it (the GUI thread); the built-in list is loaded then, unless
// the thread has loaded it already, and so are the words of the custom file
// (LoadCustom, when the file exists and can be read). The document owns the
// highlighter.
class QUENVAR_WIDGETS_EXPORT SpellHighlighter : public QSyntaxHighlighter {
 public:
  // custom_file is the file Add to Dictionary keeps words in; empty: the
  // user's personal dictionary, PersonalDictionaryFile(), as the tool's.
  explicit SpellHighlighter(QTextDocument* document, const QString& custom_file = {});

  // The custom file; empty when none could be named (no home folder).
  QString customFile() const { return custom_file_; }

  // The format the document is written in; plain text unless set. Setting
  // it marks the document anew.
  DocumentFormat documentFormat() const { return format_; }
  void setDocumentFormat(DocumentFormat format);

  // The underline's colour; red unless set.
  QColor underlineColor() const { return color_; }
  void setUnderlineColor(const QColor& color);

  // Switched off, nothing is marked; on again, the document is marked anew.
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // The spelling words are checked in and the menu's corrections come from;
  // setting it marks the document anew.
  Spelling spelling() const { return spelling_; }
  void setSpelling(Spelling spelling);

  // True when word would be marked: checking is on and neither the lists
  // nor the ignored words hold it.
  bool isMisspelled(const QString& word);

  // Adds word to the thread's custom list and marks the document anew, then
  // merges it into customFile() under the file's lock, keeping every word
  // the file holds (SpellCheck::AddToCustomFile). Answers false, with what
  // went wrong in *error when error is not null, when the file cannot keep
  // it; the word stays accepted for the session. Never throws.
  bool addToDictionary(const QString& word, QString* error = nullptr);

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
  QString custom_file_;
  QColor color_{Qt::red};
  bool enabled_ = true;
  Spelling spelling_ = Spelling::kEnglish;
  int cursor_ = -1;
  QSet<QString> ignored_;
  std::u16string word_;  // reused by each check and each block's line
  DocumentFormat format_ = DocumentFormat::kText;
};

// Gives editor a SpellHighlighter on its document with custom_file (empty:
// the personal dictionary), which follows the cursor so that the word being
// typed is not marked, and a context menu: on a marked word up to five
// ranked corrections (choosing one replaces the word as one undo step), "Add
// to Dictionary" (a word the file cannot keep stays accepted for the
// session, and a message box says why), "Ignore All", then the editor's
// standard menu. Returns the highlighter, which the editor's document owns.
QUENVAR_WIDGETS_EXPORT SpellHighlighter* AttachSpellChecking(
    QTextEdit* editor, const QString& custom_file = {});
QUENVAR_WIDGETS_EXPORT SpellHighlighter* AttachSpellChecking(
    QPlainTextEdit* editor, const QString& custom_file = {});

}  // namespace quenvar

#endif  // QUENVARSPELL_SPELL_HIGHLIGHTER_H_
