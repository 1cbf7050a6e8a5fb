// File mappings that survive their file being cut short.
#include "platform/FileMapping.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>

#include "platform/HugePages.h"

#if defined(__linux__)
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>
#define TS_HAVE_MMAP 1
#endif

#if TS_HAVE_MMAP
namespace {

// The mappings in use, for the bus error handler, which may look at them
// at any moment from any thread: fixed slots of atomics, no allocation, no
// lock. A mapping publishes its end before its begin, and withdraws its
// begin first.
struct Slot {
  std::atomic<bool> taken{false};
  std::atomic<uintptr_t> begin{0};
  std::atomic<uintptr_t> end{0};
  std::atomic<bool> cut{false};
};
// As many files as any machine loads at once, one per core; past that,
// files are read.
constexpr int kSlots = 256;
Slot g_slots[kSlots];
uintptr_t g_pageSize = 4096;
struct sigaction g_previous {};

// A bus error inside a mapping is a page past the end of its file: the
// rest of the mapping becomes zeros, and the access that faulted runs
// again on them. Anything else goes where it would have gone without us.
void OnBusError(int signal, siginfo_t* info, void* context) {
  const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
  for (Slot& slot : g_slots) {
    const uintptr_t begin = slot.begin.load(std::memory_order_acquire);
    const uintptr_t end = slot.end.load(std::memory_order_relaxed);
    if (begin == 0 || at < begin || at >= end) continue;
    const uintptr_t page = at & ~(g_pageSize - 1);
    // mmap is a plain system call, safe here in practice though POSIX
    // does not list it.
    if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
        MAP_FAILED) {
      slot.cut.store(true, std::memory_order_relaxed);
      return;
    }
    break;
  }
  if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
    g_previous.sa_sigaction(signal, info, context);
  } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
    g_previous.sa_handler(signal);
  } else {
    // Delivered again once this handler returns (it is blocked until
    // then), it ends the process as it would have.
    ::signal(SIGBUS, SIG_DFL);
    ::raise(SIGBUS);
  }
}

void InstallHandler() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
  });
}

int TakeSlot() {
  for (int i = 0; i < kSlots; ++i) {
    if (!g_slots[i].taken.exchange(true, std::memory_order_acq_rel)) return i;
  }
  return -1;
}

uintptr_t RoundUp(uintptr_t value, uintptr_t page) { return (value + page - 1) & ~(page - 1); }

}  // namespace
#endif

bool CFileMapping::Map(int fd, size_t length, size_t slack) {
  Unmap();
#if TS_HAVE_MMAP
  if (length == 0) return false;
  InstallHandler();
  const int slot = TakeSlot();
  if (slot < 0) return false;
  // Address space for the file's pages and the slack after them: where the
  // file ends in the middle of a page, the system fills the rest with
  // zeros; the pages after it are anonymous.
  const size_t mapped = RoundUp(length + (slack > 0 ? slack : 1), g_pageSize);
  // A large file starts on a huge page, so that the system can map the
  // huge pages it caches the file in whole: the first touch of each small
  // page of a mapping costs, some 15 ms over a 40 MB file here.
  void* region = MAP_FAILED;
  if (length >= kHugePageSize) {
    if (void* aligned = ReserveAlignedToHugePage(mapped, false)) region = aligned;
  } else {
    region = ::mmap(nullptr, mapped, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  }
  if (region != MAP_FAILED &&
      ::mmap(region, length, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, 0) == MAP_FAILED) {
    ::munmap(region, mapped);
    region = MAP_FAILED;
  }
  Slot& s = g_slots[slot];
  if (region == MAP_FAILED) {
    s.taken.store(false, std::memory_order_release);
    return false;
  }
  s.cut.store(false, std::memory_order_relaxed);
  s.end.store(reinterpret_cast<uintptr_t>(region) + mapped, std::memory_order_relaxed);
  s.begin.store(reinterpret_cast<uintptr_t>(region), std::memory_order_release);
  data_ = static_cast<char*>(region);
  size_ = length;
  mapped_ = mapped;
  slot_ = slot;
  return true;
#else
  (void)fd;
  (void)length;
  (void)slack;
  return false;
#endif
}

CFileMapping& CFileMapping::operator=(CFileMapping&& other) noexcept {
  if (this != &other) {
    Unmap();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
    slot_ = std::exchange(other.slot_, -1);
  }
  return *this;
}

void CFileMapping::Unmap() noexcept {
#if TS_HAVE_MMAP
  if (data_ == nullptr) return;
  Slot& s = g_slots[slot_];
  s.begin.store(0, std::memory_order_release);
  ::munmap(data_, mapped_);
  s.taken.store(false, std::memory_order_release);
#endif
  data_ = nullptr;
  size_ = mapped_ = 0;
  slot_ = -1;
}

bool CFileMapping::Cut() const noexcept {
#if TS_HAVE_MMAP
  return slot_ >= 0 && g_slots[slot_].cut.load(std::memory_order_relaxed);
#else
  return false;
#endif
}
