// The exceptions of the lexer and parser engines.
#include "reader/SSException.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

SSException::SSException(int32_t code, const char* format, ...) : code_(code) {
  char buffer[kFormatBuffer];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0 || static_cast<size_t>(n) >= kFormatBuffer) {
    code_ = SSCode::kMessageTooLong;
    Store("SSException0002e: sprintf msg too long");
  } else {
    Store(buffer);
  }
}

SSException::SSException(Preformatted, int32_t code, const char* message) noexcept : code_(code) { Store(message); }

void SSException::Store(const char* message) noexcept {
  const size_t length = ::strnlen(message, kStoredLength);
  std::memcpy(message_, message, length);
  message_[length] = '\0';
}
