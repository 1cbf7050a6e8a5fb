// Temporary file, rename, and the clean-up of temporaries on failure,
// interruption and in a later run.
#include "platform/CSafeFileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace {

constexpr std::string_view kMarker = ".tstmp";

// Note [temporaries on signals]: a SIGINT or SIGTERM handler may only call
// async-signal-safe functions, so the paths of the open temporaries are
// kept as plain C strings in a fixed table of atomic slots; the handler
// unlinks each, then lets the signal end the process as it would have.
constexpr int kSlots = 64;
std::array<std::atomic<char*>, kSlots> g_temporaries{};

void RemoveTemporariesAndDie(int signal) {
  for (std::atomic<char*>& slot : g_temporaries) {
    if (char* path = slot.load()) ::unlink(path);
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void InstallSignalHandlers() {
  static const bool installed = [] {
    for (int signal : {SIGINT, SIGTERM}) {
      struct sigaction old {};
      ::sigaction(signal, nullptr, &old);
      if (old.sa_handler == SIG_IGN) continue;  // e.g. started with nohup
      struct sigaction action {};
      action.sa_handler = RemoveTemporariesAndDie;
      sigemptyset(&action.sa_mask);
      ::sigaction(signal, &action, nullptr);
    }
    return true;
  }();
  (void)installed;
}

int Remember(const std::string& path) {
  for (int i = 0; i < kSlots; ++i) {
    char* expected = nullptr;
    char* copy = ::strdup(path.c_str());
    if (copy == nullptr) return -1;
    if (g_temporaries[i].compare_exchange_strong(expected, copy)) return i;
    std::free(copy);
  }
  return -1;  // more open at once than the table holds: only the handler misses them
}

void ForgetSlot(int slot) {
  if (slot < 0) return;
  std::free(g_temporaries[slot].exchange(nullptr));
}

bool ProcessRuns(long pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

// Removes the temporaries that processes which are gone (killed with
// SIGKILL, a power cut) left in the target's folder: "<name>.tstmp<pid>.<n>"
// with a pid that no longer runs. Each folder is looked at once per process.
void RemoveStaleTemporaries(const std::string& target) {
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  static std::mutex mutex;
  static std::set<std::string> seen;
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!seen.insert(folder).second) return;
  }
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (!CSafeFileWriter::IsTemporaryName(name)) continue;
    long pid = std::strtol(entry->d_name + name.rfind(kMarker) + kMarker.size(), nullptr, 10);
    if (pid <= 0 || pid == ::getpid() || ProcessRuns(pid)) continue;
    ::unlink((folder + std::string(name)).c_str());
  }
  ::closedir(dir);
}

std::string TemporaryNameFor(const std::string& target) {
  static std::atomic<unsigned> counter{0};
  return target + std::string(kMarker) + std::to_string(::getpid()) + '.' + std::to_string(counter.fetch_add(1));
}

}  // namespace

CSafeFileWriter::~CSafeFileWriter() { Discard(); }

int CSafeFileWriter::WriteWhole(const std::string& target, std::string_view bytes) {
  CSafeFileWriter file;
  int error = file.Create(target);
  if (error == 0) error = file.Write(bytes);
  if (error == 0) error = file.Commit();
  return error;
}

bool CSafeFileWriter::IsTemporaryName(std::string_view name) {
  size_t at = name.rfind(kMarker);
  if (at == std::string_view::npos) return false;
  std::string_view rest = name.substr(at + kMarker.size());
  size_t dot = rest.find('.');
  if (dot == 0 || dot == std::string_view::npos || dot + 1 == rest.size()) return false;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (i != dot && (rest[i] < '0' || rest[i] > '9')) return false;
  }
  return true;
}

int CSafeFileWriter::Create(const std::string& target) {
  Discard();
  target_ = target;
  error_ = 0;
  transformed_.clear();
  InstallSignalHandlers();
  RemoveStaleTemporaries(target);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = TemporaryNameFor(target);
    // 0666 lets the umask decide, as for any file the user creates.
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      temporary_ = std::move(temporary);
      slot_ = Remember(temporary_);
      fd_ = fd;
      return 0;
    }
    if (errno != EEXIST) return error_ = errno;
  }
  return error_ = EEXIST;
}

int CSafeFileWriter::CopyPermissionsFrom(const std::string& path) {
  if (fd_ < 0) return EBADF;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (::fchmod(fd_, st.st_mode & 07777) != 0) return errno;
  return 0;
}

int CSafeFileWriter::WriteFully(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return error_ = errno;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return 0;
}

int CSafeFileWriter::Write(std::string_view bytes) {
  if (error_) return error_;
  if (fd_ < 0) return EBADF;
  if (!transform_) return WriteFully(bytes);
  transformed_.clear();
  transform_(bytes, false, transformed_);
  return WriteFully(transformed_);
}

int CSafeFileWriter::Commit() {
  if (fd_ < 0) return error_ ? error_ : EBADF;
  int err = error_;
  if (err == 0 && transform_) {
    transformed_.clear();
    transform_({}, true, transformed_);
    err = WriteFully(transformed_);
  }
  // close() can be where a full disk or a network file system shows up.
  if (::close(fd_) != 0 && err == 0) err = errno;
  fd_ = -1;
  if (err == 0 && ::rename(temporary_.c_str(), target_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temporary_.c_str());
    error_ = err;
  }
  Forget();
  return err;
}

void CSafeFileWriter::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  Forget();
}

void CSafeFileWriter::Forget() {
  ForgetSlot(slot_);
  slot_ = -1;
  temporary_.clear();
  transformed_ = std::string();
}
