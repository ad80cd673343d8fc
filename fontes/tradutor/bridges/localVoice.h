// TIRLA: what the two in-process bridges share: a synthesis thread, where its samples go, the
// count of texts handed over and not finished, and the flag while their sound plays. Runs on
// the main thread.
#pragma once
#include <string>
#include <vector>

#include "bridges/audioOut.h"
#include "bridges/synthWorker.h"
#include "platform/speech.h"

namespace bridges {

struct LocalVoice {
  SynthWorker worker;
  AudioOut out;
  platform::SpeechOutput output;  // the start's connections
  int handed = 0;                 // texts queued, not yet begun by the library
  int pending = 0;                // texts begun and not finished
  bool audioPlaying = false;      // from the first samples to the end of their sound
  bool draining = false;          // DrainLocalVoice is running (the wave output may pump)
  std::vector<int16_t> block;     // samples on their way to the output
  std::string lastText;           // the last text handed over (UTF-8), for tests
};

// Hands a text to the thread.
void HandLocalVoiceText(LocalVoice& voice, SynthJob job);

// Takes the thread's news and gives the output as many samples as it has room for; returns the
// news (the caller handles refused texts).
SynthNews DrainLocalVoice(LocalVoice& voice);

// Drops every text and sample and silences what plays; the counts go to rest.
void StopLocalVoice(LocalVoice& voice);

// Whether a text is handed over and not finished.
inline bool LocalVoiceTextsPending(const LocalVoice& voice) {
  return voice.handed + voice.pending > 0;
}

}  // namespace bridges
