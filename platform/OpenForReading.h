// Opening a file for reading that is sure to be a regular file, so that no
// read hangs on a FIFO or runs without end on a device.
#pragma once

#include <string>

/// Opens the regular file at \p path for reading (close-on-exec) and puts
/// the descriptor in \p fd. Returns 0, or the errno: EISDIR for a folder,
/// EACCES for anything else that is no regular file (a device such as
/// /dev/zero, a FIFO, a socket).
[[nodiscard]] int OpenForReading(const std::string& path, int& fd);
