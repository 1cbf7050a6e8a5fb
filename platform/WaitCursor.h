// The wait cursor shown while the program is busy, through hooks that a
// front end installs (none on the command line).
#pragma once

#include <functional>

/// What showing and ending the wait cursor do; either may be empty.
struct WaitCursorHooks {
  std::function<void()> begin;
  std::function<void()> end;
};

/// Installs the hooks; returns the ones installed before.
WaitCursorHooks SetWaitCursorHooks(WaitCursorHooks hooks);

/// Shows the wait cursor for as long as it lives.
class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};
