// The process-wide numbering of file names.
#include "model/CFileTable.h"

#include "platform/CodePage.h"

namespace {

// Upper-cases ASCII letters only, leaving both bytes of a double-byte
// character alone (a trail byte may look like a lower-case letter).
std::string UpperCaseKey(std::string_view name) {
  std::string key(name);
  for (size_t i = 0; i < key.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(key[i]);
    if (IsLeadByte(c)) {
      ++i;
    } else if (c >= 'a' && c <= 'z') {
      key[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return key;
}

}  // namespace

CFileTable& CFileTable::Process() {
  static CFileTable table;
  return table;
}

uint32_t CFileTable::FileNumberOf(std::string_view name) {
  std::lock_guard lock(mutex_);
  if (lastNumber_ != 0 && name == lastName_) return lastNumber_;
  std::string key = UpperCaseKey(name);
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
