// Writing the load log to a file.
#include "app/SaveLoadLog.h"

#include "app/CLoadLog.h"
#include "app/FileErrorText.h"
#include "platform/CSafeFileWriter.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

void SaveLoadLog(const CLoadLog& log, const std::string& path) {
  CSafeFileWriter file;
  int error = file.Create(path);
  // The count is read again before each line, as the log may still grow.
  for (int32_t i = 0; error == 0 && i < log.GetLineCount(); ++i) error = file.Write(log.GetLine(i) + "\r\n");
  if (error == 0) error = file.Commit();
  if (error != 0) CFileException::ThrowErrno(error, path);
}

std::string SaveFailureText(const CFileException& failure, const std::string& path) {
  return FileErrorText(failure) + "\n\r" + LoadResString(IdsFileNameLabel) + path;
}
