// Console output of typeswap-cli's table and run commands.
#include "cli/CliConsole.h"

#include <unistd.h>

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
  PrintLine(text);
  return CMemoryLoadLog::AppendShown(text);
}

int32_t CPrintingLoadLog::AppendPlain(std::string_view text) {
  PrintLine(text);
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

CConsoleOutputObserver::CConsoleOutputObserver() : terminal_(::isatty(STDERR_FILENO) != 0) {}

void CConsoleOutputObserver::ShowProgress(const std::string& fileName, int32_t currentPercent,
                                          int32_t totalPercent) {
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
