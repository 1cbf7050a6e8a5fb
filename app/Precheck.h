// The cheap checks made on a file before it is parsed: that it opens, that
// it starts like an Interleaf ASCII file of version 8, and that the disk
// is not about to run out of space.
#pragma once

#include <cstdint>
#include <string>

class CLoadLog;

/// Results of PrecheckFile and PrecheckMapFile.
enum PrecheckResult : int32_t {
  PrecheckPassed = 0,
  PrecheckUnreadable = 4,      ///< could not be opened or read; the reason is logged
  PrecheckNoDiskSpace = 7,     ///< too little free space for the set so far
  PrecheckNoHeader = 1000,     ///< does not begin with "<!OPS,"
  PrecheckWrongVersion = 1010  ///< no "Version = 8.0" to "8.3" in its header
};

/// Checks the Interleaf ASCII file at \p path. The file is opened for
/// exclusive reading; a failure to open or read it is logged (shown) with
/// its file error text and gives PrecheckUnreadable. Only the first 100
/// bytes, up to a zero byte, are examined. \p requiredSpace, in whole
/// megabytes, grows by this file's size in megabytes plus one; the check
/// fails when the free space of the file system of \p outputFolder (where
/// the copies will be written) is less than twice that. When the free space
/// cannot be found out, the disk check is skipped.
int32_t PrecheckFile(CLoadLog& log, const std::string& path, const std::string& outputFolder, int32_t& requiredSpace);

/// Checks that the font map file at \p path can be opened for exclusive
/// reading: PrecheckPassed or PrecheckUnreadable (with the reason logged).
int32_t PrecheckMapFile(CLoadLog& log, const std::string& path);
