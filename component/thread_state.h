// The component's state, held once per thread and shared by every SpellCheck
// object of that thread. Different threads never see each other's state.

#ifndef QUENVARSPELL_COMPONENT_THREAD_STATE_H_
#define QUENVARSPELL_COMPONENT_THREAD_STATE_H_

#include <memory>
#include <string>

#include "component/file_io.h"
#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/similarity.h"
#include "sysinfo/sys_info.h"

namespace quenvar {

// The suggestion dialog's window and, when the component had to create it,
// the QApplication it runs in (dialog/show_suggestion_dialog.cpp).
struct DialogSession;

struct ThreadState {
  MainWordList sDicWords;
  CustomWordList sCustomWords;
  // Hands out the temp file names of the built-in list's load, and deletes
  // any such file still left when the thread's state ends.
  SysInfo sys_info;
  SimilarityArrays similarity;
  // Reused by the hot paths so that a check allocates nothing once warm.
  std::string scratch_bytes;
  // Created by the first ShowSuggestionDialog and kept; deleted through the
  // function its creator supplies, so this header needs no Qt.
  std::unique_ptr<DialogSession, void (*)(DialogSession*)> suggestion_dialog{
      nullptr, nullptr};
  // The system calls under the custom file's load and save and the built-in
  // list's temp file; tests put in one that fails on cue.
  std::unique_ptr<const FileSystem> file_system =
      std::make_unique<const FileSystem>();
};

// This thread's state, created on its first use.
ThreadState& State();

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_THREAD_STATE_H_
