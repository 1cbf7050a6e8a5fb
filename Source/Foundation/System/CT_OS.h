// CT_OS: which operating system runs, in the terms the library has always
// used (on Linux: the NT family, with the kernel's version).
#pragma once

#include <cstdint>

/// The operating-system families, with their version values.
enum et_OS : uint32_t { eo_Win32s = 1, eo_Windows95 = 2, eo_WindowsNT = 4 };

/// The running system: on Linux the NT flag (version 4), major, minor and
/// build from the leading numbers of the kernel release, and the kernel's
/// version text in place of the service-pack text.
class CT_OS {
 public:
  static et_OS seo_GetVersion();
  static bool sb_GetIsWindowsNT();
  static bool sb_GetIsWindows95();
  /// Never set.
  static bool sb_GetIsWindows95OSR2();
  static bool sb_GetIsWindows32s();
  static uint32_t sn_GetOsVersionMajor();
  static uint32_t sn_GetOsVersionMinor();
  static uint32_t sn_GetOsVersionBuild();
  static const char* sqccz_GetOsVersionString();
};
