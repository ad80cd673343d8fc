// TIRLA: the front-end's sound: the one test of "still speaking" that every wait uses (a
// waiting key stops all sound), stopping, in-memory WAV images, recorded sounds, the click and
// the error beep.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace frontend {

// Writes the 44-byte PCM header for `dataSize` sample bytes at the start of `buffer`.
void MakeWaveHeader(uint8_t* buffer, uint32_t dataSize, int rate, int channels, int bits);

// True while sound plays or the engine speaks; a waiting key stops everything and gives false
// (the key stays queued for its reader).
bool IsSpeaking();

// Stops the wave output and the engine now, marks the stop for SpeakText and wakes every wait.
void StopSpeaking();

// When text went to the engine, waits until it has been spoken.
void WaitEngineSpeech();

// Waits for the engine, plays a WAV image and returns once it has been heard (or a key
// stopped it).
void PlayWaveBuffer(const uint8_t* image, size_t size);

// Plays the recorded sound of one character ("_<code>.wav" of the synthesizer's letters
// folder); a key stops it.
void SpeakCharSound(unsigned char ch);

// Plays a named recording: a name starting with "_" from the letters folder, any other from
// the sound folder. A missing file plays nothing.
void SpeakSoundFile(std::string_view name);

// The click (moves that succeeded, repeated symbols, row ends) and the error beep (which also
// drops the keys typed ahead).
void Click();
void Beep();
// `count` beeps heard whole whatever is typed meanwhile: waiting keys neither cut them nor are
// dropped (the closing beeps of screen review, which tell the user which mode they are in).
void UnbrokenBeeps(int count);

// Each character's sound in turn, until a key is pressed.
void SpellText(std::string_view text);

// Waits `ms` milliseconds in 50 ms steps; a waiting key shortens every step to nothing.
void SpeechPause(int ms);

// Gives the diphone synthesizer and the recorded-word speech these operations.
void ConnectSynthesizer();

}  // namespace frontend
