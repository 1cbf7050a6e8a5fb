// Whole-file reading with Windows text-mode semantics.
#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/OpenForReading.h"

size_t ApplyTextMode(char* data, size_t size) {
  if (const void* eof = std::memchr(data, 0x1A, size)) {
    size = static_cast<size_t>(static_cast<const char*>(eof) - data);
  }
  char* cr = static_cast<char*>(std::memchr(data, '\r', size));
  if (cr == nullptr) return size;
  // Compact from the first CR on; most files have none, and those that do
  // have one per line, so a plain forward copy is the cheap way.
  char* out = cr;
  const char* in = cr;
  const char* end = data + size;
  while (in < end) {
    const char* next = static_cast<const char*>(std::memchr(in, '\r', end - in));
    if (next == nullptr) next = end;
    if (out != in) std::memmove(out, in, next - in);
    out += next - in;
    in = next;
    if (in < end) {  // at a CR
      if (in + 1 < end && in[1] == '\n') {
        *out++ = '\n';
        in += 2;
      } else {
        *out++ = '\r';
        in += 1;
      }
    }
  }
  return static_cast<size_t>(out - data);
}

namespace {

// Asks for huge pages under a large buffer: a 40 MB document otherwise
// takes ten thousand page faults to read, a noticeable share of a load.
// Only advice: where the system has none to give, nothing changes.
void AdviseHugePages(char* data, size_t size) {
  constexpr size_t kWorthIt = size_t{4} << 20;
  if (size < kWorthIt) return;
  const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const uintptr_t from = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const uintptr_t to = (reinterpret_cast<uintptr_t>(data) + size) & ~(page - 1);
  if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

}  // namespace

TextFileRead ReadTextFile(const std::string& path, std::string& text) {
  TextFileRead result;
  text.clear();
  int fd = -1;
  if ((result.error = OpenForReading(path, fd)) != 0) return result;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    result.error = errno;
    ::close(fd);
    return result;
  }
  result.fileLength = static_cast<size_t>(st.st_size);
  text.reserve(result.fileLength);
  AdviseHugePages(text.data(), result.fileLength);
  text.resize(result.fileLength);
  size_t got = 0;
  while (got < result.fileLength) {
    ssize_t n = ::read(fd, text.data() + got, result.fileLength - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.error = errno;
      break;
    }
    if (n == 0) break;  // the file shrank while we read it
    got += static_cast<size_t>(n);
  }
  ::close(fd);
  text.resize(ApplyTextMode(text.data(), got));
  return result;
}
