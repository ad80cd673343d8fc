// TIRLA: diagnostics to the program's chosen sink.
#include "platform/report.h"

#include <cstdio>
#include <string>

#include "platform/codepage.h"

namespace platform {
namespace {

struct ReportState {
  std::string program = "tirla";  // name written before reports on standard error
  ReportSink sink = StandardErrorSink();
};

ReportState& State() {
  static ReportState state;
  return state;
}

void WriteToStandardError(void*, Severity, std::string_view text) {
  const std::string line = State().program + ": " + Cp1252ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace

ReportSink StandardErrorSink() { return ReportSink{nullptr, WriteToStandardError, nullptr}; }

void SetReportProgram(std::string_view name) { State().program = name; }

void SetReportSink(const ReportSink& sink) { State().sink = sink; }

void SetStandardErrorSink() { State().sink = StandardErrorSink(); }

void Report(Severity severity, std::string_view text) {
  const ReportSink& sink = State().sink;
  if (sink.Write) sink.Write(sink.context, severity, text);
}

void ReportAndAsk(std::string_view text) {
  const ReportSink sink = State().sink;
  if (sink.Ask)
    sink.Ask(sink.context, text);
  else
    Report(Severity::kError, text);
}

}  // namespace platform
