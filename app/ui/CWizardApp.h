// CWizardApp: the application object; runs page A as the program's main
// window and ends when it ends.
#pragma once

/// Start-up of the wizard.
class CWizardApp {
 public:
  /// Installs the message pump and the wait cursor, enables the splash and
  /// runs page A modally; returns once page A has ended. Needs a
  /// QApplication.
  int Run();

  /// Connects the core's pump and wait-cursor hooks to Qt.
  static void InstallHooks();
};
