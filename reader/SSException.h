// The exceptions of the lexer and parser engines: a numeric code and a
// message such as "SSLex0105e: Invalid token, Line 3, Offset 7, <".
#pragma once

#include <cstdint>
#include <exception>
#include <string>

/// An engine error. The message is formatted printf-style into 512
/// characters; a longer result becomes "SSException0002e: sprintf msg too
/// long" with code 46. The stored message is cut to 127 characters.
class SSException : public std::exception {
 public:
  SSException(int32_t code, const char* format, ...) __attribute__((format(printf, 3, 4)));

  int32_t code() const noexcept { return code_; }
  const char* what() const noexcept override { return message_; }

  static constexpr size_t kFormatBuffer = 512;
  static constexpr size_t kStoredLength = 127;

 protected:
  struct Preformatted {};
  SSException(Preformatted, int32_t code, const char* message) noexcept;

 private:
  void Store(const char* message) noexcept;

  int32_t code_;
  char message_[kStoredLength + 1];
};

/// An allocation failure inside the engines (code -1).
class SSExceptionOutOfStorage : public SSException {
 public:
  SSExceptionOutOfStorage() noexcept : SSException(Preformatted{}, -1, "SSException0001e: Out of storage") {}
};

/// Message codes of the engines, as their exceptions carry them.
namespace SSCode {
inline constexpr int32_t kLexOpenFile = 1;
inline constexpr int32_t kLexFileLength = 2;
inline constexpr int32_t kLexLexemeTooLong = 3;
inline constexpr int32_t kLexInvalidTable = 4;
inline constexpr int32_t kLexInvalidToken = 5;
inline constexpr int32_t kLexInvalidListIndex = 6;
inline constexpr int32_t kLexMissing = 7;
inline constexpr int32_t kLifoFull = 8;
inline constexpr int32_t kLifoNoTop = 9;
inline constexpr int32_t kLifoPopEmpty = 10;
inline constexpr int32_t kLifoInvalidIndex = 11;
inline constexpr int32_t kYaccOpenFile = 12;
inline constexpr int32_t kYaccParseFailed = 13;
inline constexpr int32_t kYaccReadPastEof = 14;
inline constexpr int32_t kYaccErrorTokenFailed = 16;
inline constexpr int32_t kYaccInvalidGoto = 18;
inline constexpr int32_t kYaccInvalidIndex = 19;
inline constexpr int32_t kYaccNoTable = 20;
inline constexpr int32_t kYaccNoLex = 21;
inline constexpr int32_t kYaccReadTable = 22;
inline constexpr int32_t kSetFull = 23;
inline constexpr int32_t kYaccTableTooBig = 26;
inline constexpr int32_t kRefBelowZero = 28;
inline constexpr int32_t kLexResourceNotFound = 36;
inline constexpr int32_t kYaccResourceNotFound = 37;
inline constexpr int32_t kLexInvalidKeyword = 44;
inline constexpr int32_t kMessageTooLong = 46;
}  // namespace SSCode
