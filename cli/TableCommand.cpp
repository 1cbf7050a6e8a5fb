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
#include "cli/CliMappingJob.h"
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
  if (!cli.Positional().empty()) return CliUsageError("table", "unexpected argument");
  if (!cli.Has("translated")) return CliUsageError("table", "--translated is needed");
  int32_t fontType = 0;
  if (!CliFontType(cli, fontType)) return CliUsageError("table", "--font-type must be 0, 1 or 2");
  if (auto problem = CliBatchChangeProblem(cli)) return CliUsageError("table", *problem);

  CWizardChoices choices(CliSelection(cli, "translated"), CliSelection(cli, "fonts"), std::string(),
                         fontType);
  CMemoryLoadLog log;
  CCliMappingJob job(choices, log, !cli.Has("quiet"));
  if (!job.Load(cli.Has("fonts"))) {
    // The log tells why; stdout is kept for tables.
    for (const CMemoryLoadLog::Line& line : log.Lines()) PrintMessage(line.text);
    return kCliFailed;
  }
  CStderrMessageSink messages;
  const bool mapped = job.BuildTable(cli, messages);

  const CMappingTable& table = job.Table();
  const CTerminalText terminal(cli.Has("escape"));
  std::string out;
  AppendRow(out, terminal, kMappingColumnCount, [](int32_t column) { return MappingColumnHeader(column); });
  for (int32_t row = 0; row < table.RowCount(); ++row) {
    AppendRow(out, terminal, kMappingColumnCount, [&](int32_t column) -> const std::string& { return table.ColumnText(row, column); });
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return mapped ? kCliOk : kCliFailed;
}
