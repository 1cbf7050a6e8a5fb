// CT_StringConvert: conversions between 8-bit texts in a code page and
// 16-bit UTF-16 texts.
#pragma once

#include <cstdint>

class CT_CString;
class CT_UString;

/// Code pages are Windows numbers: 0 is the process code page (what the
/// source set by sv_SetProcessCodePageSource says; without one,
/// TYPESWAP_CODEPAGE, else 1252), 65000 UTF-7 and 65001 UTF-8 (both by
/// CT_UTF), others through iconv (932, 936, 949, 950, 874, 1250-1258,
/// 20127, 28591-28599, 20932 and 51932). A code page without an encoding
/// counts as 0. A length or count of -1 (0xFFFFFFFF) means the text up to
/// and including its terminating zero, which is then converted and counted
/// too. Failures are recorded with the error manager (a system error and
/// the place of the failure) and give 0; converting an empty text gives 0
/// without an error.
///
/// The raw forms write into targets the caller sizes: one unit per input
/// byte towards UTF-16; two bytes per unit towards a code page (three for
/// UTF-8 and UTF-7, plus three). The string forms size their target,
/// convert, terminate the text and set its length.
class CT_StringConvert {
 public:
  using CodePageSource = uint32_t (*)();
  /// Code page 0 follows \p source from now on (nullptr: the environment
  /// again), so that a program's --codepage option or a job's choice
  /// reaches the library; the source is called from any thread.
  static void sv_SetProcessCodePageSource(CodePageSource source);

  static int32_t si_MultiToWide(char16_t* target, const char* text, uint32_t length, uint32_t codePage);
  static int32_t si_MultiToWide(CT_UString* target, const char* text, uint32_t length, uint32_t codePage);
  /// Converts \p source with its own code page.
  static int32_t si_MultiToWide(CT_UString* target, const CT_CString* source);
  static int32_t si_MultiToWideANSI(char16_t* target, const char* text, uint32_t length);
  static int32_t si_MultiToWideANSI(CT_UString* target, const char* text, uint32_t length);

  /// Characters without an equivalent become \p defaultChar (else "?"),
  /// and \p usedDefault is set.
  static int32_t si_WideToMulti(char* target, const char16_t* text, uint32_t count, uint32_t codePage,
                                const char* defaultChar = nullptr, bool* usedDefault = nullptr);
  /// The target takes \p codePage as its own.
  static int32_t si_WideToMulti(CT_CString* target, const char16_t* text, uint32_t count, uint32_t codePage,
                                const char* defaultChar = nullptr, bool* usedDefault = nullptr);
  /// Converts into the target's own code page.
  static int32_t si_WideToMulti(CT_CString* target, const CT_UString* source);
  static int32_t si_WideToMultiANSI(char* target, const char16_t* text, uint32_t count);
  static int32_t si_WideToMultiANSI(CT_CString* target, const char16_t* text, uint32_t count);

  /// One character; 0 when it cannot be converted.
  static char16_t sus_MultiToWide(char character, uint32_t codePage);
  static char sc_WideToMulti(char16_t character, uint32_t codePage);

  /// Resets the decoder, decodes and terminates the target.
  static int32_t si_UTF7ToWide(char16_t* target, const char* text, uint32_t length);
  static int32_t si_UTF7ToWide(CT_UString* target, const char* text, uint32_t length);
  /// Resets the encoder, encodes, closes an open run and writes a zero byte.
  static int32_t si_WideToUTF7(char* target, const char16_t* text, uint32_t count);
  static int32_t si_WideToUTF7(CT_CString* target, const char16_t* text, uint32_t count);
  /// Resets the decoder and decodes; an empty text gives 0.
  static int32_t si_UTF8ToWide(char16_t* target, const char* text, uint32_t length);
  static int32_t si_UTF8ToWide(CT_UString* target, const char* text, uint32_t length);
  static int32_t si_WideToUTF8(char* target, const char16_t* text, uint32_t count);
  static int32_t si_WideToUTF8(CT_CString* target, const char16_t* text, uint32_t count);

  /// The code page that \p codePage stands for: itself when it has an
  /// encoding, else the process code page's (1252 when that has none).
  static uint32_t sn_ResolveCodePage(uint32_t codePage);
};
