// The record of one file that an output run wrote.
#pragma once

#include <optional>
#include <string>

#include "platform/FileIdentity.h"

/// A file that a run wrote completely: the input and the output made from it.
struct COutputRecord {
  std::string inputName;
  std::string outputName;
  /// The output as the run left it, so that a later step touches only the
  /// file the run wrote, not one another program put there since.
  std::optional<CFileStamp> stamp;
};
