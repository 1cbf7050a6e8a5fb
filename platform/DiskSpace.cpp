// Free disk space through statvfs, with a replaceable query for tests.
#include "platform/DiskSpace.h"

#include <sys/statvfs.h>

namespace {
FreeDiskSpaceQuery& Query() {
  static FreeDiskSpaceQuery query;
  return query;
}
}  // namespace

std::optional<uint64_t> FreeDiskSpace() {
  if (Query()) return Query()();
  struct statvfs st {};
  if (::statvfs(".", &st) != 0) return std::nullopt;
  return static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
}

FreeDiskSpaceQuery SetFreeDiskSpaceQuery(FreeDiskSpaceQuery query) {
  FreeDiskSpaceQuery previous = std::move(Query());
  Query() = std::move(query);
  return previous;
}
