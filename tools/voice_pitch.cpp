// TIRLA: the median pitch of a spoken WAV file (16-bit mono), to check a voice's natural
// pitch: voice_pitch FILE.wav [EVERY] looks at one frame in EVERY and prints the median in Hz.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wav.h"
#include "sound_tools.h"

int main(int argc, char** argv) {
  constexpr size_t kBlockSamples = 16000 * 30;  // read 30 s at a time: a corpus is hours long
  if (argc < 2) {
    std::fprintf(stderr, "uso: voice_pitch ARQUIVO.wav [A_CADA]\n");
    return 2;
  }
  const size_t every = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1;
  FILE* file = std::fopen(argv[1], "rb");
  platform::WavInfo info;
  if (!file || !platform::ReadWavFile(file, info) || info.bits != 16 || info.channels != 1) {
    std::fprintf(stderr, "voice_pitch: %s não é um WAV de 16 bits mono\n", argv[1]);
    return 1;
  }
  std::vector<float> pitches;
  std::vector<int16_t> block(kBlockSamples);
  for (size_t n; (n = std::fread(block.data(), 2, block.size(), file)) > 0;) {
    const std::vector<float> more =
        soundtools::VoicedPitches(soundtools::FromInt16(block.data(), n), info.rate, every);
    pitches.insert(pitches.end(), more.begin(), more.end());
  }
  std::fclose(file);
  std::printf("%.0f\n", soundtools::MedianPitch(pitches));
  return pitches.empty() ? 1 : 0;
}
