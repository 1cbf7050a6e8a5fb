// A set of character codes kept as sorted ranges.
#include "tools/lexgen/CodeSet.h"

#include <algorithm>
#include <cstdio>

#include "reader/LexTableFormat.h"

CodeSet CodeSet::Range(uint32_t low, uint32_t high) {
  CodeSet s;
  s.Add(low, high);
  return s;
}

CodeSet CodeSet::All() { return Range(0, LexTableFormat::kHighestCharCode); }

void CodeSet::Add(uint32_t low, uint32_t high) {
  if (low > high) return;
  ranges_.push_back({low, high});
  std::sort(ranges_.begin(), ranges_.end());
  std::vector<CodeRange> merged;
  for (const CodeRange& r : ranges_) {
    if (!merged.empty() && r.low <= merged.back().high + 1) {
      merged.back().high = std::max(merged.back().high, r.high);
    } else {
      merged.push_back(r);
    }
  }
  ranges_ = std::move(merged);
}

void CodeSet::Add(const CodeSet& other) {
  for (const CodeRange& r : other.ranges_) Add(r.low, r.high);
}

CodeSet CodeSet::Complement() const {
  CodeSet out;
  uint32_t next = 0;
  for (const CodeRange& r : ranges_) {
    if (r.low > next) out.ranges_.push_back({next, r.low - 1});
    next = r.high + 1;
  }
  if (next <= LexTableFormat::kHighestCharCode) {
    out.ranges_.push_back({next, LexTableFormat::kHighestCharCode});
  }
  return out;
}

bool CodeSet::Contains(uint32_t code) const {
  auto it =
      std::upper_bound(ranges_.begin(), ranges_.end(), code, [](uint32_t c, const CodeRange& r) { return c < r.low; });
  return it != ranges_.begin() && std::prev(it)->high >= code;
}

std::string DescribeCode(uint32_t code) {
  char buf[16];
  if (code > 0xFF) {
    std::snprintf(buf, sizeof buf, "0x%X", code);
  } else if (code == '\n') {
    return "\\n";
  } else if (code == '\t') {
    return "\\t";
  } else if (code == '\\' || code == ']' || code == '-' || code == '^') {
    return std::string("\\") + static_cast<char>(code);
  } else if (code < 0x20 || code >= 0x7F) {
    std::snprintf(buf, sizeof buf, "\\x%02X", code);
  } else {
    return std::string(1, static_cast<char>(code));
  }
  return buf;
}

std::string CodeSet::Describe() const {
  std::string out = "[";
  for (const CodeRange& r : ranges_) {
    out += DescribeCode(r.low);
    if (r.high != r.low) out += (r.high == r.low + 1 ? "" : "-") + DescribeCode(r.high);
  }
  return out + "]";
}
