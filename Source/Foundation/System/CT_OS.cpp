// CT_OS: the system's version, read once from uname.
#include "CT_OS.h"

#include <sys/utsname.h>

#include <cstdlib>
#include <string>

namespace {

struct Version {
  et_OS family = eo_WindowsNT;
  uint32_t major = 0, minor = 0, build = 0;
  std::string text;
};

const Version& System() {
  static const Version version = [] {
    Version v;
    utsname names{};
    if (uname(&names) != 0) return v;
    // "6.1.0-18-amd64": the leading numbers, as far as they go.
    uint32_t* parts[] = {&v.major, &v.minor, &v.build};
    const char* p = names.release;
    for (uint32_t* part : parts) {
      if (*p < '0' || *p > '9') break;
      char* end = nullptr;
      *part = uint32_t(std::strtoul(p, &end, 10));
      p = end;
      if (*p != '.') break;
      ++p;
    }
    v.text = names.version;
    return v;
  }();
  return version;
}

}  // namespace

et_OS CT_OS::seo_GetVersion() { return System().family; }
bool CT_OS::sb_GetIsWindowsNT() { return System().family == eo_WindowsNT; }
bool CT_OS::sb_GetIsWindows95() { return System().family == eo_Windows95; }
bool CT_OS::sb_GetIsWindows95OSR2() { return false; }
bool CT_OS::sb_GetIsWindows32s() { return System().family == eo_Win32s; }
uint32_t CT_OS::sn_GetOsVersionMajor() { return System().major; }
uint32_t CT_OS::sn_GetOsVersionMinor() { return System().minor; }
uint32_t CT_OS::sn_GetOsVersionBuild() {
  const Version& v = System();
  return v.family == eo_WindowsNT ? v.build : v.build & 0xFFFF;
}
const char* CT_OS::sqccz_GetOsVersionString() { return System().text.c_str(); }
