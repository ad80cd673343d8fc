// TIRLA: the diphone synthesizer as a row of the engine table.
#include <vector>

#include "diphone/synthParts.h"
#include "diphone/translator.h"
#include "diphone/waveout.h"
#include "platform/messages.h"
#include "platform/wav.h"

namespace synth {
namespace {

constexpr int kEndPollMs = 10;  // wait for the end of the sound when the engine ends

struct EngineRowState {
  platform::SpeechOutput output;  // connections given at the last start
  SoundHooks frontEndHooks;       // the hooks in force before a sink replaced them
  bool sinkHooks = false;         // the row put its own hooks in
};

EngineRowState& Row() {
  static EngineRowState state;
  return state;
}

// A sink gets the buffer's samples widened to 16 bits.
void PlayToSink(const uint8_t* image, size_t size) {
  const platform::AudioSink& sink = Row().output.sink;
  platform::WavInfo info;
  if (!platform::ReadWavImage(image, size, info) || info.bits != 8) return;
  std::vector<int16_t> wide(static_cast<size_t>(info.dataSize));
  for (size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<int16_t>((image[info.dataOffset + i] - kSilence) << 8);
  sink.Samples(sink.context, wide.data(), wide.size(), info.rate);
}

bool Stopped() { return platform::StopRequested(Row().output.stop); }

bool Start(const platform::SpeechStart& start) {
  EngineRowState& row = Row();
  if (row.sinkHooks) SetSoundHooks(row.frontEndHooks);
  row.output = start.output;
  row.sinkHooks = start.output.sink.Samples != nullptr;
  if (row.sinkHooks) {
    row.frontEndHooks = State().hooks;
    SetSoundHooks({.MakeWaveHeader = nullptr,
                   .PlayWaveBuffer = PlayToSink,
                   .IsSpeaking = nullptr,
                   .QueueWaveBuffer = nullptr,
                   .stop = start.output.stop});
  }
  return InitDiphoneSynth() == kStarted;
}

bool Speak(std::span<const platform::SpeechPiece> pieces) {
  if (!SynthStarted()) return false;
  const platform::SpeechOutput& output = Row().output;
  for (const platform::SpeechPiece& piece : pieces) {
    if (Stopped()) break;
    SpeakPhonetic(translator::TranslateToPhonetic(piece.text), false);
    if (!piece.mark.empty() && output.Mark && !Stopped()) output.Mark(output.context, piece.mark);
  }
  platform::PostMessage(platform::kWakeUpEngine);
  return true;
}

void Stop() {
  waveout::WaveStop();
  platform::PostMessage(platform::kWakeUpEngine);
}

bool IsSpeaking(int) {
  if (Stopped()) {
    Stop();
    return false;
  }
  const SoundHooks& hooks = State().hooks;
  return hooks.IsSpeaking ? hooks.IsSpeaking() : false;
}

void End() {
  while (IsSpeaking(0)) platform::PumpFor(kEndPollMs);
  Stop();
  CloseDiphoneSynth();
  EngineRowState& row = Row();
  if (row.sinkHooks) SetSoundHooks(row.frontEndHooks);
  row.sinkHooks = false;
}

// The recordings set speed and pitch: the front-end picks the unit files per speed level.
void SetRate(int) {}
void SetPitch(int) {}

constexpr platform::SpeechEngine kDiphoneEngine = {
    .name = "difones",
    .Start = Start,
    .Speak = Speak,
    .IsSpeaking = IsSpeaking,
    .Stop = Stop,
    .End = End,
    .SetRate = SetRate,
    .SetPitch = SetPitch,
};

}  // namespace

const platform::SpeechEngine& DiphoneEngine() { return kDiphoneEngine; }

}  // namespace synth
