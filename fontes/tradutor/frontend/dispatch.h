// TIRLA: the five engine operations, routed by engine type to one row of the engine table.
#pragma once
#include <string>
#include <string_view>

#include "platform/speech.h"

namespace frontend {

// Engine types of [ROREVAZO] TIPOSAPI.
inline constexpr int kOrviaEngineType = 3;
inline constexpr int kDefaultEngineType = 4;    // eSpeak NG, and any type not listed
inline constexpr int kSpeechdEngineType = 5;     // Speech Dispatcher
inline constexpr int kRhvoiceEngineType = 54;    // RHVoice

// Start state: type 4, no engine running.
void StartDispatch();

// The row that serves `type`; null when that engine is not built into this program.
const platform::SpeechEngine* EngineRowFor(int type);

// What the user is told when the engine of `type` did not start: which service and why
// (Portuguese, cp1252).
std::string EngineStartFailure(int type);

// Remembers `type` and starts its engine with the console's key test as its stop token; once
// started, waits while it is still speaking. False when the engine is missing or cannot start.
bool EngineStart(int voice, int speed, int pitch, std::string_view option, int type);

// The other four operations go to the engine of the last start (nothing without one).
void EngineSpeak(std::string_view text);
bool EngineIsSpeaking(int flag);
void EngineStop();
void EngineEnd();

// The type of the last start (4 before any).
int EngineType();

}  // namespace frontend
