// TIRLA: the front-end's sound.
#include "frontend/sound.h"

#include <string>

#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/dispatch.h"
#include "frontend/state.h"
#include "platform/messages.h"
#include "platform/wav.h"
#include "words/words.h"

namespace frontend {
namespace {

constexpr int kWaitSliceMs = 50;        // a wait re-tests at least this often
constexpr uint16_t kPauseStepMs = 50;   // SpeechPause's step
constexpr int kSoundRate = 11025;
constexpr size_t kBeepSamples = 512;
// One period of the beep: a tone of about 1378 Hz.
constexpr std::array<uint8_t, 8> kBeepPeriod = {128, 112, 96, 80, 64, 80, 96, 112};

std::array<uint8_t, kBeepSamples> BeepSamples() {
  std::array<uint8_t, kBeepSamples> samples;
  for (size_t i = 0; i < kBeepSamples; ++i) samples[i] = kBeepPeriod[i % kBeepPeriod.size()];
  samples.back() = 128;
  return samples;
}

// Waits for the next message or window event while something is still speaking.
void WaitWhileSpeaking() {
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
}

// Plays a built 8-bit image and waits while it is heard.
void PlayBuiltSound(const uint8_t* samples, size_t count) {
  std::string image(platform::kWavHeaderSize + count, '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(image.data());
  MakeWaveHeader(bytes, static_cast<uint32_t>(count), kSoundRate, 1, 8);
  std::copy(samples, samples + count, bytes + platform::kWavHeaderSize);
  waveout::PlayWavImage(bytes, image.size());
  WaitWhileSpeaking();
}

void PlayImageForWords(uint8_t* image, size_t size) { PlayWaveBuffer(image, size); }

// The synthesizer's buffers before the last of a text: queued behind the one playing.
void QueueWaveBuffer(const uint8_t* image, size_t size) {
  WaitEngineSpeech();
  waveout::PlayWavImage(image, size);
}

bool KeyIsWaiting(void*) { return console::KeyWaiting(); }

}  // namespace

void MakeWaveHeader(uint8_t* buffer, uint32_t dataSize, int rate, int channels, int bits) {
  platform::WriteWavHeader(buffer, rate, bits, channels, dataSize);
}

bool IsSpeaking() {
  if (console::KeyWaiting()) {
    StopSpeaking();
    return false;
  }
  if (State().engineActive) return waveout::WavePlaying() || EngineIsSpeaking(0);
  return waveout::WavePlaying();
}

void StopSpeaking() {
  FrontEndState& s = State();
  waveout::WaveStop();
  s.stopRequested = true;
  if (s.engineActive && (EngineIsSpeaking(0) || s.engineType == kOrviaEngineType)) EngineStop();
  platform::PostMessage(platform::kWakeUpStop);
}

void WaitEngineSpeech() {
  FrontEndState& s = State();
  if (!s.enginePending) return;
  WaitWhileSpeaking();
  s.enginePending = false;
}

void PlayWaveBuffer(const uint8_t* image, size_t size) {
  WaitEngineSpeech();
  waveout::PlayWavImage(image, size);
  WaitWhileSpeaking();
}

void SpeakCharSound(unsigned char ch) {
  WaitEngineSpeech();
  waveout::PlayWavFile(synth::LettersDir() + "_" + std::to_string(ch) + ".wav");
}

void SpeakSoundFile(std::string_view name) {
  WaitEngineSpeech();
  const FrontEndState& s = State();
  const std::string& folder =
      !name.empty() && name[0] == '_' ? s.lettersDirectory : s.soundDirectory;
  waveout::PlayWavFile(folder + std::string(name) + ".wav");
}

void Click() {
  WaitEngineSpeech();
  waveout::WaveFlags& flags = waveout::Flags();
  const bool compact = flags.CompactMode;
  flags.CompactMode = false;
  PlayBuiltSound(State().click.data(), State().click.size());
  flags.CompactMode = compact;
}

void Beep() {
  WaitEngineSpeech();
  while (console::KeyWaiting()) console::ReadKeyCode();
  const std::array<uint8_t, kBeepSamples> samples = BeepSamples();
  PlayBuiltSound(samples.data(), samples.size());
}

void UnbrokenBeeps(int count) {
  WaitEngineSpeech();
  waveout::WaveFlags& flags = waveout::Flags();
  const bool stopOnKey = flags.StopOnKey;
  flags.StopOnKey = false;
  const std::array<uint8_t, kBeepSamples> samples = BeepSamples();
  std::string image(platform::kWavHeaderSize + samples.size(), '\0');
  auto* bytes = reinterpret_cast<uint8_t*>(image.data());
  MakeWaveHeader(bytes, static_cast<uint32_t>(samples.size()), kSoundRate, 1, 8);
  std::copy(samples.begin(), samples.end(), bytes + platform::kWavHeaderSize);
  for (int i = 0; i < count; ++i) {
    waveout::PlayWavImage(bytes, image.size());
    while (waveout::WavePlaying()) platform::WaitMessages(kWaitSliceMs);
  }
  flags.StopOnKey = stopOnKey;
}

void SpellText(std::string_view text) {
  for (const char c : text) {
    if (console::KeyWaiting()) return;
    SpeakCharSound(static_cast<unsigned char>(c));
  }
}

void SpeechPause(int ms) {
  for (int i = 0; i < ms / kPauseStepMs; ++i)
    if (!console::KeyWaiting()) console::Pause(kPauseStepMs);
}

void ConnectSynthesizer() {
  synth::SetSoundHooks({.MakeWaveHeader = MakeWaveHeader,
                        .PlayWaveBuffer = PlayWaveBuffer,
                        .IsSpeaking = IsSpeaking,
                        .QueueWaveBuffer = QueueWaveBuffer,
                        .stop = {.context = nullptr, .Requested = KeyIsWaiting}});
  words::StartWords(State().lettersDirectory,
                    {.PlayWaveBuffer = PlayImageForWords, .SpeakSoundFile = SpeakSoundFile});
}

}  // namespace frontend
