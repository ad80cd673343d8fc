// TIRLA: engine type 5: Speech Dispatcher, the system's speech service, through libspeechd.
// The service speaks on its own threads and plays the sound itself. The bridge's commands go
// to the service from a thread of the bridge, so a service slow to answer never holds the
// program; the bridge counts the texts handed over and the end and cancel events sent back.
#pragma once
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "bridges/voices.h"
#include "platform/speech.h"

namespace bridges {

// Start state: not connected.
void StartSpeechdBridge();

// Where the next start's stop requests come from (the row passes its start's).
void Sapi5SetOutput(const platform::SpeechOutput& output);

// Connects (starting the service when it is not running and allows it), selects the pair
// (output module, voice) number `voice` of Sapi5Voices (below 1 or past the list: the first,
// and then rate 0) and sets the rate −10..10 (the service's −100..100). A start with an
// output file fails: the service cannot write one. False, with Sapi5StartFailure().
bool Sapi5Start(int voice, int rate, std::string_view outputFile);

// Hands a text (cp1252) over and returns at once; an empty text is a blank. A text the service
// refuses (it stopped, say) beeps and is reported; the next text tries to connect again.
void Sapi5Speak(std::string_view text);

// Waits up to 20 ms for the service to end every text; still speaking: posts the engine
// wake-up message and answers true. A stop request stops everything and answers false.
bool Sapi5IsSpeaking();

// Drops the texts not yet sent and has the service drop everything it holds of ours, then
// waits 50 ms.
void Sapi5Stop();

// Waits for the texts to end, then disconnects.
void Sapi5End();

// Why the last start failed (Portuguese, cp1252); empty after a good start.
const std::string& Sapi5StartFailure();

// When the service last told the end or cancel of a text (for measuring).
std::chrono::steady_clock::time_point Sapi5LastEventTime();

// The pairs in the order VOZ numbers them: the voices of Brazilian Portuguese, then other
// Portuguese, then the rest, each group in the service's module order and each module's voice
// order. False, with `why`, when the service cannot be reached.
bool Sapi5Voices(std::vector<VoiceEntry>& voices, std::string& why);

// The row of the engine table (the pitch is not used).
const platform::SpeechEngine& SpeechdEngine();

}  // namespace bridges
