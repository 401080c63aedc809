// editor: a small Qt text editor with as-you-type spell checking. Unknown
// words get a red wavy underline; a right click on one offers corrections,
// Add to Dictionary and Ignore All before the usual entries.
//
//   editor [FILE]            edits FILE (UTF-8), or a sample text
//   editor --picture PNG     renders the window with a marked word's menu
//                            open into PNG, offscreen (for the README)

#include <quenvarspell/spell_highlighter.h>

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kSample =
    "Spell checking as you type\n\n"
    "I will recieve the letters tommorow and seperate them. Words the "
    "dictionary does not know get a wavy line as soon as you leave them; a "
    "right click on one offers its likeliest corrections. Numbers (1984), "
    "contractions (doesn't) and names such as Britain are fine.";

// Opens the editor's menu on word, then draws the window and the menu into
// one picture saved to path. Answers through saved.
void TakePicture(QMainWindow& window, QTextEdit& editor, const QString& word,
                 const QString& path, bool& saved) {
  QTextCursor cursor(editor.document());
  cursor.setPosition(static_cast<int>(editor.toPlainText().indexOf(word)) + 2);
  const QPoint at = editor.cursorRect(cursor).bottomLeft();
  QTimer::singleShot(200, [&, at, path] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    const QPixmap shown = window.grab();
    const QPixmap opened = menu->grab();
    const QPoint corner = editor.viewport()->mapTo(&window, at);
    QPixmap picture(std::max(shown.width(), corner.x() + opened.width()),
                    std::max(shown.height(), corner.y() + opened.height()));
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, shown);
    painter.drawPixmap(corner, opened);
    painter.end();
    saved = picture.save(path, "PNG");
    menu->close();
  });
  emit editor.customContextMenuRequested(at);
}

}  // namespace

int main(int argc, char** argv) {
  const bool picture = argc == 3 && QString::fromLocal8Bit(argv[1]) == "--picture";
  if (picture) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QMainWindow window;
  auto* editor = new QTextEdit(&window);
  window.setCentralWidget(editor);
  window.setWindowTitle("QuenvarSpell editor");
  window.resize(560, 260);
  quenvar::AttachSpellChecking(editor);

  QString text = kSample;
  if (argc == 2) {
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "editor: cannot open %s\n", argv[1]);
      return 2;
    }
    text = QString::fromUtf8(file.readAll());
  }
  editor->setPlainText(text);
  window.show();
  if (!picture) return application.exec();

  bool saved = false;
  QTimer::singleShot(100, [&] {
    TakePicture(window, *editor, "recieve", QString::fromLocal8Bit(argv[2]), saved);
    application.quit();
  });
  application.exec();
  if (!saved) std::fprintf(stderr, "editor: the picture was not taken\n");
  return saved ? 0 : 1;
}
