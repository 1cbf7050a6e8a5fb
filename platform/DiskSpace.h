// Free space of the file system that holds a folder.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

/// Bytes free to this process on the file system that holds \p folder, or
/// its nearest existing ancestor when the folder does not exist yet (64-bit,
/// so sizes above 4 GB are exact); nothing when the system cannot tell.
std::optional<uint64_t> FreeDiskSpace(const std::string& folder);

/// Replaces the question FreeDiskSpace asks the system; an empty function
/// restores the system's answer. Tests use it to play a nearly full disk.
/// Returns the query that was installed before.
using FreeDiskSpaceQuery = std::function<std::optional<uint64_t>(const std::string& folder)>;
FreeDiskSpaceQuery SetFreeDiskSpaceQuery(FreeDiskSpaceQuery query);
