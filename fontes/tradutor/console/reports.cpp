// TIRLA: diagnostics of a program with a console window.
#include "console/console.h"
#include "console/keyboard.h"
#include "platform/report.h"

namespace console {
namespace {

constexpr uint16_t kAnswerSize = 256;  // the typed answer is read and dropped

void Write(void*, platform::Severity severity, std::string_view text) {
  const platform::ReportSink standard_error = platform::StandardErrorSink();
  standard_error.Write(nullptr, severity, text);
  if (ConsoleOpen()) ConsoleWrite(std::string(text) + "\r\n");
}

void Ask(void*, std::string_view text) {
  const platform::ReportSink standard_error = platform::StandardErrorSink();
  standard_error.Write(nullptr, platform::Severity::kError, text);
  if (!ConsoleOpen()) return;  // nobody could answer
  ConsoleWrite(text);
  char answer[kAnswerSize];
  ReadConsoleLine(answer, kAnswerSize);
}

}  // namespace

platform::ReportSink ConsoleReportSink() { return {.context = nullptr, .Write = Write, .Ask = Ask}; }

}  // namespace console
