// The wizard program's start, shared by typeswap and the tools that walk
// its windows.
#pragma once

#include <QStringList>

/// What a program built on the wizard adds to typeswap's command line.
class CWizardStartHook {
 public:
  virtual ~CWizardStartHook() = default;

  /// Takes the option at args[i] with its values, leaving i on its last
  /// value; false when args[i] is not one of this program's options.
  virtual bool TakeOption(const QStringList& args, qsizetype& i) = 0;

  /// Called once the options are read, just before the wizard runs.
  virtual void Start() = 0;
};

/// typeswap's main: --help and --version (without a display), the options
/// (\p hook's too, when not null), then the wizard. Returns the exit status.
int RunWizardProgram(int argc, char** argv, CWizardStartHook* hook);
