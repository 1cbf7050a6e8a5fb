// The code page a fuzz input is read in.
#pragma once

#include <cstddef>
#include <cstdint>

// The input's last byte picks the code page: 932 (Shift-JIS) when it is odd,
// 1252 otherwise. Reading every input once, in the code page it picks, gives
// the fuzzer twice the inputs a second of reading each in both, and one
// mutation of that byte is enough to try the other. The byte stays part of
// the document, so seed documents are read as they are.
inline int32_t FuzzCodePage(const uint8_t* data, size_t size) {
  return size > 0 && (data[size - 1] & 1) != 0 ? 932 : 1252;
}
