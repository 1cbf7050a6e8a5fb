// Selection options of the command line.
#include "cli/CliSelection.h"

#include "cli/CliArgs.h"

std::string CliSelection(const CCliArgs& cli, std::string_view option) {
  std::string selection;
  for (const std::string& value : cli.Values(option)) {
    selection += value;
    if (!value.empty() && value.back() != ';') selection += ';';
  }
  return selection;
}

bool CliFontType(const CCliArgs& cli, int32_t& type) {
  const std::string text = cli.Value("font-type", "0");
  if (text != "0" && text != "1" && text != "2") return false;
  type = text[0] - '0';
  return true;
}
