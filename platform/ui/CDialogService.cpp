// The current dialog service and the filter text helper.
#include "platform/ui/CDialogService.h"

#include "platform/ui/CQtDialogService.h"

namespace {
CDialogService* g_installed = nullptr;
}  // namespace

CDialogService::~CDialogService() = default;

CDialogService& CDialogService::Current() {
  static CQtDialogService real;
  return g_installed ? *g_installed : real;
}

void CDialogService::Install(CDialogService* service) { g_installed = service; }

std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string::npos) bar = filter.size();
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  // Pairs end at the first empty description (the "||" that closes the text).
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
    pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

std::string ExtensionWithoutDot(const std::string& extension) {
  return extension.empty() || extension[0] != '.' ? extension : extension.substr(1);
}
