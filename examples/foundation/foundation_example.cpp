// A program that uses Typeswap's foundation library through its installed
// headers and pkg-config file alone:
//   c++ -std=c++20 foundation_example.cpp $(pkg-config --cflags --libs typeswap-foundation)
#include <cstdio>

#include "CT_Foundation.h"

int main() {
  int failures = 0;
  auto check = [&](bool ok, const char* what) {
    if (!ok) {
      std::fprintf(stderr, "foundation example: %s failed\n", what);
      ++failures;
    }
  };

  // Strings share their text until one of them changes it.
  CT_CString original("Caf\xe9", -1, 1252);
  CT_CString copy(&original);
  check(original.pcco_GetBuffer()->n_GetUseCount() == 2, "sharing");
  copy.v_Append(" au lait");
  check(original.vn_GetLength() == 4 && copy.vn_GetLength() == 12, "copy on write");

  // 8-bit text in a code page, 16-bit text and UTF-7.
  CT_UString wide(&original);
  check(wide.u_GetAt(3) == u'\u00e9', "code page 1252");
  CT_CString utf7;
  CT_StringConvert::si_WideToUTF7(&utf7, wide.qcuz_Get(), wide.vn_GetLength());
  check(utf7.vi_Compare("Caf+AOk-", -1, 0) == 0, "UTF-7");

  // The library started itself: its error manager is ready.
  CT_ErrorManager* errors = CT_ErrorManager::spco_Get();
  check(errors != nullptr, "error manager");
  if (errors) {
    errors->v_SetError(7, u"%hs", "example");
    errors->v_AddLocation("examples/foundation/foundation_example.cpp", __LINE__);
    check(errors->n_GetLocationCount() == 1, "error locations");
    errors->v_ClearError();
  }

  std::printf("%s: %s (%u bytes as UTF-7)\n", failures ? "FAILED" : "ok", copy.qccz_Get(), utf7.vn_GetLength());
  return failures ? 1 : 0;
}
