// Objects left for the end of the process to take back. A command's model
// holds hundreds of thousands of objects; freeing them one by one, just
// before the system takes the whole memory back anyway, costs a noticeable
// share of a run.
#pragma once

#include <memory>

/// Said by main before it runs a command: the process ends when the
/// command returns, so what it leaves need not be destroyed.
void SetCommandEndsProcess();

/// Keeps \p object reachable (leak checkers see it held) and never destroys
/// it. False when no more can be kept, or when no SetCommandEndsProcess
/// came: then the caller destroys it.
bool KeepUntilProcessEnd(const void* object);

/// Leaves \p object to the end of the process when the command ends it
/// (see SetCommandEndsProcess); otherwise destroys it here. Only for
/// objects whose destructors do nothing but free memory: no file, stream
/// or thread of theirs may be left open.
template <class T>
void LeaveToProcessEnd(std::unique_ptr<T> object) {
  if (object && KeepUntilProcessEnd(object.get())) (void)object.release();
}
