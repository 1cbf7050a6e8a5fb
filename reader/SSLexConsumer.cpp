// The lexer's input buffer and its line and column count.
#include "reader/SSLexConsumer.h"

#include <cstring>

#include "reader/SSException.h"

SSLexConsumer::SSLexConsumer(const std::string& fileName) : name_(fileName) {
  TextFileRead read = ReadTextFile(fileName, file_);
  if (read.error != 0 && read.fileLength == 0) {
    throw SSException(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", fileName.c_str(),
                      static_cast<long>(read.error));
  }
  if (read.error != 0 || read.fileLength == 0) {
    throw SSException(SSCode::kLexFileLength, "SSLex0102e: Invalid file length or read error, %s, %ld",
                      fileName.c_str(), static_cast<long>(read.fileLength));
  }
  data_ = file_.data();
  length_ = file_.size();
  TakeCodePage();
}

SSLexConsumer::SSLexConsumer(std::string text, std::string name) : text_(std::move(text)), name_(std::move(name)) {
  data_ = text_.data();
  length_ = text_.size();
  TakeCodePage();
}

void SSLexConsumer::TakeCodePage() {
  leadBytes_ = ProcessLeadBytes();
  for (bool lead : leadBytes_) hasLeadBytes_ = hasLeadBytes_ || lead;
  nextLineFeed_ = FindLineFeed(0);
}

size_t SSLexConsumer::FindLineFeed(size_t from) const {
  const void* lf = from < Length() ? std::memchr(Data() + from, '\n', Length() - from) : nullptr;
  return lf ? static_cast<size_t>(static_cast<const unsigned char*>(lf) - Data()) : Length();
}

void SSLexConsumer::MoveMarkAcrossLines(size_t end) {
  const unsigned char* const data = Data();
  if (!hasLeadBytes_) {
    // Every byte is one character, every line feed byte a line end. The
    // search that passes end finds the first line feed after it.
    size_t lf = nextLineFeed_;
    for (; lf < end; lf = FindLineFeed(lf + 1)) {
      ++line_;
      lineStart_ = lf + 1;
    }
    mark_ = end;
    nextLineFeed_ = lf;
    return;
  }
  // A lead byte takes the next byte with it, even a line feed; a lead byte
  // that ends the input is a character by itself.
  const size_t length = Length();
  for (size_t i = mark_; i < end;) {
    if (leadBytes_[data[i]] && i + 1 < length) {
      i += 2;
    } else if (data[i++] == '\n') {
      ++line_;
      lineStart_ = i;
    }
  }
  mark_ = end;
  nextLineFeed_ = FindLineFeed(end);
}
