// Whole-file reading with the byte-for-byte behaviour of a Windows
// text-mode stream, which the reader's positions depend on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Turns raw file bytes into what a text-mode read delivers: each CR LF
/// pair becomes LF, a lone CR stays, and a 0x1A byte ends the input.
/// Works in place; returns the number of bytes delivered.
size_t ApplyTextMode(char* data, size_t size);
/// ApplyTextMode for bytes already cut at their 0x1A: only each CR LF
/// pair becomes LF.
size_t CollapseCrLf(char* data, size_t size);

/// Where the first byte is that text mode acts on (CR or 0x1A) among the
/// \p size bytes at \p data; \p size when there is none.
size_t FindTextModeByte(const char* data, size_t size);

/// Result of reading a whole file.
struct TextFileRead {
  int error = 0;          ///< errno of the failed open or read, else 0
  size_t fileLength = 0;  ///< length of the file on disk
};

/// Reads the whole of \p path in text mode into \p text (whose size is the
/// number of bytes delivered). The file length is reported separately,
/// since text mode may deliver fewer bytes than the file holds.
[[nodiscard]] TextFileRead ReadTextFile(const std::string& path, std::string& text);
