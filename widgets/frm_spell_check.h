// frmSpellCheck: the modal window in which the user decides about one word.

#ifndef QUENVARSPELL_WIDGETS_FRM_SPELL_CHECK_H_
#define QUENVARSPELL_WIDGETS_FRM_SPELL_CHECK_H_

#include <quenvarspell/spell_check.h>

#include <QDialog>
#include <exception>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace quenvar {

// A fixed-size dialog with a text box, a list of suggestions and five
// buttons. Its buttons only hide it, so one window serves every showing on
// its thread. Every control's objectName is its name (txtWord, cmdChange,
// ...), and the window's is "frmSpellCheck". Used only on the thread of the
// QApplication.
class frmSpellCheck : public QDialog {
 public:
  // Creates the window hidden, with its controls, its own SpellCheck object
  // and Timer1 ticking every 100 ms. REQUIRES: a QApplication exists and
  // this is its thread.
  frmSpellCheck();

  // The text of txtWord, and setting it.
  std::u16string Word() const;
  void SetWord(const std::u16string& text);

  // Prepares a showing: refills the list for the text of txtWord, clears
  // bCancel and bIgnore, remembers the text as the start word and brings
  // cmdAddWord and cmdChange up to date. Throws what GetSuggestions throws.
  void StartUp();

  // Shows the window modally with the focus in txtWord and returns once it
  // is hidden again. An event loop that ends while the window is still shown
  // (the application quitting) counts as Cancel.
  void ShowModal();

  // Throws, once, the exception an event handler caught since the last
  // call; does nothing when there is none. A handler that fails hides the
  // window, so that the failure reaches ShowSuggestionDialog's caller
  // instead of unwinding through Qt's event loop.
  void RethrowHandlerFailure();

  // Set by cmdCancel (also Esc and a close from the window frame) and by
  // cmdIgnore; StartUp clears both.
  Boolean bCancel = kFalse;
  Boolean bIgnore = kFalse;

 protected:
  // Esc and a close from the window frame end up here, as cmdCancel does:
  // sets bCancel and hides the window.
  void reject() override;

 private:
  // The controls at their places in tab order; then what each one does.
  void CreateControls();
  void ConnectHandlers();

  // Replaces the list's items with the suggestions for the text of txtWord,
  // in the order GetSuggestions gives them.
  void FillSuggestions();

  // Timer1's rules: cmdAddWord is enabled while the text is not correctly
  // spelled; cmdChange while the text is non-empty and differs from the
  // start word in more than letter case.
  void UpdateButtons();

  // handler wrapped so that an exception it throws is kept for
  // RethrowHandlerFailure and hides the window.
  template <typename Handler>
  auto Guarded(Handler handler);

  QLabel* lblWord;
  QLineEdit* txtWord;
  QLabel* lblSuggestion;
  QListWidget* lstSuggestion;
  QPushButton* cmdChange;
  QPushButton* cmdAddWord;
  QPushButton* cmdIgnore;
  QPushButton* cmdSuggest;
  QPushButton* cmdCancel;
  QTimer* Timer1;

  SpellCheck oSpellCheck;
  std::u16string sStartWord;
  std::exception_ptr handler_failure_;
};

}  // namespace quenvar

#endif  // QUENVARSPELL_WIDGETS_FRM_SPELL_CHECK_H_
