// The process-wide numbering of file names.
#include "model/CFileTable.h"

CFileTable& CFileTable::Process() {
  static CFileTable table;
  return table;
}

uint32_t CFileTable::FileNumberOf(std::string_view name) {
  std::lock_guard lock(mutex_);
  if (lastNumber_ != 0 && name == lastName_) return lastNumber_;
  // The canonical path, not the device and inode: the table lives as long
  // as the process, and an inode freed by a deleted file comes back for a
  // new one.
  std::string key = CanonicalPath(std::string(name));
  auto [it, added] = numbers_.try_emplace(std::move(key), static_cast<uint32_t>(names_.size() + 1));
  if (added) names_.emplace_back(name);
  lastName_.assign(name);
  lastNumber_ = it->second;
  return it->second;
}

std::string CFileTable::FileNameOf(uint32_t number) const {
  std::lock_guard lock(mutex_);
  if (number == 0 || number > names_.size()) return {};
  return names_[number - 1];
}

uint32_t CFileTable::Count() const {
  std::lock_guard lock(mutex_);
  return static_cast<uint32_t>(names_.size());
}

void CFileTable::SetStamp(uint32_t number, const CFileStamp& stamp) {
  std::lock_guard lock(mutex_);
  stamps_[number] = stamp;
}

std::optional<CFileStamp> CFileTable::StampOf(uint32_t number) const {
  std::lock_guard lock(mutex_);
  auto found = stamps_.find(number);
  if (found == stamps_.end()) return std::nullopt;
  return found->second;
}
