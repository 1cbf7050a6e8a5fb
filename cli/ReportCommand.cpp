// typeswap-cli report: where each font is used, as data. One record per
// font reference of the translated files, oldest first, after the map
// files and batch changes: its file, line and column, what it is, its
// current font and its new one. Tab-separated, CSV or JSON.
#include <array>
#include <cstdio>
#include <string>

#include "app/CMemoryLoadLog.h"
#include "app/CWizardChoices.h"
#include "cli/CTerminalText.h"
#include "cli/CliArgs.h"
#include "cli/CliConsole.h"
#include "cli/CliTableLoad.h"
#include "cli/Commands.h"
#include "model/CFontReferenceList.h"
#include "platform/CodePage.h"

namespace {

constexpr std::array<const char*, 14> kFields = {"file",      "line",    "column",  "category", "component",
                                                 "kind",      "family",  "size",    "bold",     "italic",
                                                 "newFamily", "newSize", "newBold", "newItalic"};

enum class ReportFormat { Tsv, Csv, Json };

const char* KindName(int32_t kind) {
  switch (kind) {
    case KindComponent:
      return "component";
    case KindSubcomponent:
      return "subcomponent";
    case KindComponentPrefix:
      return "component prefix";
    case KindSubcomponentPrefix:
      return "subcomponent prefix";
    default:
      return "none";
  }
}

/// A record's texts; file name and numbers are not document text and are
/// never converted.
struct Record {
  std::array<std::string, kFields.size()> values;
  static bool IsDocumentText(size_t field) { return field >= 3; }  // category .. newItalic
  static bool IsNumber(size_t field) { return field == 1 || field == 2; }
};

Record RecordOf(const CFontReference& reference) {
  const CTextPiece& piece = reference.GetPiece();
  return {{piece.GetFileName(), std::to_string(piece.GetStartLine()), std::to_string(piece.GetStartColumn()),
           reference.GetCategory(), reference.GetComponent(), KindName(reference.GetKind()), reference.GetFamily(),
           reference.GetSize(), reference.GetBold(), reference.GetItalic(), reference.GetNewFamily(),
           reference.GetNewSize(), reference.GetNewBold(), reference.GetNewItalic()}};
}

// A file name as the shell gave it: only what would break the line is escaped.
void AppendFileName(std::string& out, std::string_view name) {
  for (char ch : name) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\' || c < 0x20 || c == 0x7F)
      AppendEscaped(out, std::string_view(&ch, 1));
    else
      out += ch;
  }
}

void AppendCsvField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"") == std::string::npos && (text.empty() || (text.front() != ' ' && text.back() != ' '))) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void AppendJsonString(std::string& out, std::string_view text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += ch;
    } else if (c < 0x20) {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += ch;
    }
  }
  out += '"';
}

/// Writes the records of one model in one format.
class CReportWriter {
 public:
  CReportWriter(ReportFormat format, bool escape)
      : format_(format), escape_(escape), terminal_(escape), utf8_(IconvNameOfCodePage(ProcessCodePage()), "UTF-8") {}

  void Begin() {
    if (format_ == ReportFormat::Json) {
      out_ += '[';
      return;
    }
    for (size_t field = 0; field < kFields.size(); ++field) {
      if (field > 0) out_ += Separator();
      out_ += kFields[field];
    }
    out_ += '\n';
  }

  void Add(const Record& record) {
    if (format_ == ReportFormat::Json)
      AddJson(record);
    else
      AddLine(record);
    if (out_.size() >= 1 << 16) Flush();
  }

  void End() {
    if (format_ == ReportFormat::Json) out_ += first_ ? "]\n" : "\n]\n";
    Flush();
  }

 private:
  char Separator() const { return format_ == ReportFormat::Csv ? ',' : '\t'; }

  void AddLine(const Record& record) {
    for (size_t field = 0; field < kFields.size(); ++field) {
      if (field > 0) out_ += Separator();
      std::string text;
      if (Record::IsDocumentText(field))
        terminal_.AppendField(text, record.values[field]);
      else
        AppendFileName(text, record.values[field]);
      if (format_ == ReportFormat::Csv)
        AppendCsvField(out_, text);
      else
        out_ += text;
    }
    out_ += '\n';
  }

  void AddJson(const Record& record) {
    out_ += first_ ? "\n  {" : ",\n  {";
    first_ = false;
    for (size_t field = 0; field < kFields.size(); ++field) {
      if (field > 0) out_ += ", ";
      AppendJsonString(out_, kFields[field]);
      out_ += ": ";
      const std::string& value = record.values[field];
      if (Record::IsNumber(field)) {
        out_ += value;
        continue;
      }
      std::string text;
      if (Record::IsDocumentText(field) && (escape_ || !utf8_.Convert(value, text))) {
        text.clear();
        AppendEscaped(text, value);
      } else if (!Record::IsDocumentText(field)) {
        text = value;
      }
      AppendJsonString(out_, text);
    }
    out_ += '}';
  }

  void Flush() {
    std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
  }

  ReportFormat format_;
  bool escape_;
  CTerminalText terminal_;
  CCodePageConverter utf8_;
  std::string out_;
  bool first_ = true;
};

}  // namespace

int RunReportCommand(std::span<char* const> args) {
  CCliArgs cli(args, {"translated", "fonts", "font-type", "map", "family", "component", "format"}, {"escape", "quiet"});
  if (!cli.ok()) return CliUsageError("report", cli.error());
  const std::string formatName = cli.Value("format", "tsv");
  ReportFormat format = ReportFormat::Tsv;
  if (formatName == "csv")
    format = ReportFormat::Csv;
  else if (formatName == "json")
    format = ReportFormat::Json;
  else if (formatName != "tsv")
    return CliUsageError("report", "--format must be tsv, csv or json");
  CCliTableLoad load(cli, "report");
  if (!load.HasTable()) return load.Status();

  const CFontReferenceList& model = load.Job().Session().TranslatedModel();
  CReportWriter writer(format, cli.Has("escape"));
  writer.Begin();
  for (int32_t i = 0; i < model.Count(); ++i) writer.Add(RecordOf(*model.GetAt(i)));
  writer.End();
  return load.Status();
}
