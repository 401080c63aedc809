#include "widgets/frm_spell_check.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "base/text.h"

namespace quenvar {
namespace {

// The layout is given in twips; 15 twips make one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;

QRect FromTwips(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel,
               width / kTwipsPerPixel, height / kTwipsPerPixel);
}

template <typename Widget>
Widget* AddControl(QDialog* form, const char* name, QRect geometry) {
  auto* control = new Widget(form);
  control->setObjectName(QString::fromLatin1(name));
  control->setGeometry(geometry);
  return control;
}

// Makes the form's font smaller in half points, down to 6 points, until the
// caption of every label fits its width: the layout's sizes were drawn for a
// narrow 8-point font, and wider fonts would cut "Suggestions:" short. Each
// label is measured with its own metrics, as it will be drawn.
void FitFontToLabels(QWidget* form,
                     std::initializer_list<const QLabel*> labels) {
  const auto fits = [&] {
    for (const QLabel* label : labels) {
      if (label->fontMetrics().horizontalAdvance(label->text()) >
          label->width()) {
        return false;
      }
    }
    return true;
  };
  QFont font = form->font();
  while (!fits() && font.pointSizeF() > 6) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    form->setFont(font);
  }
}

QPushButton* AddButton(QDialog* form, const char* name, const char* caption,
                       QRect geometry) {
  auto* button = AddControl<QPushButton>(form, name, geometry);
  button->setText(QString::fromLatin1(caption));
  return button;
}

}  // namespace

template <typename Handler>
auto frmSpellCheck::Guarded(Handler handler) {
  return [this, handler] {
    try {
      handler();
    } catch (...) {
      if (!handler_failure_) handler_failure_ = std::current_exception();
      hide();
    }
  };
}

frmSpellCheck::frmSpellCheck()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("frmSpellCheck"));
  setWindowTitle(QStringLiteral("Spell Check"));
  setFixedSize(FromTwips(0, 0, 6075, 2280).size());
  // Hiding this helper window must never end the host's application.
  setAttribute(Qt::WA_QuitOnClose, false);
  CreateControls();
  ConnectHandlers();
}

// The controls at their places, in tab order, the focus in the text box.
void frmSpellCheck::CreateControls() {
  lblWord = AddControl<QLabel>(this, "lblWord", FromTwips(180, 120, 975, 255));
  lblWord->setText(QStringLiteral("Change to:"));
  txtWord =
      AddControl<QLineEdit>(this, "txtWord", FromTwips(1260, 120, 4695, 285));
  lblSuggestion =
      AddControl<QLabel>(this, "lblSuggestion", FromTwips(180, 540, 975, 195));
  lblSuggestion->setText(QStringLiteral("Suggestions:"));
  lstSuggestion = AddControl<QListWidget>(this, "lstSuggestion",
                                          FromTwips(1260, 540, 2055, 1620));
  lstSuggestion->setSelectionMode(QAbstractItemView::SingleSelection);
  cmdChange =
      AddButton(this, "cmdChange", "&Change", FromTwips(3420, 540, 1215, 375));
  cmdChange->setDefault(true);
  cmdAddWord = AddButton(this, "cmdAddWord", "&Add Word",
                         FromTwips(3420, 1020, 1215, 375));
  cmdIgnore =
      AddButton(this, "cmdIgnore", "&Ignore", FromTwips(4740, 540, 1215, 375));
  cmdSuggest = AddButton(this, "cmdSuggest", "&Suggest",
                         FromTwips(4740, 1020, 1215, 375));
  cmdCancel =
      AddButton(this, "cmdCancel", "Ca&ncel", FromTwips(4740, 1740, 1215, 375));

  FitFontToLabels(this, {lblWord, lblSuggestion});

  setTabOrder(txtWord, lstSuggestion);
  setTabOrder(lstSuggestion, cmdChange);
  setTabOrder(cmdChange, cmdAddWord);
  setTabOrder(cmdAddWord, cmdIgnore);
  setTabOrder(cmdIgnore, cmdSuggest);
  setTabOrder(cmdSuggest, cmdCancel);
  txtWord->setFocus();
}

// The buttons, the list and Timer1 and what each does.
void frmSpellCheck::ConnectHandlers() {
  // Functor connections need no meta-object code of this class.
  connect(lstSuggestion, &QListWidget::itemSelectionChanged, this, [this] {
    const QList<QListWidgetItem*> selected = lstSuggestion->selectedItems();
    if (!selected.isEmpty()) txtWord->setText(selected.front()->text());
  });
  connect(cmdChange, &QPushButton::clicked, this, [this] { hide(); });
  connect(cmdAddWord, &QPushButton::clicked, this, Guarded([this] {
            oSpellCheck.AddToCustom(Word());
            hide();
          }));
  connect(cmdIgnore, &QPushButton::clicked, this, [this] {
    bIgnore = kTrue;
    hide();
  });
  // Timer1 keeps running: the refill does not interrupt the buttons' updates.
  connect(cmdSuggest, &QPushButton::clicked, this,
          Guarded([this] { FillSuggestions(); }));
  connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(100);
  connect(Timer1, &QTimer::timeout, this, Guarded([this] { UpdateButtons(); }));
  Timer1->start();
}

std::u16string frmSpellCheck::Word() const {
  return txtWord->text().toStdU16String();
}

void frmSpellCheck::SetWord(const std::u16string& text) {
  txtWord->setText(QString::fromStdU16String(text));
}

void frmSpellCheck::StartUp() {
  FillSuggestions();
  bCancel = kFalse;
  bIgnore = kFalse;
  sStartWord = Word();
  UpdateButtons();
}

void frmSpellCheck::ShowModal() {
  txtWord->setFocus();
  exec();
  if (isVisible()) reject();
}

void frmSpellCheck::RethrowHandlerFailure() {
  if (handler_failure_) {
    std::rethrow_exception(std::exchange(handler_failure_, {}));
  }
}

void frmSpellCheck::reject() {
  bCancel = kTrue;
  hide();
}

void frmSpellCheck::FillSuggestions() {
  lstSuggestion->clear();
  const WordArray suggestions = oSpellCheck.GetSuggestions(Word(), kTrue);
  if (!suggestions) return;
  for (const std::u16string& word : *suggestions) {
    lstSuggestion->addItem(QString::fromStdU16String(word));
  }
}

void frmSpellCheck::UpdateButtons() {
  const std::u16string text = Word();
  cmdAddWord->setEnabled(oSpellCheck.CheckWord(text, kTrue) == kFalse);
  cmdChange->setEnabled(!text.empty() && ToLower(text) != ToLower(sStartWord));
}

}  // namespace quenvar
