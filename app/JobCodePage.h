// The code page of a loading job: the one the user chose, else the one the
// first translated file declares, said in the load log's first line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CLoadLog;

/// The code page the header of the Interleaf ASCII file at \p path
/// declares: 932 for "Character Encoding = SJIS"; 0 when it declares none
/// or cannot be read (the pre-check reports that).
int32_t DeclaredCodePage(const std::string& path);

/// Sets the process code page for a job over the selection
/// \p translatedFiles and writes to \p log which one it is and why. A code
/// page chosen with --codepage or TYPESWAP_CODEPAGE stays; otherwise the
/// job takes 932 when the first translated file declares Shift-JIS, and the
/// default code page when it does not.
void ChooseJobCodePage(CLoadLog& log, std::string_view translatedFiles);
