// The component's state, held once per thread and shared by every SpellCheck
// object of that thread. Different threads never see each other's state.

#ifndef QUENVARSPELL_COMPONENT_THREAD_STATE_H_
#define QUENVARSPELL_COMPONENT_THREAD_STATE_H_

#include <string>

#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"
#include "suggest/similarity.h"
#include "sysinfo/sys_info.h"

namespace quenvar {

struct ThreadState {
  MainWordList sDicWords;
  CustomWordList sCustomWords;
  // Hands out the temp file names of the built-in list's load, and deletes
  // any such file still left when the thread's state ends.
  SysInfo sys_info;
  SimilarityArrays similarity;
  // Reused by the hot paths so that a check allocates nothing once warm.
  std::string scratch_bytes;
};

// This thread's state, created on its first use.
ThreadState& State();

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_THREAD_STATE_H_
