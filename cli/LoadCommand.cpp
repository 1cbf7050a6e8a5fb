// typeswap-cli load: the load page's Start on the command line. Prints the
// load log, the final state, every reference of both models and their
// family and size lists, one tab-separated item per line.
#include <cstdio>
#include <memory>
#include <string>

#include "app/CLoadSession.h"
#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "cli/CliArgs.h"
#include "cli/CliSelection.h"
#include "cli/CliTableLoad.h"
#include "cli/Commands.h"
#include "cli/ProcessEnd.h"
#include "model/CFontReferenceList.h"

namespace {

void AppendField(std::string& out, std::string_view text) {
  out += '\t';
  AppendEscaped(out, text);
}

void AppendNumber(std::string& out, int64_t value) {
  out += '\t';
  out += std::to_string(value);
}

void AppendReference(std::string& out, std::string_view set, int32_t index, const CFontReference& reference) {
  const CTextPiece& piece = reference.GetPiece();
  out += "REF";
  AppendField(out, set);
  AppendNumber(out, index);
  AppendField(out, reference.GetCategory());
  AppendField(out, reference.GetComponent());
  AppendNumber(out, reference.GetKind());
  AppendField(out, reference.GetFontKey());
  AppendField(out, reference.GetFamily());
  AppendField(out, reference.GetSize());
  AppendField(out, reference.GetBold());
  AppendField(out, reference.GetItalic());
  AppendField(out, piece.GetFileName());
  AppendField(out, std::to_string(piece.GetStartLine()) + ':' + std::to_string(piece.GetStartColumn()) + '-' +
                       std::to_string(piece.GetEndLine()) + ':' + std::to_string(piece.GetEndColumn()));
  AppendField(out, piece.GetText());
  out += '\n';
}

void AppendList(std::string& out, std::string_view set, std::string_view name, const CUniqueTextList& list) {
  std::string joined;
  for (const std::string& entry : list) {
    joined += entry;
    joined += ';';
  }
  out += "MODEL";
  AppendField(out, set);
  AppendField(out, name);
  AppendField(out, joined);
  out += '\n';
}

void AppendModel(std::string& out, std::string_view set, const CFontReferenceList& model) {
  for (int32_t i = 0; i < model.Count(); ++i) {
    AppendReference(out, set, i, *model.GetAt(i));
    if (out.size() >= 1 << 16) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  out += "MODEL";
  AppendField(out, set);
  AppendField(out, "highestFontNumber");
  AppendField(out, model.GetHighestFontNumber());
  out += '\n';
  AppendList(out, set, "definedFamilies", model.DefinedFamilies());
  AppendList(out, set, "namedFamilies", model.NamedFamilies());
  AppendList(out, set, "fontSizes", model.FontSizes());
}

}  // namespace

int RunLoadCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type"});
  if (!cli.ok()) return CliUsageError("load", cli.error());
  if (!cli.Positional().empty()) return CliUsageError("load", "unexpected argument");
  if (!cli.Has("translated")) return CliUsageError("load", "--translated is needed");
  int32_t fontType = 0;
  if (!CliFontType(cli, fontType)) return CliUsageError("load", "--font-type must be 0, 1 or 2");

  CWizardChoices choices(CliSelection(cli, "translated"), CliSelection(cli, "fonts"), std::string(), fontType);
  CMemoryLoadLog log;
  // Left to the end of the process once printed: see LeaveToProcessEnd.
  auto session = std::make_unique<CLoadSession>(choices, log);
  session->SetLoadThreads(CliLoadThreads());
  session->Start(cli.Has("fonts"));

  std::string out;
  for (const CMemoryLoadLog::Line& line : log.Lines()) {
    out += "LOG";
    AppendField(out, line.text);
    out += '\n';
  }
  bool finished = session->State() == LoadState::Finished;
  out += finished ? "STATE\tfinished\n" : "STATE\tfailed\n";
  AppendModel(out, "translated", session->TranslatedModel());
  AppendModel(out, "fonts", session->FontModel());
  std::fwrite(out.data(), 1, out.size(), stdout);
  const int status = finished && !session->AnyFileFailed() ? kCliOk : kCliFailed;
  LeaveToProcessEnd(std::move(session));
  return status;
}
