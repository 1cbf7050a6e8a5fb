// Free space of the file system of the process's current directory.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

/// Bytes free to this process on the file system that holds the current
/// directory (64-bit, so sizes above 4 GB are exact), or nothing when the
/// system cannot tell.
std::optional<uint64_t> FreeDiskSpace();

/// Replaces the question FreeDiskSpace asks the system; an empty function
/// restores the system's answer. Tests use it to play a nearly full disk.
/// Returns the query that was installed before.
using FreeDiskSpaceQuery = std::function<std::optional<uint64_t>()>;
FreeDiskSpaceQuery SetFreeDiskSpaceQuery(FreeDiskSpaceQuery query);
