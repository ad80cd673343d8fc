// TIRLA: the front-end's sound waits: building and playing an in-memory WAV image, and the
// one test of "still speaking" that every wait uses (a waiting key stops all sound).
#pragma once
#include <cstddef>
#include <cstdint>

namespace frontend {

// Writes the 44-byte PCM header for `dataSize` sample bytes at the start of `buffer`.
void MakeWaveHeader(uint8_t* buffer, uint32_t dataSize, int rate, int channels, int bits);

// Plays a WAV image through the wave output and returns once it has been heard (or a key
// stopped it).
void PlayWaveBuffer(const uint8_t* image, size_t size);

// True while sound plays; a waiting key stops the sound and gives false (the key stays
// queued for its reader).
bool IsSpeaking();

// Stops the sound now and wakes every wait.
void StopSpeaking();

// Gives the diphone synthesizer these operations.
void ConnectSynthesizer();

}  // namespace frontend
