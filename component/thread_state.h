// The component's state, held once per thread and shared by every SpellCheck
// object of that thread. Different threads never see each other's state.

#ifndef QUENVARSPELL_COMPONENT_THREAD_STATE_H_
#define QUENVARSPELL_COMPONENT_THREAD_STATE_H_

#include <string>

#include "dictionary/custom_list.h"
#include "dictionary/word_list.h"

namespace quenvar {

struct ThreadState {
  MainWordList sDicWords;
  CustomWordList sCustomWords;
  // Reused by the hot paths so that a check allocates nothing once warm.
  std::string scratch_bytes;
};

// This thread's state, created on its first use.
ThreadState& State();

}  // namespace quenvar

#endif  // QUENVARSPELL_COMPONENT_THREAD_STATE_H_
