// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

#include <cstring>

#include "platform/TextFile.h"
#include "reader/SSException.h"

SSLexConsumer::SSLexConsumer(const std::string& fileName) : name_(fileName) {
  TextFileRead read = ReadTextFile(fileName, buffer_);
  if (read.error != 0 && read.fileLength == 0) {
    throw SSException(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", fileName.c_str(),
                      static_cast<long>(read.error));
  }
  if (read.error != 0 || read.fileLength == 0) {
    throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                      fileName.c_str(), static_cast<long>(read.fileLength));
  }
  TakeCodePage();
}

SSLexConsumer::SSLexConsumer(std::string text, std::string name)
    : buffer_(std::move(text)), name_(std::move(name)) {
  TakeCodePage();
}

void SSLexConsumer::TakeCodePage() {
  leadBytes_ = ProcessLeadBytes();
  for (bool lead : leadBytes_) hasLeadBytes_ = hasLeadBytes_ || lead;
}

void SSLexConsumer::MoveMark(size_t end) {
  const unsigned char* p = Data() + mark_;
  const unsigned char* stop = Data() + end;
  if (!hasLeadBytes_) {
    // Every byte is one character: only line feeds need finding.
    while (const void* lf = std::memchr(p, '\n', static_cast<size_t>(stop - p))) {
      ++line_;
      column_ = 1;
      p = static_cast<const unsigned char*>(lf) + 1;
    }
    column_ += static_cast<int32_t>(stop - p);
  } else {
    // A lead byte takes the next byte with it, even a line feed; a lead
    // byte that ends the input is a character by itself.
    const unsigned char* inputEnd = Data() + Length();
    while (p < stop) {
      if (leadBytes_[*p] && p + 1 < inputEnd) {
        p += 2;
        column_ += 2;
      } else if (*p++ == '\n') {
        ++line_;
        column_ = 1;
      } else {
        ++column_;
      }
    }
  }
  mark_ = end;
}
