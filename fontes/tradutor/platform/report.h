// TIRLA: the one way diagnostics leave the program. Each program sets where they go: standard
// error for the command-line programs, the console window for tirla, a log for a module whose
// standard output belongs to a protocol.
#pragma once
#include <string_view>

namespace platform {

enum class Severity { kNote, kWarning, kError };

// Where reports go. Every entry may be null: a missing Write drops the text, a missing Ask
// writes the question like a report and does not wait.
struct ReportSink {
  void* context = nullptr;
  // Shows one report (cp1252, no line end).
  void (*Write)(void* context, Severity severity, std::string_view text) = nullptr;
  // Shows a question (cp1252) and waits for the user's answer (a typed line in the console).
  void (*Ask)(void* context, std::string_view text) = nullptr;
};

// Names the program in reports written to standard error ("orvia: ..."); "tirla" by default.
void SetReportProgram(std::string_view name);

// Sends reports to `sink`; SetStandardErrorSink() puts the default back.
void SetReportSink(const ReportSink& sink);
void SetStandardErrorSink();

// Reports `text` (cp1252).
void Report(Severity severity, std::string_view text);

// Reports `text` (cp1252) and, where the sink can, waits for the user to answer.
void ReportAndAsk(std::string_view text);

// The sink that writes "<program>: <text>" in UTF-8 to standard error.
ReportSink StandardErrorSink();

}  // namespace platform
