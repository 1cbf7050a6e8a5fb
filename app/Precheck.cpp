// Pre-checks of Interleaf ASCII files and font map files.
#include "app/Precheck.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string_view>

#include "app/AppendLogLine.h"
#include "app/CLoadLog.h"
#include "app/FileErrorText.h"
#include "platform/CExclusiveFile.h"
#include "platform/DiskSpace.h"
#include "platform/FileException.h"

namespace {

constexpr size_t kHeaderBytes = 100;
constexpr uint64_t kMegabyte = 1048576;

bool HasSupportedVersion(std::string_view header) {
  for (std::string_view version : {"Version = 8.0", "Version = 8.1", "Version = 8.2", "Version = 8.3"}) {
    if (header.find(version) != std::string_view::npos) return true;
  }
  return false;
}

// Adds this file's megabytes to the set's demand; false when the disk has
// less than twice the demand free.
bool EnoughDiskSpace(uint64_t fileLength, const std::string& outputFolder, int32_t& requiredSpace) {
  std::optional<uint64_t> free = FreeDiskSpace(outputFolder);
  if (!free) return true;
  int64_t required = static_cast<int64_t>(requiredSpace) + static_cast<int64_t>(fileLength / kMegabyte) + 1;
  required = std::min<int64_t>(required, std::numeric_limits<int32_t>::max());
  requiredSpace = static_cast<int32_t>(required);
  return *free / kMegabyte >= 2 * static_cast<uint64_t>(required);
}

}  // namespace

int32_t PrecheckFile(CLoadLog& log, const std::string& path, const std::string& outputFolder, int32_t& requiredSpace) {
  try {
    CExclusiveFile file(path);
    std::array<char, kHeaderBytes> bytes{};
    size_t read = file.Read(bytes.data(), bytes.size());
    std::string_view header(bytes.data(), read);
    header = header.substr(0, header.find('\0'));
    if (header.substr(0, 6) != "<!OPS,") return PrecheckNoHeader;
    if (!HasSupportedVersion(header)) return PrecheckWrongVersion;
    if (!EnoughDiskSpace(file.Length(), outputFolder, requiredSpace)) return PrecheckNoDiskSpace;
    return PrecheckPassed;
  } catch (const CFileException& failure) {
    AppendLogLine(log, FileErrorText(failure));
    return PrecheckUnreadable;
  }
}

int32_t PrecheckMapFile(CLoadLog& log, const std::string& path) {
  try {
    CExclusiveFile file(path);
    return PrecheckPassed;
  } catch (const CFileException& failure) {
    AppendLogLine(log, FileErrorText(failure));
    return PrecheckUnreadable;
  }
}
