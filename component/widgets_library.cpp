#include "component/widgets_library.h"

#include <dlfcn.h>

#include "base/code_location.h"

namespace quenvar {
namespace {

// QUENVAR_WIDGETS_LIBRARY is the library's file name with its major version
// ("libquenvarspell-widgets.so.0"), set by the build.
constexpr const char* kLibrary = QUENVAR_WIDGETS_LIBRARY;

void DoNothing() {}

// The dynamic loader's account of its last failure.
std::string LastLoaderError() {
  const char* error = ::dlerror();
  return error != nullptr ? error : "no reason given";
}

// Loads the library and sets the thread's entry points; on failure answers
// dlerror's text and leaves them null.
std::string LoadEntryPoints(WidgetsEntryPoints& entry) {
  const std::string own_file =
      FileHoldingCode(reinterpret_cast<const void*>(&LoadEntryPoints));
  const std::string beside =
      own_file.substr(0, own_file.rfind('/') + 1) + kLibrary;
  void* library = ::dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) library = ::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) return LastLoaderError();
  // The library stays loaded for the life of the process.
  auto* show = reinterpret_cast<decltype(entry.show_suggestion_dialog)>(
      ::dlsym(library, kShowSuggestionDialogSymbol));
  auto* process = reinterpret_cast<decltype(entry.process_pending_events)>(
      ::dlsym(library, kProcessPendingEventsSymbol));
  if (show == nullptr || process == nullptr) return LastLoaderError();
  entry = {show, process};
  return {};
}

bool QtIsLoaded() {
  void* qt_core = ::dlopen("libQt6Core.so.6", RTLD_LAZY | RTLD_NOLOAD);
  if (qt_core == nullptr) return false;
  ::dlclose(qt_core);  // RTLD_NOLOAD counted a reference too
  return true;
}

}  // namespace

Variant ShowSuggestionDialog(const std::u16string& sWord) {
  WidgetsEntryPoints& entry = ThreadWidgetsEntryPoints();
  if (entry.show_suggestion_dialog == nullptr) {
    const std::string failure = LoadEntryPoints(entry);
    if (!failure.empty()) {
      throw Error(std::string("ShowSuggestionDialog: the suggestion dialog's "
                              "library ") +
                  kLibrary + " cannot be loaded: " + failure);
    }
  }
  return entry.show_suggestion_dialog(sWord);
}

void (*PendingEventsProcessor())() {
  WidgetsEntryPoints& entry = ThreadWidgetsEntryPoints();
  if (entry.process_pending_events == nullptr && QtIsLoaded()) {
    LoadEntryPoints(entry);
  }
  return entry.process_pending_events != nullptr ? entry.process_pending_events
                                                 : &DoNothing;
}

}  // namespace quenvar
