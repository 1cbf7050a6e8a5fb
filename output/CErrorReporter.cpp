// Numbering and delivery of output's reports.
#include "output/CErrorReporter.h"

#include "output/CReportSink.h"

CErrorReporter& CErrorReporter::Process() {
  static CErrorReporter reporter;
  return reporter;
}

int32_t CErrorReporter::ReportError(const std::string& message, int32_t code, std::initializer_list<CErrorRef> refs) {
  lastCode_ = code;
  std::string text = message;
  int given = 0;
  for (const CErrorRef& ref : refs) {
    if (given++ == 4) break;
    if (ref.GetKind() == CErrorRef::kNone) continue;
    text += FormatText(outputtext::kReferenceLine, ref.Description());
  }
  if (recorder_ != nullptr) {
    recorder_->RecordReport(code, std::move(text));
    return 0;
  }
  return ReportNumbered(code, text);
}

int32_t CErrorReporter::ReportNumbered(int32_t code, const std::string& text) {
  lastCode_ = code;
  ++count_;
  std::string report = FormatText(outputtext::kNumberedReport, count_, text);
  if (sink_ != nullptr) sink_->AppendText(report);
  return count_;
}

void CErrorReporter::ReportLine(std::string_view text) {
  if (recorder_ != nullptr) {
    recorder_->RecordLine(text);
  } else if (sink_ != nullptr) {
    sink_->AppendText(text);
  }
}
