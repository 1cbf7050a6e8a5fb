// Buffering and text mode in front of the safe-file writer.
#include "output/COutputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "output/LineEndCopy.h"

int COutputFile::Open(const std::string& path, bool textMode) {
  Discard();
  textMode_ = textMode;
  if (int err = file_.Create(path)) return err;
  buffer_.resize(kBufferSize + kStoreSlack);
  return 0;
}

int COutputFile::WriteRaw(const char* data, size_t size) {
  if (size >= kBufferSize - used_) {
    if (int err = Flush()) return err;
    // Large blocks go straight to the file.
    if (size >= kBufferSize) return file_.Write(std::string_view(data, size));
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return 0;
}

int COutputFile::WriteFollowed(std::string_view text, size_t readable) { return WriteText(text, readable); }

int COutputFile::WriteText(std::string_view text, size_t readable) {
  if (!file_.IsOpen()) return file_.Write(text);  // the failure it had, or EBADF
  if (!textMode_) return WriteRaw(text.data(), text.size());
  // In parts that fit the buffer even if every byte were a line feed.
  while (!text.empty()) {
    if (kBufferSize - used_ < 2 * std::min(text.size(), kBufferSize / 4)) {
      if (int err = Flush()) return err;
    }
    const size_t part = std::min(text.size(), (kBufferSize - used_) / 2);
    used_ += ExpandLineEnds(text.data(), part, buffer_.data() + used_, readable);
    text.remove_prefix(part);
    readable -= part;
  }
  return 0;
}

int COutputFile::Flush() {
  int err = file_.Write(std::string_view(buffer_.data(), used_));
  used_ = 0;
  return err;
}

int COutputFile::Commit() {
  int err = file_.IsOpen() ? Flush() : 0;
  // After a failed write Commit refuses and removes the temporary.
  const int commit = file_.Commit();
  if (err == 0) err = commit;
  buffer_ = std::vector<char>();
  return err;
}

void COutputFile::Discard() {
  file_.Discard();
  used_ = 0;
}
