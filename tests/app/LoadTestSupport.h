// Helpers for the loading tests: a model written out in full for exact
// comparisons, the test documents, and stand-ins for the disk and the pump.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/CMemoryLoadLog.h"
#include "platform/DiskSpace.h"
#include "platform/MessagePump.h"

class CFontReferenceList;

namespace loadtest {

/// Every field of \p model that loading can change, one item per line.
std::string Dump(const CFontReferenceList& model);

/// The texts of the log's lines from \p first on.
std::vector<std::string> Texts(const CMemoryLoadLog& log, size_t first = 0);

/// A test document of tests/app/data.
std::string DataFile(const std::string& name);

/// Plays a disk with \p megabytes free (nothing: unknown) while it lives.
class FreeSpace {
 public:
  explicit FreeSpace(std::optional<uint64_t> megabytes);
  ~FreeSpace();
  FreeSpace(const FreeSpace&) = delete;
  FreeSpace& operator=(const FreeSpace&) = delete;

 private:
  FreeDiskSpaceQuery previous_;
};

/// Installs \p pump as the message pump while it lives; clears the stop
/// flag on both ends.
class PumpHook {
 public:
  explicit PumpHook(MessagePumpHook pump);
  ~PumpHook();
  PumpHook(const PumpHook&) = delete;
  PumpHook& operator=(const PumpHook&) = delete;

 private:
  MessagePumpHook previous_;
};

}  // namespace loadtest
