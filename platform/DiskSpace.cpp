// Free disk space through statvfs, with a replaceable query for tests.
#include "platform/DiskSpace.h"

#include <sys/statvfs.h>

namespace {
FreeDiskSpaceQuery& Query() {
  static FreeDiskSpaceQuery query;
  return query;
}
}  // namespace

std::optional<uint64_t> FreeDiskSpace(const std::string& folder) {
  if (Query()) return Query()(folder);
  // An output folder that does not exist yet will be made on the file
  // system of its nearest existing ancestor.
  std::string at = folder.empty() ? "." : folder;
  for (;;) {
    struct statvfs st {};
    if (::statvfs(at.c_str(), &st) == 0) {
      return static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
    }
    while (at.size() > 1 && at.back() == '/') at.pop_back();
    size_t slash = at.rfind('/');
    if (slash == std::string::npos) {
      if (at == ".") return std::nullopt;
      at = ".";
    } else if (slash == 0) {
      if (at == "/") return std::nullopt;
      at = "/";
    } else {
      at.resize(slash);
    }
  }
}

FreeDiskSpaceQuery SetFreeDiskSpaceQuery(FreeDiskSpaceQuery query) {
  FreeDiskSpaceQuery previous = std::move(Query());
  Query() = std::move(query);
  return previous;
}
