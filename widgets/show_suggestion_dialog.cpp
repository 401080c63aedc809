#include <errno.h>

#include <QApplication>
#include <QByteArray>
#include <QThread>
#include <memory>

#include "component/widgets_entry_points.h"
#include "widgets/frm_spell_check.h"

namespace quenvar {
namespace {

// The window of a thread's dialog, and the QApplication the component
// created for it when the process had none. The window goes first: no
// widget may outlive its application.
struct DialogSession {
  DialogSession();
  ~DialogSession();
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  // QApplication keeps references to its argument count and vector.
  int argc = 1;
  QByteArray program;
  char* argv[2] = {nullptr, nullptr};
  std::unique_ptr<QApplication> own_application;
  std::unique_ptr<frmSpellCheck> form;
};

// The calling thread's dialog, created on its first showing and kept.
std::unique_ptr<DialogSession>& ThreadDialogSession() {
  thread_local std::unique_ptr<DialogSession> session;
  return session;
}

// Called by Qt as a QApplication is destroyed, before it tears down its
// widgets: a host's application that goes away takes the dialog with it.
void DropThreadDialog() { ThreadDialogSession().reset(); }

// Whether one of the platforms Qt would try can open windows. A platform of
// its own (offscreen, vnc, linuxfb, ...) needs no display server; X11 needs
// DISPLAY and Wayland WAYLAND_DISPLAY. Without QT_QPA_PLATFORM Qt tries
// Wayland in a Wayland session, then X11.
bool DisplayAvailable() {
  const auto has = [](const char* name) { return !qgetenv(name).isEmpty(); };
  QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
  if (platforms.isEmpty()) {
    platforms =
        qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
  }
  for (const QByteArray& platform : platforms.split(';')) {
    const QByteArray name = platform.split(':').constFirst().trimmed();
    if (name.isEmpty()) continue;
    if (name == "xcb") {
      if (has("DISPLAY")) return true;
    } else if (name.startsWith("wayland")) {
      if (has("WAYLAND_DISPLAY")) return true;
    } else {
      return true;
    }
  }
  return false;
}

// The calling thread's dialog, created with the window (and a QApplication
// when there is none) on first use.
frmSpellCheck& ThreadDialog() {
  std::unique_ptr<DialogSession>& session = ThreadDialogSession();
  if (QCoreApplication* application = QCoreApplication::instance()) {
    if (qobject_cast<QApplication*>(application) == nullptr) {
      throw Error(
          "ShowSuggestionDialog: the process's Qt application is not a "
          "QApplication, and the dialog needs Qt Widgets");
    }
    if (application->thread() != QThread::currentThread()) {
      throw Error(
          "ShowSuggestionDialog: called from a thread that is not the thread "
          "of the process's QApplication");
    }
  } else if (!DisplayAvailable()) {
    throw Error(
        "ShowSuggestionDialog: there is no display to show the dialog on "
        "(DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM name none that can be "
        "used)");
  }
  if (session == nullptr) session = std::make_unique<DialogSession>();
  return *session->form;
}

DialogSession::DialogSession() {
  if (QCoreApplication::instance() == nullptr) {
    program = QByteArray(program_invocation_name);
    argv[0] = program.data();
    own_application = std::make_unique<QApplication>(argc, argv);
  }
  form = std::make_unique<frmSpellCheck>();
  qAddPostRoutine(&DropThreadDialog);
}

DialogSession::~DialogSession() { qRemovePostRoutine(&DropThreadDialog); }

}  // namespace
}  // namespace quenvar

quenvar::Variant quenvar_ShowSuggestionDialog(const std::u16string& sWord) {
  using namespace quenvar;
  // A copy: the caller's string may change while the modal loop runs.
  const std::u16string word = sWord;
  frmSpellCheck& form = ThreadDialog();
  if (form.isVisible()) {
    throw Error(
        "ShowSuggestionDialog: the suggestion dialog is already shown on this "
        "thread");
  }
  form.RethrowHandlerFailure();
  form.SetWord(word);
  form.StartUp();
  form.ShowModal();
  form.RethrowHandlerFailure();
  if (form.bCancel != kFalse) return kFalse;
  if (form.bIgnore != kFalse) return word;
  return form.Word();
}

void quenvar_ProcessPendingEvents() {
  const QCoreApplication* application = QCoreApplication::instance();
  if (application != nullptr &&
      application->thread() == QThread::currentThread()) {
    QCoreApplication::processEvents();
  }
}
