// TIRLA: the speech front-end's life (start with the configuration's speed level and engine,
// end) and the voicing of text: phrases through the engine or the diphone synthesizer,
// numbers as recorded words, punctuation as its sound and a pause, other characters by their
// recorded sounds.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

// Start state of the front-end (program start, tests): no engine, type 4, engine pending,
// echo and first-key replacement on, a fresh click sound.
void StartFrontEnd();

// Starts speech at `speed` 1..5 (0 or less: [TRADUTOR] VELOCIDADE, else 3), with `soundDirectory`
// for named sounds: the speed level's settings, the diphone synthesizer, the letters folder,
// and the configured engine when [TRADUTOR] SAPI asks for one. May be called again. When the
// synthesizer cannot start, tells so (TellStartFailure), waits for Enter and ends the
// program with code 1.
void StartSpeech(int speed, const std::string& soundDirectory);

// A start that failed, told every way this program can while its users may not see the
// screen: the error beep, then each line reported (standard error and the console) and
// spoken by the configured engine when it starts, else spelled by the recorded letters when
// they are there. The caller then ends the program with a non-zero code.
void TellStartFailure(const std::vector<std::string>& lines);

// Reads the tuning values of speed level `speed` and gives them to the synthesizer and the
// wave output.
void ApplySpeedSettings(int speed);

// Waits until speech has ended, stops it, ends the engine and closes the synthesizer.
void EndSpeech();

// Whether an engine speaks the text, and which type was started last.
bool EngineActive();
int CurrentEngineType();
int SpeedLevel();

// The sound of one punctuation mark at the start of `text`, then its pause.
void SpeakPunctuation(std::string_view text);

// Voices a text (cp1252): with an engine, hands it over and returns while it speaks; without,
// run by run, and stops at once when a key is pressed (the key stays queued).
void SpeakText(std::string_view text);

// Reads one key, stops what speaks, plays the key's sound and returns the key.
unsigned char SpeakKey();

// Writes the text on the console (without, or with, a line end), then speaks it.
void WriteAndSpeak(std::string_view text);
void WriteAndSpeakLine(std::string_view text);

// a..z and the codes 224..255 less 32; nothing else changes.
std::string UpperCaseLatin1(std::string_view text);

}  // namespace frontend
