// Lookup of embedded resources by type and name.
#include "platform/Resources.h"

#include <strings.h>

namespace {
bool SameIgnoringCase(std::string_view a, const char* b) {
  std::string_view bv(b);
  return a.size() == bv.size() && ::strncasecmp(a.data(), b, a.size()) == 0;
}
}  // namespace

std::optional<std::span<const unsigned char>> CResourceModule::Find(std::string_view type,
                                                                    std::string_view name) const {
  for (const ResourceEntry& e : entries_) {
    if (SameIgnoringCase(type, e.type) && SameIgnoringCase(name, e.name)) {
      return std::span<const unsigned char>(e.data, e.size);
    }
  }
  return std::nullopt;
}
