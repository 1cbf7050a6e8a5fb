// Shift-JIS to EUC-JP conversion of output files.
#include "output/ShiftJisToEuc.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/COutputFile.h"
#include "output/COutputObserver.h"
#include "output/OutputPaths.h"
#include "output/OutputTexts.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {
constexpr size_t kBlockSize = 64 * 1024;

// Only these lead bytes are converted: 0xF0-0xFC are the user-defined area,
// which has no EUC-JP counterpart, and pass unchanged.
bool IsConvertedLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF); }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC; }

void AppendPair(unsigned char lead, unsigned char trail, std::string& out) {
  if (IsTrail(trail)) {
    JisCode jis = ShiftJisToJis(lead, trail);
    out.push_back(static_cast<char>(jis.row + 0x80));
    out.push_back(static_cast<char>(jis.cell + 0x80));
  } else {
    out.push_back(static_cast<char>(lead));
    out.push_back(static_cast<char>(trail));
  }
}
}  // namespace

JisCode ShiftJisToJis(unsigned char lead, unsigned char trail) {
  int adjust = trail < 0x9F ? 1 : 0;
  int offset = lead < 0xA0 ? 0x70 : 0xB0;
  int row = ((lead - offset) * 2) - adjust;
  int cell;
  if (adjust == 1) {
    cell = trail <= 0x7F ? trail - 0x1F : trail - 0x20;
  } else {
    cell = trail - 0x7E;
  }
  return {static_cast<unsigned char>(row), static_cast<unsigned char>(cell)};
}

void ConvertBlockToEuc(std::string_view block, unsigned char& pendingLead, bool atEnd,
                       std::string& out) {
  size_t i = 0;
  if (pendingLead != 0 && !block.empty()) {
    AppendPair(pendingLead, static_cast<unsigned char>(block[0]), out);
    pendingLead = 0;
    i = 1;
  }
  const size_t n = block.size();
  while (i < n) {
    // Runs of bytes that pass unchanged are copied in one go.
    size_t start = i;
    while (i < n && !IsConvertedLead(static_cast<unsigned char>(block[i]))) ++i;
    out.append(block.data() + start, i - start);
    if (i == n) break;
    unsigned char lead = static_cast<unsigned char>(block[i]);
    if (i + 1 == n) {
      pendingLead = lead;
      break;
    }
    AppendPair(lead, static_cast<unsigned char>(block[i + 1]), out);
    i += 2;
  }
  if (atEnd && pendingLead != 0) {
    out.push_back(static_cast<char>(pendingLead));
    pendingLead = 0;
  }
}

EucResult ConvertFileToEuc(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {EucOutcome::OpenFailed, errno};
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    return {EucOutcome::OpenFailed, EISDIR};
  }
  COutputFile output;
  if (int err = output.Open(path, false)) {
    ::close(fd);
    return {EucOutcome::OpenFailed, err};
  }
  std::string block(kBlockSize, '\0');
  std::string converted;
  converted.reserve(kBlockSize + 1);
  unsigned char pendingLead = 0;
  for (;;) {
    ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      return {EucOutcome::ReadFailed, err};  // output's destructor drops the copy
    }
    converted.clear();
    ConvertBlockToEuc(std::string_view(block.data(), static_cast<size_t>(n)), pendingLead, n == 0,
                      converted);
    if (int err = output.Write(converted)) {
      ::close(fd);
      return {EucOutcome::WriteFailed, err};
    }
    if (n == 0) break;
  }
  ::close(fd);
  if (int err = output.Commit()) return {EucOutcome::WriteFailed, err};
  return {};
}

int32_t ConvertOutputToEuc(const std::string& translatedFiles, const std::vector<COutputRecord>& written,
                           COutputObserver& observer) {
  const std::string caption = LoadResString(IdsCaptionError);
  int32_t converted = 0;
  std::string_view rest = translatedFiles;
  while (!rest.empty()) {
    size_t end = rest.find(';');
    std::string name(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (name.empty()) continue;
    // Only files this run wrote: an older output left in the directory may
    // already be EUC, and converting it again would garble it.
    const COutputRecord* record = nullptr;
    for (const COutputRecord& r : written) {
      if (UpperCaseName(r.inputName) == UpperCaseName(name)) record = &r;
    }
    if (record == nullptr) {
      observer.ShowMessage(outputtext::kCouldNotOpenFile + name, caption);
      continue;
    }
    EucResult result = ConvertFileToEuc(record->outputName);
    switch (result.outcome) {
      case EucOutcome::Converted:
        ++converted;
        break;
      case EucOutcome::OpenFailed:
        observer.ShowMessage(outputtext::kCouldNotOpenFile + name, caption);
        break;
      case EucOutcome::ReadFailed:
        observer.ShowMessage(outputtext::kCouldNotReadFile + record->outputName + "\n" +
                                 std::strerror(result.error), caption);
        break;
      case EucOutcome::WriteFailed:
        observer.ShowMessage(outputtext::kCouldNotWriteFile + record->outputName + "\n" +
                                 std::strerror(result.error), caption);
        break;
    }
  }
  return converted;
}
