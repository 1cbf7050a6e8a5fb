// The shared operations of the wizard and the loading code.
#include "app/SharedOperations.h"

#include <array>
#include <atomic>

#include "app/CLoadLog.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// The text of each file failure cause, by cause code.
constexpr std::array<int32_t, 15> kFileErrorTexts = {
    IdsFileErrorNone,           IdsFileErrorGeneric,        IdsFileErrorNotFound,
    IdsFileErrorBadPath,        IdsFileErrorTooManyOpenFiles, IdsFileErrorAccessDenied,
    IdsFileErrorInvalidFile,    IdsFileErrorRemoveCurrentDir, IdsFileErrorDirectoryFull,
    IdsFileErrorBadSeek,        IdsFileErrorHardIo,         IdsFileErrorSharingViolation,
    IdsFileErrorLockViolation,  IdsFileErrorDiskFull,       IdsFileErrorEndOfFile,
};

std::atomic<uint8_t> stopFlag{0};

}  // namespace

int32_t AppendLogLine(CLoadLog& log, std::string_view text) { return log.AppendShown(text); }

bool NextField(std::string_view separator, std::string& field, std::string& rest) {
  if (rest.empty()) return false;
  size_t at = separator.empty() ? std::string::npos : rest.find(separator);
  if (at == std::string::npos) {
    field.swap(rest);
    rest.clear();
  } else {
    field.assign(rest, 0, at);
    rest.erase(0, at + separator.size());
  }
  return true;
}

std::string FileErrorText(const CFileException& failure) {
  int32_t cause = failure.GetCause();
  bool known = cause >= 0 && cause < static_cast<int32_t>(kFileErrorTexts.size());
  return LoadResString(known ? kFileErrorTexts[static_cast<size_t>(cause)] : IdsFileErrorGeneric);
}

uint8_t GetStopFlag() { return stopFlag.load(std::memory_order_relaxed); }

void SetStopFlag(uint8_t value) { stopFlag.store(value, std::memory_order_relaxed); }
