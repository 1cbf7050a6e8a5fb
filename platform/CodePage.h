// The process-wide ANSI code page and its lead-byte test.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

/// The code page used when nothing chose another.
constexpr int32_t kDefaultCodePage = 1252;

/// Who chose the process code page.
enum class CodePageOrigin {
  Default,      ///< nobody: kDefaultCodePage
  Environment,  ///< TYPESWAP_CODEPAGE
  Option,       ///< a front end's --codepage option (or a caller that knows)
  Document,     ///< a loading job, from what its first document declares
};

/// The code page every 8-bit text of the process is read in: 1252 unless
/// TYPESWAP_CODEPAGE, a front end's --codepage option or a loading job
/// says otherwise.
int32_t ProcessCodePage();

/// Who chose the process code page.
CodePageOrigin ProcessCodePageOrigin();

/// Makes \p codePage the process code page (and its lead-byte test current),
/// as chosen by \p origin.
void SetProcessCodePage(int32_t codePage, CodePageOrigin origin = CodePageOrigin::Option);

/// The code page named by TYPESWAP_CODEPAGE, 1252 when it is unset or
/// empty; nothing when it names no code page this system can convert.
std::optional<int32_t> CodePageFromEnvironment();

/// True when the system can convert texts of \p codePage (iconv knows
/// "CP" followed by the number).
bool IsKnownCodePage(int32_t codePage);

/// Parses a code page number as given on a command line; false when
/// \p text is not a positive decimal number.
[[nodiscard]] bool ParseCodePage(const char* text, int32_t& codePage);

/// Which bytes begin a double-byte character in a code page.
using LeadByteTable = std::array<bool, 256>;

/// The lead bytes Windows uses for \p codePage: 932 0x81-0x9F and
/// 0xE0-0xFC; 936, 949 and 950 0x81-0xFE; every other code page none.
LeadByteTable LeadBytesOf(int32_t codePage);

/// The lead-byte table of the process code page.
const LeadByteTable& ProcessLeadBytes();

/// The lead-byte test of the process code page.
inline bool IsLeadByte(unsigned char byte) { return ProcessLeadBytes()[byte]; }

/// Whether the byte at \p at is the second byte of a double-byte
/// character, when a character starts at \p boundary (not after \p at)
/// for certain: a byte that is no lead byte ends a character, so that holds
/// when an odd number of lead-byte values stand between them.
inline bool IsTrailByteAt(const LeadByteTable& leadBytes, const char* boundary, const char* at) {
  const char* i = at;
  while (i > boundary && leadBytes[static_cast<unsigned char>(i[-1])]) --i;
  return (at - i) % 2 == 1;
}
