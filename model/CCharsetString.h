// A string of 8-bit text that knows its character set, so that lengths and
// positions can be counted in whole characters of a double-byte code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/CodePage.h"

/// Character sets a CCharsetString can be in. Stored as a plain 32-bit value.
enum CharsetId : int32_t {
  CharsetSystem = 0,      ///< the process code page, resolved before use
  CharsetSingleByte = 1,  ///< Windows single-byte pages 874, 1250-1258, 1361
  CharsetShiftJis = 2,    ///< code page 932
  Charset936 = 3,         ///< code page 936
  Charset949 = 4,         ///< code page 949
  Charset950 = 5,         ///< code page 950
  CharsetOther = 6,       ///< any other code page
};

/// The character set of \p codePage.
CharsetId CharsetIdOfCodePage(int32_t codePage);

/// \p charset with CharsetSystem replaced by the set of the process code page.
CharsetId ResolveCharset(int32_t charset);

/// True for the sets whose characters may take two bytes (Shift-JIS, 936,
/// 949, 950, and the system set when the process code page is one of them).
bool IsDoubleByteCharset(int32_t charset);

/// The lead bytes of \p charset. The system set uses the process code page's
/// own test; the others their fixed ranges.
const LeadByteTable& LeadBytesOfCharset(int32_t charset);

/// 8-bit text with its character set. Positions and lengths are in
/// characters when countChars is set and the set is double-byte, otherwise
/// in bytes; a lead byte and the byte after it form one character.
class CCharsetString {
 public:
  CCharsetString() = default;
  explicit CCharsetString(std::string text, int32_t charset = CharsetOther, bool countChars = false)
      : text_(std::move(text)), charset_(charset), countChars_(countChars) {}
  CCharsetString(const CCharsetString&) = default;
  CCharsetString(CCharsetString&&) noexcept = default;
  CCharsetString& operator=(const CCharsetString&) = default;
  CCharsetString& operator=(CCharsetString&&) noexcept = default;
  virtual ~CCharsetString() = default;

  /// Replaces the text; the character set and counting mode stay.
  CCharsetString& operator=(std::string_view text);

  /// The bytes of the text.
  const std::string& GetText() const noexcept { return text_; }
  int32_t GetCharset() const noexcept { return charset_; }
  void SetCharset(int32_t charset) noexcept { charset_ = charset; }
  bool GetCountChars() const noexcept { return countChars_; }
  void SetCountChars(bool countChars) noexcept { countChars_ = countChars; }
  bool IsEmpty() const noexcept { return text_.empty(); }

  /// Whether lengths and positions of this string are counted in characters.
  bool CountsCharacters() const { return countChars_ && IsDoubleByteCharset(charset_); }

  /// The length in this string's unit (characters or bytes).
  int32_t GetLength() const;
  /// The number of characters, whatever the counting mode.
  int32_t CharCount() const;

  /// Position (in this string's unit) of the first character that is one
  /// of the characters of \p set, or -1. Trail bytes never match by
  /// themselves.
  int32_t FindOneOf(std::string_view set) const;

  /// The bytes of the character at \p position; empty outside the text.
  std::string GetAt(int32_t position) const;

  /// The first \p count units.
  CCharsetString Left(int32_t count) const;
  /// The last \p count units.
  CCharsetString Right(int32_t count) const;
  /// \p count units from \p first on; all the rest when count is negative.
  CCharsetString Mid(int32_t first, int32_t count = -1) const;

  /// Appends bytes (or another string's bytes) to the text.
  CCharsetString& Append(std::string_view text);
  CCharsetString& operator+=(std::string_view text) { return Append(text); }

 private:
  /// Length in bytes of the character starting at byte \p i.
  size_t CharBytesAt(const LeadByteTable& leads, size_t i) const;
  /// Byte offset of \p position (in this string's unit), clamped to the end.
  size_t ByteOffsetOf(int32_t position) const;
  /// A new string of the bytes [from, to) with this string's set and mode.
  CCharsetString Slice(size_t from, size_t to) const;

  std::string text_;
  int32_t charset_ = CharsetOther;
  bool countChars_ = false;
};
