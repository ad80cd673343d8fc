// TIRLA: speaks text with the diphone synthesizer into a WAV file (8-bit mono 11025 Hz), for
// listening to or measuring a unit database without a sound card. The speed level's
// [SINTETIZADOR] settings of TOLVAN.INI apply, as the front-end applies them.
//   units_to_wav [--level 1..5] OUT.wav TEXT...   (TEXT in UTF-8)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "diphone/synth.h"
#include "diphone/translator.h"
#include "frontend/config.h"
#include "platform/codepage.h"
#include "platform/wav.h"
#include "sound_tools.h"

namespace {

std::vector<uint8_t> heard;

void Keep(const uint8_t* image, size_t size) {
  platform::WavInfo info;
  if (platform::ReadWavImage(image, size, info))
    heard.insert(heard.end(), image + info.dataOffset, image + info.dataOffset + info.dataSize);
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  int level = 3;
  if (argc > 2 && std::string(argv[1]) == "--level") level = atoi(argv[2]), first = 3;
  if (argc < first + 2) {
    fprintf(stderr, "uso: units_to_wav [--level 1..5] SAIDA.wav TEXTO...\n");
    return 2;
  }
  std::string text;
  for (int i = first + 1; i < argc; ++i) text += std::string(i > first + 1 ? " " : "") + argv[i];
  synth::StartSynth();
  const frontend::SpeedSettings settings = frontend::ReadSpeedSettings(level);
  synth::SetUnitBaseName(settings.unitBaseName);
  synth::SetSynthParameters(settings.unitCut, settings.unitMinimum, settings.wordPause);
  synth::SetSoundHooks({.MakeWaveHeader = nullptr, .PlayWaveBuffer = Keep, .IsSpeaking = nullptr});
  if (const int status = synth::InitDiphoneSynth(); status != synth::kStarted) {
    fprintf(stderr, "units_to_wav: erro de inicialização %d: %s.\n", status,
            platform::Cp1252ToUtf8(synth::StartProblem()).c_str());
    return 1;
  }
  const std::string phonetic = translator::TranslateToPhonetic(platform::Utf8ToCp1252(text));
  printf("%s\n", platform::Cp1252ToUtf8(phonetic).c_str());
  synth::SpeakPhonetic(phonetic, false);
  synth::CloseDiphoneSynth();
  return soundtools::WriteWav8(argv[first], synth::kSampleRate, heard) ? 0 : 1;
}
