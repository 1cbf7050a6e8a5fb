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
  ++count_;
  std::string report = FormatText(outputtext::kNumberedReport, count_, text);
  if (sink_ != nullptr) sink_->AppendText(report);
  return count_;
}

void CErrorReporter::ReportLine(std::string_view text) {
  if (sink_ != nullptr) sink_->AppendText(text);
}
