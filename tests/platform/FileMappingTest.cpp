// Files seen in place: their bytes, the zero after them, and a file cut
// short by somebody else while it is mapped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <string>

#include "platform/FileMapping.h"
#include "platform/HugePages.h"
#include "tests/support/TestSupport.h"

namespace {

std::string Pattern(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
  return bytes;
}

// The file at \p path mapped whole; the descriptor is closed again, as the
// reader does.
bool MapFile(const std::string& path, size_t size, CFileMapping& mapping) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool mapped = mapping.Map(fd, size);
  ::close(fd);
  return mapped;
}

}  // namespace

TEST(FileMapping, BytesAreTheFilesWithAZeroAfterThem) {
  testsupport::TempDir dir;
  // Ending inside a page, and exactly on a page boundary.
  for (size_t size : {size_t{3} * 4096 + 100, size_t{4096}, size_t{2} << 20}) {
    const std::string bytes = Pattern(size);
    CFileMapping mapping;
    ASSERT_TRUE(MapFile(dir.Write("f.doc", bytes), size, mapping));
    ASSERT_EQ(size, mapping.size());
    EXPECT_EQ(bytes, std::string(mapping.data(), mapping.size()));
    EXPECT_EQ('\0', mapping.data()[size]) << size;
    EXPECT_FALSE(mapping.Cut());
    // A large file starts on a huge page, where the system can map whole
    // the huge pages it caches the file in.
    if (size >= kHugePageSize) {
      EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(mapping.data()) % kHugePageSize);
    }
  }
}

TEST(FileMapping, AFileCutShortReadsAsZerosAndSaysSo) {
  testsupport::TempDir dir;
  const size_t size = 5 * 4096 + 7;
  const std::string bytes = Pattern(size);
  const std::string path = dir.Write("cut.doc", bytes);
  CFileMapping cut, other;
  ASSERT_TRUE(MapFile(path, size, cut));
  ASSERT_TRUE(MapFile(dir.Write("other.doc", bytes), size, other));
  const size_t kept = 4096 + 10;
  ASSERT_EQ(0, ::truncate(path.c_str(), static_cast<off_t>(kept)));

  // Every byte can still be read: the first ones are the file's, the rest
  // zeros, where the system would have ended the process.
  std::string seen(cut.data(), size + 1);
  EXPECT_EQ(bytes.substr(0, kept), seen.substr(0, kept));
  EXPECT_EQ(std::string(size + 1 - kept, '\0'), seen.substr(kept));
  EXPECT_TRUE(cut.Cut());
  // Another mapping is not concerned.
  EXPECT_EQ(bytes, std::string(other.data(), other.size()));
  EXPECT_FALSE(other.Cut());

  // A mapping made again is whole: the slot forgets the cut.
  cut.Unmap();
  ASSERT_TRUE(MapFile(path, kept, cut));
  EXPECT_EQ(bytes.substr(0, kept), std::string(cut.data(), cut.size()));
  EXPECT_FALSE(cut.Cut());
}

TEST(FileMappingDeathTest, OtherBusErrorsStillEndTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        testsupport::TempDir dir;
        CFileMapping mapping;
        if (!MapFile(dir.Write("f.doc", Pattern(8192)), 8192, mapping)) std::_Exit(3);
        std::raise(SIGBUS);
        std::_Exit(0);
      },
      testing::KilledBySignal(SIGBUS), "");
}
