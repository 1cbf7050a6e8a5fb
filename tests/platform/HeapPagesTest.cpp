// The heap on huge pages: advised from the start of large work, and still
// advised after freed memory is given back and after the heap grew past its
// reserve.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/HeapPages.h"

#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
namespace {

// The VmFlags line of the mapping that holds \p address; empty when no
// mapping does.
std::string FlagsOfMappingAt(const void* address) {
  const auto at = reinterpret_cast<uintptr_t>(address);
  std::ifstream smaps("/proc/self/smaps");
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    unsigned long from = 0, to = 0;
    char dash = 0;
    std::istringstream range(line);
    if (range >> std::hex >> from >> dash >> to && dash == '-' && line.find(':') > line.find(' ')) {
      inside = from <= at && at < to;
    } else if (inside && line.rfind("VmFlags:", 0) == 0) {
      return line;
    }
  }
  return {};
}

bool Advised(const void* address) { return FlagsOfMappingAt(address).find(" hg") != std::string::npos; }

bool SystemHasHugePages() {
  std::ifstream setting("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string modes;
  return std::getline(setting, modes) && modes.find("[never]") == std::string::npos;
}

}  // namespace

TEST(HeapPages, TheHeapStaysAdvisedWhenItGivesBackAndWhenItGrows) {
  if (!SystemHasHugePages()) GTEST_SKIP() << "the system has no transparent huge pages";
  PrepareHeap();
  void* first = std::malloc(64);
  EXPECT_FALSE(UseHugePagesForHeap(kHugeHeapWork - 1));  // small work: small pages
  EXPECT_FALSE(Advised(first)) << FlagsOfMappingAt(first);
  ASSERT_TRUE(UseHugePagesForHeap(kHugeHeapWork));
  EXPECT_TRUE(Advised(first)) << FlagsOfMappingAt(first);

  // Far more than the reserve, so that the heap grows past it, then freed
  // and given back: what is left and what grows again stays advised.
  std::vector<void*> pieces;
  for (int i = 0; i < 3000; ++i) pieces.push_back(std::malloc(32 << 10));
  for (void* piece : pieces) std::free(piece);
  GiveBackFreeHeap();
  EXPECT_TRUE(Advised(first)) << FlagsOfMappingAt(first);
  pieces.clear();
  for (int i = 0; i < 3000; ++i) pieces.push_back(std::malloc(32 << 10));
  GiveBackFreeHeap();
  EXPECT_TRUE(Advised(pieces.back())) << FlagsOfMappingAt(pieces.back());
  for (void* piece : pieces) std::free(piece);
  std::free(first);
}
#endif
