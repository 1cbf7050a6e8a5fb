// The list of typeswap-cli's commands.
#include "cli/Commands.h"

int RunTokensCommand(std::span<char* const> args);      // cli/TokensCommand.cpp
int RunReductionsCommand(std::span<char* const> args);  // cli/ReductionsCommand.cpp
int RunLoadCommand(std::span<char* const> args);        // cli/LoadCommand.cpp
int RunTableCommand(std::span<char* const> args);       // cli/TableCommand.cpp
int RunRunCommand(std::span<char* const> args);         // cli/RunCommand.cpp
int RunReportCommand(std::span<char* const> args);      // cli/ReportCommand.cpp

std::span<const CliCommand> CliCommands() {
  static const CliCommand kCommands[] = {
      {"tokens", "[--codepage N] FILE", "prints the tokens the reader's lexer finds in FILE", RunTokensCommand},
      {"reductions", "[--codepage N] [--trace] FILE",
       "prints the number of every production the reader's parser reduces in FILE, then its result",
       RunReductionsCommand},
      {"load", "[--codepage N] --translated SEL [--fonts SEL] [--font-type 0|1|2]",
       "loads the selected files as the load page does; prints the log, the state and both models", RunLoadCommand},
      {"table",
       "[--codepage N] --translated SEL [--fonts SEL] [--font-type N] [--map FILE]... "
       "[--family OLD=NEW]... [--component NAME=NEW]... [--escape] [--quiet]",
       "loads, builds the mapping table, applies each map file, then each --family and --component in "
       "order; prints the column headers and one line per row, tab-separated (exit 1 when loading or a "
       "map failed)",
       RunTableCommand},
      {"report",
       "[--codepage N] [--format tsv|csv|json] --translated SEL [--fonts SEL] [--font-type N] "
       "[--map FILE]... [--family OLD=NEW]... [--component NAME=NEW]... [--escape] [--quiet]",
       "as table, but one record per font reference: file, line, column, category, component, kind, "
       "family, size, bold, italic, newFamily, newSize, newBold, newItalic (JSON: an array of objects, "
       "texts in UTF-8)",
       RunReportCommand},
      {"run",
       "[--codepage N] --translated SEL --fonts SEL [--font-type N] --out DIR [--map FILE]... "
       "[--family OLD=NEW]... [--component NAME=NEW]... [--save-map FILE] [--euc] [--dry-run] "
       "[--no-verify] [--escape] [--quiet]",
       "checks, loads, maps and writes the rewritten files into DIR, printing the load log and the "
       "run's reports, reads each written file again to check its fonts (not with --no-verify); ends "
       "with \"Finished processing.\" (exit 1 when loading, a map, a file or a check failed, 2 when a "
       "choice was wrong). --dry-run writes nothing and prints the changes as unified diffs",
       RunRunCommand},
  };
  return kCommands;
}
