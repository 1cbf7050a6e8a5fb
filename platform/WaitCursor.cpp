// The wait cursor hooks.
#include "platform/WaitCursor.h"

namespace {
WaitCursorHooks& Hooks() {
  static WaitCursorHooks hooks;
  return hooks;
}
}  // namespace

WaitCursorHooks SetWaitCursorHooks(WaitCursorHooks hooks) {
  WaitCursorHooks previous = std::move(Hooks());
  Hooks() = std::move(hooks);
  return previous;
}

CWaitCursor::CWaitCursor() {
  if (Hooks().begin) Hooks().begin();
}

CWaitCursor::~CWaitCursor() {
  if (Hooks().end) Hooks().end();
}
