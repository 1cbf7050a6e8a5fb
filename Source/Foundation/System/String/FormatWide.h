// printf for 16-bit texts: the C library's wide printf works on 32-bit
// wchar_t, so 16-bit formats are taken apart here and each conversion is
// done by the 8-bit printf or, for texts and characters, by hand.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace formatwide {

/// Formats \p format with \p args into \p target of \p size units (> 0).
/// The result is cut to size - 1 units and always terminated; returns its
/// length. %s, %ls and %ws take 16-bit texts, %hs and %S 8-bit ones (read
/// as Latin-1 bytes); %c, %lc and %wc a 16-bit character, %hc and %C an
/// 8-bit one.
uint32_t Format(char16_t* target, uint32_t size, const char16_t* format, va_list args);

}  // namespace formatwide
