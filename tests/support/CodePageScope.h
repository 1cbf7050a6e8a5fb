// Setting the process code page for one test's length.
#pragma once

#include <cstdint>

#include "platform/CodePage.h"

namespace testsupport {

/// Sets the process code page for the life of the object.
class CodePageScope {
 public:
  explicit CodePageScope(int32_t codePage) : previous_(ProcessCodePage()) { SetProcessCodePage(codePage); }
  ~CodePageScope() { SetProcessCodePage(previous_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  int32_t previous_;
};

}  // namespace testsupport
