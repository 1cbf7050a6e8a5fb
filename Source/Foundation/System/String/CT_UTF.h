// CT_UTF: the library's own UTF-7 (RFC 2152) and UTF-8 coders, whose
// states carry over between calls so that a long text can be converted in
// pieces.
#pragma once

#include <cstdint>

/// UTF-7 and UTF-8 coders over 16-bit UTF-16 units. The Init members reset
/// a coder's state; the others continue from it. The states belong to the
/// calling thread. A length or count of -1 (0xFFFFFFFF) means the text up
/// to and including its terminating zero. Targets are sized by the caller.
class CT_UTF {
 public:
  /// Builds the coding tables; the library does it when it starts.
  static void sv_InitTables();

  static void sv_WideToUTF7Init();
  /// Encodes until \p count units or a zero unit are taken; returns the
  /// bytes written.
  static int32_t si_WideToUTF7(char* target, const char16_t* text, uint32_t count);
  /// Closes an open run and writes a zero byte, which is not counted.
  static int32_t si_WideToUTF7Exit(char* target);
  static void sv_UTF7ToWideInit();
  /// Decodes \p length bytes; returns the units written.
  static int32_t si_UTF7ToWide(char16_t* target, const char* text, uint32_t length);
  /// Encodes until \p count units or a zero unit are taken and writes a
  /// zero byte after the output, not counted; returns the bytes written.
  static int32_t si_WideToUTF8(char* target, const char16_t* text, uint32_t count);
  static void sv_UTF8ToWideInit();
  /// Decodes \p length bytes; a sequence may be split between calls.
  /// Four-byte sequences become surrogate pairs; malformed bytes U+FFFD.
  static int32_t si_UTF8ToWide(char16_t* target, const char* text, uint32_t length);
};
