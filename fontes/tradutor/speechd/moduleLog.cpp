// TIRLA: the module's log lines: time stamp, program name, text.
#include "speechd/moduleLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/codepage.h"
#include "platform/report.h"

namespace sdOrvia {
namespace {

struct LogState {
  int level = kLogNotes;
  FILE* debug = nullptr;  // DEBUG ON's file: every line
};

LogState& State() {
  static LogState state;
  return state;
}

// By platform::Severity.
constexpr int kSeverityLevels[] = {kLogNotes, kLogWarnings, kLogErrors};

void WriteReport(void*, platform::Severity severity, std::string_view text) {
  Log(kSeverityLevels[static_cast<int>(severity)], platform::Cp1252ToUtf8(text));
}

std::string Stamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const long millis = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[48];
  const size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  std::snprintf(text + n, sizeof text - n, ".%03ld", millis);
  return text;
}

}  // namespace

void StartModuleLog() {
  StopDebugLog();
  State().level = kLogNotes;
  platform::SetReportSink({.context = nullptr, .Write = WriteReport, .Ask = nullptr});
}

void SetLogLevel(int level) { State().level = std::clamp(level, 0, kLogEverything); }

bool StartDebugLog(const std::string& path) {
  StopDebugLog();
  State().debug = std::fopen(path.c_str(), "a");
  return State().debug != nullptr;
}

void StopDebugLog() {
  if (State().debug) std::fclose(State().debug);
  State().debug = nullptr;
}

bool Logging(int level) { return level <= State().level || State().debug; }

void Log(int level, std::string_view utf8) {
  if (!Logging(level)) return;
  const std::string line = "[" + Stamp() + "] sd_orvia: " + std::string(utf8) + "\n";
  if (level <= State().level) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
  }
  if (State().debug) {
    std::fwrite(line.data(), 1, line.size(), State().debug);
    std::fflush(State().debug);
  }
}

}  // namespace sdOrvia
