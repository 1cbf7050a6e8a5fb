// Helpers for the loading tests: a model written out in full for exact
// comparisons, log texts, test documents, and stand-ins for the disk and
// the message pump.
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

using Lines = std::vector<std::string>;

/// Every field of \p model that loading can change, one item per line.
std::string Dump(const CFontReferenceList& model);
/// The texts of the log's lines.
Lines Texts(const CMemoryLoadLog& log);
/// The path of a test document of tests/app/data.
std::string DataFile(const std::string& name);

/// While it lives: a disk with \p megabytes free, and \p pump as the
/// message pump (the stop flag is cleared on both ends).
class Stage {
 public:
  explicit Stage(std::optional<uint64_t> megabytes, MessagePumpHook pump = nullptr);
  ~Stage();
  Stage(const Stage&) = delete;
  Stage& operator=(const Stage&) = delete;

 private:
  FreeDiskSpaceQuery previousQuery_;
  MessagePumpHook previousPump_;
};

}  // namespace loadtest
