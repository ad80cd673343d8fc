// TIRLA: the module's log. Standard error is the log the server keeps for the module; the
// server's LOGLEVEL sets how much goes there, and DEBUG ON copies everything to a file too.
#pragma once
#include <string>
#include <string_view>

namespace sdOrvia {

// How much is logged, as the server counts: 1 errors, 2 warnings, 3 notes (the default),
// 4 every command and event, 5 also every audio chunk and the text of every message.
constexpr int kLogErrors = 1;
constexpr int kLogWarnings = 2;
constexpr int kLogNotes = 3;
constexpr int kLogExchange = 4;
constexpr int kLogEverything = 5;

// Puts the log in its start state (level 3, no debug file) and makes it the sink of the
// program's reports, which it logs as errors, warnings and notes.
void StartModuleLog();

// Sets the level (clamped to 0..5).
void SetLogLevel(int level);

// Copies every line, at any level, to `path` as well; false when it cannot be opened.
// StopDebugLog closes it.
bool StartDebugLog(const std::string& path);
void StopDebugLog();

// Whether a line of `level` would be written anywhere.
bool Logging(int level);

// Writes one line (UTF-8), stamped with the time, where `level` allows.
void Log(int level, std::string_view utf8);

}  // namespace sdOrvia
