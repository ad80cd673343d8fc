// TIRLA: engine type 4, and every type without a bridge of its own: the eSpeak NG library in
// the process. It keeps the count of texts the library has begun and not finished and a flag
// while their sound plays; the samples go to the wave output, the start's sink or a WAV file.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "bridges/voices.h"
#include "platform/speech.h"

namespace bridges {

// Start state: no engine, both counts at rest, output to the wave output.
void StartEspeakBridge();

// Where the next start sends its samples and what stops them (the row passes its start's).
void Sapi4SetOutput(const platform::SpeechOutput& output);

// Loads the library, selects voice `voice` of the list Sapi4Voices numbers (0 or less: the
// first; past the list: the first, with a warning), sets the speed in words per minute and
// the pitch in hertz (0: the voice's own). With `outputFile` (cp1252) the sound goes to that
// WAV file. False, with Sapi4StartFailure() saying why, when the engine is not ready.
bool Sapi4Start(int voice, int speed, int pitch, std::string_view outputFile);

// Hands a text (cp1252) over and returns at once. Blank text says nothing; a single digit gets
// a period (read as a number); with StopOnKey on and a stop requested the text is dropped;
// texts longer than kLongestText characters go in several pieces.
void Sapi4Speak(std::string_view text);

// Flag 1: a text handed over is not yet finished by the library; any other flag: that, or its
// sound still plays. A stop request stops everything and answers false.
bool Sapi4IsSpeaking(int flag);

// Drops every text and cuts the sound off; both counts go to rest.
void Sapi4Stop();

// Waits for the sound to end, then releases the library (a WAV file gets its final sizes).
void Sapi4End();

// Why the last start failed (Portuguese, cp1252); empty after a good start.
const std::string& Sapi4StartFailure();

// The voices in the order VOZ numbers them; false, with `why`, when the library is missing.
bool Sapi4Voices(std::vector<VoiceEntry>& voices, std::string& why);

// The library's speed for words per minute (0: its normal 175; else kept within 80..450), and
// its pitch 0..100 for hertz (0 or less: its normal 50; see docs/ARCHITECTURE.md).
int EspeakRateFor(int wordsPerMinute);
int EspeakPitchFor(int hertz);

// For tests: the count of texts begun and not finished, the flag, and the last text handed to
// the library (UTF-8).
int Sapi4PendingCount();
bool Sapi4AudioPlaying();
const std::string& Sapi4LastText();

// The row of the engine table.
const platform::SpeechEngine& EspeakEngine();

}  // namespace bridges
