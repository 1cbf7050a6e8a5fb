// A temporary folder made with mkdtemp and removed at the end.
#include "output/CScratchFolder.h"

#include <stdlib.h>

#include <filesystem>

CScratchFolder::CScratchFolder() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = "/tmp";
  std::string pattern = (base / "typeswap-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

CScratchFolder::~CScratchFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}
