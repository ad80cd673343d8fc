// TIRLA: engine type 54: the RHVoice library in the process. Speaking returns at once; the
// bridge is speaking until the sound of its texts has played; the samples go to the wave
// output, the start's sink or a WAV file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "bridges/voices.h"
#include "platform/speech.h"

namespace bridges {

// Start state: no engine.
void StartRhvoiceBridge();

// Where the next start sends its samples and what stops them (the row passes its start's).
void Sapi54SetOutput(const platform::SpeechOutput& output);

// Loads the library and selects installed voice `voice` of Sapi54Voices (below 1 or past the
// list: the first, and then rate 0); the rate −10..10 is the library's −1..1 (speech twice
// as slow at −10, twice as fast at 10). With `outputFile` (cp1252) the sound goes to that
// WAV file. False, with Sapi54StartFailure() saying why.
bool Sapi54Start(int voice, int rate, std::string_view outputFile);

// Hands a text (cp1252) over and returns at once; an empty text is a blank.
void Sapi54Speak(std::string_view text);

// Waits up to 20 ms for the sound of every text to end; still speaking: posts the engine
// wake-up message and answers true. A stop request stops everything and answers false.
bool Sapi54IsSpeaking();

// Drops every text and cuts the sound off at once.
void Sapi54Stop();

// Waits for the sound to end, then releases the library (a WAV file gets its final sizes).
void Sapi54End();

// Why the last start failed (Portuguese, cp1252); empty after a good start.
const std::string& Sapi54StartFailure();

// The installed voices in the order VOZ numbers them; false, with `why`, when the library is
// missing or cannot start.
bool Sapi54Voices(std::vector<VoiceEntry>& voices, std::string& why);

// For tests: a data folder to use instead of the library's own (empty: its own).
void SetRhvoiceDataFolder(std::string folder);

// The row of the engine table (the pitch is not used).
const platform::SpeechEngine& RhvoiceEngine();

}  // namespace bridges
