// The in-memory load log.
#include "app/CMemoryLoadLog.h"

std::string CMemoryLoadLog::GetLine(int32_t index) const {
  if (index < 0 || index >= GetLineCount()) return {};
  return lines_[static_cast<size_t>(index)].text;
}

int32_t CMemoryLoadLog::Add(std::string_view text, bool shown) {
  lines_.push_back(Line{std::string(text), shown});
  return static_cast<int32_t>(lines_.size() - 1);
}
