#include "component/thread_state.h"

#include <memory>

namespace quenvar {

ThreadState& State() {
  // Held through a pointer so that the thread-local block stays small for
  // every thread of the host, not only those that use the component.
  thread_local const std::unique_ptr<ThreadState> state =
      std::make_unique<ThreadState>();
  return *state;
}

}  // namespace quenvar
