// A temporary folder of one's own, for output that must not stay.
#pragma once

#include <string>

/// A new, empty folder below the system's temporary folder (TMPDIR),
/// removed with everything in it when the object goes.
class CScratchFolder {
 public:
  CScratchFolder();
  ~CScratchFolder();
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;
  /// The folder's absolute path; empty when it could not be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
