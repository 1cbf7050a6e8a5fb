// A file of the fuzzer's own that each input is written to, for the readers
// that only take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Writes \p size bytes at \p data to the file \p name in this process's
/// scratch directory (made on first use, removed at exit) and returns its
/// path. The file is made on first use and rewritten in place after that.
const std::string& WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);
