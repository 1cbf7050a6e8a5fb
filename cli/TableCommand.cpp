// typeswap-cli table: the mapping table of the translated files, with font
// map files and batch changes applied: the nine column headers, then one
// line per row, the nine column texts separated by tabs, in the terminal's
// character set (escaped as `tokens` escapes text where it cannot show them).
#include <cstdio>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "cli/CTerminalText.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliTableLoad.h"
#include "cli/Commands.h"
#include "mapping/MappingColumns.h"

namespace {

void AppendRow(std::string& out, const CTerminalText& terminal, int32_t columnCount, const auto& textOf) {
  for (int32_t column = 0; column < columnCount; ++column) {
    if (column > 0) out += '\t';
    terminal.AppendField(out, textOf(column));
  }
  out += '\n';
}

}  // namespace

int RunTableCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type", "map", "family", "component"}, {"escape", "quiet"});
  if (!cli.ok()) return CliUsageError("table", cli.error());
  CCliTableLoad load(cli, "table");
  if (!load.HasTable()) return load.Status();

  const CMappingTable& table = load.Job().Table();
  const CTerminalText terminal(cli.Has("escape"));
  std::string out;
  AppendRow(out, terminal, kMappingColumnCount, [](int32_t column) { return MappingColumnHeader(column); });
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    AppendRow(out, terminal, kMappingColumnCount,
              [&](int32_t column) -> const std::string& { return table.ColumnText(row, column); });
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return load.Status();
}
