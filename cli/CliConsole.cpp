// Console output of typeswap-cli's table and run commands.
#include "cli/CliConsole.h"

#include <unistd.h>

#include <filesystem>

#include "app/NextField.h"
#include "platform/StringIds.h"
#include "platform/StringTable.h"

void PrintMessage(std::string_view text) {
  std::string line;
  line.reserve(text.size() + 1);
  for (char c : text) {
    if (c != '\r') line += c;
  }
  if (line.empty() || line.back() != '\n') line += '\n';
  std::fflush(stdout);  // keeps the message after the lines that led to it
  std::fwrite(line.data(), 1, line.size(), stderr);
}

namespace {
void PrintLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}
}  // namespace

int32_t CPrintingLoadLog::AppendShown(std::string_view text) {
  if (print_) PrintLine(text);
  return CMemoryLoadLog::AppendShown(text);
}

int32_t CPrintingLoadLog::AppendPlain(std::string_view text) {
  if (print_) PrintLine(text);
  return CMemoryLoadLog::AppendPlain(text);
}

void CStdoutReportSink::AppendText(std::string_view text) {
  std::string out(text);
  // A numbered report ("\n[1]  " and its message) whose message opens with
  // a line break would leave the number alone on its line.
  if (out.size() > 1 && out[0] == '\n' && out[1] == '[') {
    size_t mark = out.find("]  ");
    if (mark != std::string::npos && mark + 3 < out.size() && out[mark + 3] == '\n') out.erase(mark + 3, 1);
  }
  // Some messages have no line end; the next line must not run on.
  if (!out.empty() && out.back() != '\n') out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stdout);
}

CConsoleOutputObserver::CConsoleOutputObserver(bool quiet) : terminal_(!quiet && ::isatty(STDERR_FILENO) != 0) {}

void CConsoleOutputObserver::ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) {
  if (!terminal_) return;
  if (fileName.empty()) {
    ClearProgress();
    return;
  }
  std::fflush(stdout);
  std::fprintf(stderr, "\r\033[K%3d%% of all, %3d%% of %s", totalPercent, currentPercent, fileName.c_str());
  shown_ = true;
}

void CConsoleOutputObserver::ShowMessage(const std::string& text, const std::string& caption) {
  ClearProgress();
  PrintMessage(text);
}

void CConsoleOutputObserver::ClearProgress() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  shown_ = false;
}

CProgressLoadLog::CProgressLoadLog(CLoadLog& target, const std::vector<std::string>& selections, bool show)
    : target_(target), show_(show && ::isatty(STDERR_FILENO) != 0), processing_(LoadResString(IdsLogProcessing)) {
  if (!show_) return;
  for (const std::string& selection : selections) {
    std::string rest = selection;
    std::string path;
    while (NextField(";", path, rest)) {
      if (path.empty()) continue;
      std::error_code error;
      const uintmax_t size = std::filesystem::file_size(path, error);
      sizes_.push_back(error ? 0 : size);
      total_ += sizes_.back();
    }
  }
}

// The progress line goes away while the target may print the line, and
// comes back below it.
int32_t CProgressLoadLog::AppendShown(std::string_view text) {
  Clear();
  const int32_t index = target_.AppendShown(text);
  Notice(text);
  return index;
}

int32_t CProgressLoadLog::AppendPlain(std::string_view text) {
  Clear();
  const int32_t index = target_.AppendPlain(text);
  Notice(text);
  return index;
}

void CProgressLoadLog::Notice(std::string_view text) {
  if (!show_) return;
  if (text.substr(0, processing_.size()) == processing_) {
    if (next_ > 0 && next_ <= sizes_.size()) done_ += sizes_[next_ - 1];
    ++next_;
  }
  if (next_ == 0) return;
  const int percent = total_ == 0 ? 0 : static_cast<int>(done_ * 100 / total_);
  std::fflush(stdout);
  std::fprintf(stderr, "\r\033[Kloading file %zu of %zu, %3d%%", next_, sizes_.size(), percent);
  std::fflush(stderr);
  shown_ = true;
}

void CProgressLoadLog::Clear() {
  if (!shown_) return;
  std::fputs("\r\033[K", stderr);
  shown_ = false;
}
