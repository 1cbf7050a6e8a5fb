// Compiled into every test program: each starts from the same environment
// whatever the machine's. No code page comes from TYPESWAP_CODEPAGE (the
// tests about it set it themselves), and the programs the tests run
// inherit that.
#include <cstdlib>

namespace {
const bool kEnvironmentCleared = [] {
  ::unsetenv("TYPESWAP_CODEPAGE");
  return true;
}();
}  // namespace
