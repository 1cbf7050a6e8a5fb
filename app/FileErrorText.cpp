// File failures as text, by cause code.
#include "app/FileErrorText.h"

#include <array>
#include <cstdint>

#include "platform/StringIds.h"
#include "platform/StringTable.h"

namespace {

// The text of each file failure cause, by cause code.
constexpr std::array<int32_t, 15> kFileErrorTexts = {
    IdsFileErrorNone,          IdsFileErrorGeneric,          IdsFileErrorNotFound,
    IdsFileErrorBadPath,       IdsFileErrorTooManyOpenFiles, IdsFileErrorAccessDenied,
    IdsFileErrorInvalidFile,   IdsFileErrorRemoveCurrentDir, IdsFileErrorDirectoryFull,
    IdsFileErrorBadSeek,       IdsFileErrorHardIo,           IdsFileErrorSharingViolation,
    IdsFileErrorLockViolation, IdsFileErrorDiskFull,         IdsFileErrorEndOfFile,
};

}  // namespace

std::string FileErrorText(const CFileException& failure) {
  int32_t cause = failure.GetCause();
  bool known = cause >= 0 && cause < static_cast<int32_t>(kFileErrorTexts.size());
  return LoadResString(known ? kFileErrorTexts[static_cast<size_t>(cause)] : IdsFileErrorGeneric);
}
