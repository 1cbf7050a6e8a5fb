// Buffering and text mode in front of the safe-file writer.
#include "output/COutputFile.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr size_t kBufferSize = 256 * 1024;
}  // namespace

int COutputFile::Open(const std::string& path, bool textMode) {
  Discard();
  textMode_ = textMode;
  if (int err = file_.Create(path)) return err;
  buffer_.resize(kBufferSize);
  return 0;
}

int COutputFile::WriteRaw(const char* data, size_t size) {
  if (size >= buffer_.size() - used_) {
    if (int err = Flush()) return err;
    // Large blocks go straight to the file.
    if (size >= buffer_.size()) return file_.Write(std::string_view(data, size));
  }
  std::memcpy(buffer_.data() + used_, data, size);
  used_ += size;
  return 0;
}

int COutputFile::Write(std::string_view text) {
  if (!file_.IsOpen()) return file_.Write(text);  // the failure it had, or EBADF
  if (!textMode_) return WriteRaw(text.data(), text.size());
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
    if (lf == nullptr) return WriteRaw(p, static_cast<size_t>(end - p));
    const size_t line = static_cast<size_t>(lf - p);
    if (buffer_.size() - used_ > line + 2) {
      // The usual case, a line that fits the buffer, goes straight in.
      std::memcpy(buffer_.data() + used_, p, line);
      buffer_[used_ + line] = '\r';
      buffer_[used_ + line + 1] = '\n';
      used_ += line + 2;
    } else {
      if (int err = WriteRaw(p, line)) return err;
      if (int err = WriteRaw("\r\n", 2)) return err;
    }
    p = lf + 1;
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
