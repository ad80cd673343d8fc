// TIRLA: the one face every speech engine shows: a driver table of start, speak, is-speaking,
// stop, end, rate and pitch, and the connections an engine is started with (where its samples
// go, what stops it, who hears its index marks). The diphone synthesizer, ORVIA and the
// speech-service bridges each fill one row; the front-end and the programs call only this.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/stop.h"

namespace platform {

// Where an engine's samples go.
struct AudioSink {
  void* context = nullptr;
  // Takes `count` 16-bit signed mono samples at `rate` per second; false when they could not
  // be taken (the engine stops speaking the text). Null: the engine plays them itself.
  bool (*Samples)(void* context, const int16_t* samples, size_t count, int rate) = nullptr;
  // For a sink that plays what it took: cuts it off, and whether it still sounds. Null: the
  // samples are gone once taken.
  void (*Stop)(void* context) = nullptr;
  bool (*Playing)(void* context) = nullptr;
};

// What an engine is connected to for as long as it runs.
struct SpeechOutput {
  AudioSink sink;          // no Samples: the engine's own output (the wave output)
  StopToken stop;          // checked per line and per block of sound, and by IsSpeaking
  void* context = nullptr;
  // Hears each index mark once every sample before it has gone to the sink; null: nobody.
  void (*Mark)(void* context, std::string_view name) = nullptr;
};

// A piece of text (cp1252) and the index mark reached once it has been spoken (empty: none).
struct SpeechPiece {
  std::string_view text;
  std::string_view mark;
};

// How an engine is started: the front-end's integer settings and the engine's option text.
struct SpeechStart {
  int voice = 0;            // voice number, for engines with a list of voices
  int speed = 0;            // speed level: 0 normal, higher faster
  int pitch = 0;            // pitch level: 0 normal, higher higher
  std::string_view option;  // engine option text (ORVIA: a WAV file to write instead of playing)
  SpeechOutput output;
};

// One engine. Every entry is filled; they are called from the main thread only.
struct SpeechEngine {
  const char* name;
  // Makes the engine ready to speak; false (the engine then stays silent) when it cannot be.
  bool (*Start)(const SpeechStart& start);
  // Hands the pieces over in order; may return before the sound ends. False when the engine
  // failed on them (part of the text may be lost).
  bool (*Speak)(std::span<const SpeechPiece> pieces);
  // True until the sound has ended; a stop request stops it and answers false. `flag` is
  // passed on from the caller (1 while starting, 0 otherwise).
  bool (*IsSpeaking)(int flag);
  // Cuts the sound off.
  void (*Stop)();
  // Waits for the sound to end, stops and releases the engine.
  void (*End)();
  // New speed and pitch levels, as in SpeechStart, for the next texts.
  void (*SetRate)(int speed);
  void (*SetPitch)(int pitch);
};

// Speaks one text without marks through `engine`.
inline bool SpeakText(const SpeechEngine& engine, std::string_view text) {
  const SpeechPiece piece{text, {}};
  return engine.Speak(std::span<const SpeechPiece>(&piece, 1));
}

}  // namespace platform
