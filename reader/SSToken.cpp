// A token of the reader, allocated in one block with its text.
#include "reader/SSToken.h"

#include <cstring>
#include <new>

void* SSToken::operator new(size_t size, size_t textBytes) {
  void* p = ::operator new(size + textBytes, std::nothrow);
  if (p == nullptr) throw SSExceptionOutOfStorage();
  return p;
}

void SSToken::operator delete(void* p) noexcept { ::operator delete(p); }
void SSToken::operator delete(void* p, size_t) noexcept { ::operator delete(p); }

SSToken::SSToken(int32_t id, std::string_view text, int32_t line, int32_t column, uint32_t offset,
                 int32_t parseToken) noexcept
    : id_(id),
      length_(static_cast<uint32_t>(text.size())),
      line_(line),
      column_(column),
      offset_(offset),
      parseToken_(parseToken) {
  std::memcpy(text_, text.data(), text.size());
  text_[text.size()] = '\0';
  text_[text.size() + 1] = '\0';
}

SSRefPtr<SSToken> SSToken::Make(int32_t id, std::string_view text, int32_t line, int32_t column,
                                uint32_t offset, int32_t parseToken) {
  return SSRefPtr<SSToken>::Adopt(new (text.size()) SSToken(id, text, line, column, offset, parseToken));
}
