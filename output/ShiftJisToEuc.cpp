// Shift-JIS to EUC-JP conversion of output files.
#include "output/ShiftJisToEuc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_set>

#include "output/COutputObserver.h"
#include "output/OutputTexts.h"
#include "platform/FileIdentity.h"
#include "platform/OpenForReading.h"
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

void ConvertBlockToEuc(std::string_view block, unsigned char& pendingLead, bool atEnd, std::string& out) {
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

CSafeFileWriter::Transform EucTransform() {
  return [pendingLead = static_cast<unsigned char>(0)](std::string_view bytes, bool atEnd, std::string& out) mutable {
    ConvertBlockToEuc(bytes, pendingLead, atEnd, out);
  };
}

EucResult ConvertFileToEuc(const std::string& path) { return ConvertFileToEuc(path, std::nullopt); }

EucResult ConvertFileToEuc(const std::string& path, const std::optional<CFileStamp>& expected) {
  int fd = -1;
  int err = OpenForReading(path, fd);
  if (err != 0) return {EucOutcome::OpenFailed, err};
  // Another run may have put its own copy, perhaps converted already, in
  // this place since: converting that would garble it.
  if (expected && StampOfOpenFile(fd) != expected) {
    ::close(fd);
    return {EucOutcome::Replaced, 0};
  }
  CSafeFileWriter output;
  err = output.Create(path);
  if (err == 0) err = output.CopyPermissionsFrom(path);
  if (err != 0) {
    ::close(fd);
    return {EucOutcome::OpenFailed, err};
  }
  output.SetTransform(EucTransform());
  std::string block(kBlockSize, '\0');
  for (;;) {
    ssize_t n = ::read(fd, block.data(), block.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      ::close(fd);
      return {EucOutcome::ReadFailed, err};  // output's destructor drops the copy
    }
    if (n == 0) break;
    if ((err = output.Write(std::string_view(block.data(), static_cast<size_t>(n)))) != 0) {
      ::close(fd);
      return {EucOutcome::WriteFailed, err};
    }
  }
  ::close(fd);
  if ((err = output.Commit()) != 0) return {EucOutcome::WriteFailed, err};
  return {};
}

int32_t ConvertWrittenFilesToEuc(const std::vector<COutputRecord>& written, COutputObserver& observer) {
  const std::string caption = LoadResString(IdsCaptionError);
  int32_t converted = 0;
  for (const COutputRecord& record : written) {
    EucResult result = ConvertFileToEuc(record.outputName, record.stamp);
    switch (result.outcome) {
      case EucOutcome::Converted:
        ++converted;
        break;
      case EucOutcome::OpenFailed:
        observer.ShowMessage(outputtext::kCouldNotOpenFile + record.inputName, caption);
        break;
      case EucOutcome::ReadFailed:
        observer.ShowMessage(outputtext::kCouldNotReadFile + record.outputName + "\n" + std::strerror(result.error),
                             caption);
        break;
      case EucOutcome::WriteFailed:
        observer.ShowMessage(outputtext::kCouldNotWriteFile + record.outputName + "\n" + std::strerror(result.error),
                             caption);
        break;
      case EucOutcome::Replaced:
        observer.ShowMessage(FormatText(LoadResString(IdsOutputReplaced).c_str(), record.outputName), caption);
        break;
    }
  }
  return converted;
}

void ReportFilesNotConverted(const std::string& translatedFiles, const std::vector<COutputRecord>& written,
                             COutputObserver& observer) {
  const std::string caption = LoadResString(IdsCaptionError);
  std::unordered_set<std::string> done;
  for (const COutputRecord& record : written) done.insert(FileKey(record.inputName));
  std::string_view rest = translatedFiles;
  while (!rest.empty()) {
    size_t end = rest.find(';');
    std::string name(rest.substr(0, end));
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    // A file listed twice is one file, told about once.
    if (name.empty() || !done.insert(FileKey(name)).second) continue;
    observer.ShowMessage(outputtext::kCouldNotOpenFile + name, caption);
  }
}
