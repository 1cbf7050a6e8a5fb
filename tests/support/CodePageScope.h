// Setting the process code page for one test's length.
#pragma once

#include <cstdint>

#include "platform/CodePage.h"

namespace testsupport {

/// Sets the process code page, and who chose it, for the life of the object.
class CodePageScope {
 public:
  explicit CodePageScope(int32_t codePage, CodePageOrigin origin = CodePageOrigin::Option)
      : previous_(ProcessCodePage()), previousOrigin_(ProcessCodePageOrigin()) {
    SetProcessCodePage(codePage, origin);
  }
  ~CodePageScope() { SetProcessCodePage(previous_, previousOrigin_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  int32_t previous_;
  CodePageOrigin previousOrigin_;
};

}  // namespace testsupport
