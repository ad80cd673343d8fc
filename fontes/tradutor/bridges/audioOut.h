// TIRLA: where an in-process bridge's samples go: the sink its start was given, a WAV file
// named by the option text, or the wave output, fed no faster than it plays so that the main
// thread never waits for a free buffer.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/speech.h"

namespace bridges {

struct AudioOut {
  platform::AudioSink sink;  // the start's sink, when it gave one
  FILE* file = nullptr;      // the WAV file being written
  std::string fileName;      // its name (UTF-8)
  int fileRate = 0;          // its rate: that of the first samples
  uint64_t fileBytes = 0;    // sample bytes written to it
  bool waveOut = false;      // samples go to the wave output
  bool playing = false;      // the wave output holds samples of ours
};

// Connects to the start's sink, else to the file `fileName` (cp1252; empty: none), else to the
// wave output. False, with `why` in Portuguese, when the file cannot be created.
bool OpenAudioOut(AudioOut& out, const platform::SpeechOutput& output, std::string_view fileName,
                  std::string& why);

// How many samples are taken now without waiting: any number by a sink or a file, one
// buffer's worth by the wave output while one of its buffers is free, else none.
size_t AudioOutRoom(const AudioOut& out);

// Hands samples on; false when they were not taken.
bool AudioOutWrite(AudioOut& out, const int16_t* samples, size_t count, int rate);

// Whether the wave output still plays samples of ours.
bool AudioOutPlaying(AudioOut& out);

// Silences what the wave output holds of ours.
void AudioOutStop(AudioOut& out);

// Completes the file's header and closes it; then nothing is connected.
void CloseAudioOut(AudioOut& out);

}  // namespace bridges

namespace bridges {

// The short warning beep of a text the service refused, through the wave output.
void PlayWarningBeep();

}  // namespace bridges
