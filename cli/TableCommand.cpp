// typeswap-cli table: the mapping table of the translated files, with font
// map files applied: the nine column headers, then one line per row, the
// nine column texts separated by tabs and escaped as `tokens` escapes text.
#include <cstdio>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliSelection.h"
#include "cli/Commands.h"
#include "mapping/CMappingJob.h"
#include "mapping/MappingColumns.h"

namespace {

void AppendRow(std::string& out, int32_t columnCount, const auto& textOf) {
  for (int32_t column = 0; column < columnCount; ++column) {
    if (column > 0) out += '\t';
    AppendEscaped(out, textOf(column));
  }
  out += '\n';
}

}  // namespace

int RunTableCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type", "map"});
  if (!cli.ok()) return CliUsageError("table", cli.error());
  if (!cli.Positional().empty()) return CliUsageError("table", "unexpected argument");
  if (!cli.Has("translated")) return CliUsageError("table", "--translated is needed");
  int32_t fontType = 0;
  if (!CliFontType(cli, fontType)) return CliUsageError("table", "--font-type must be 0, 1 or 2");

  CWizardChoices choices(CliSelection(cli, "translated"), CliSelection(cli, "fonts"), std::string(),
                         fontType);
  CMemoryLoadLog log;
  CMappingJob job(choices, log);
  if (!job.Load(cli.Has("fonts"))) {
    // The log tells why; stdout is kept for tables.
    for (const CMemoryLoadLog::Line& line : log.Lines()) PrintMessage(line.text);
    return kCliFailed;
  }
  CStderrMessageSink messages;
  const bool mapped = job.BuildTable(cli.Values("map"), messages);

  const CMappingTable& table = job.Table();
  std::string out;
  AppendRow(out, kMappingColumnCount, [](int32_t column) { return MappingColumnHeader(column); });
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    AppendRow(out, kMappingColumnCount, [&](int32_t column) -> const std::string& { return table.ColumnText(row, column); });
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return mapped ? kCliOk : kCliFailed;
}
