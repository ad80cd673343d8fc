// TIRLA: an in-process bridge's sound: a sink, a WAV file or the wave output.
#include "bridges/audioOut.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "diphone/waveout.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/wav.h"

namespace bridges {
namespace {

constexpr int kWaveBuffers = 4;  // the wave output queues this many buffers
constexpr size_t kWaveBlockSamples = waveout::kBufferSize / 2;
constexpr size_t kAnyNumber = SIZE_MAX;

constexpr int kUnknownRate = 16000;  // in the header of a file without sound yet

// The header with the sizes written so far; the file stays at its end.
void WriteHeader(AudioOut& out) {
  uint8_t header[platform::kWavHeaderSize];
  platform::WriteWavHeader(header, out.fileRate ? out.fileRate : kUnknownRate, 16, 1,
                           static_cast<uint32_t>(out.fileBytes));
  std::fseek(out.file, 0, SEEK_SET);
  std::fwrite(header, 1, sizeof header, out.file);
  std::fseek(out.file, 0, SEEK_END);
  std::fflush(out.file);
}

}  // namespace

bool OpenAudioOut(AudioOut& out, const platform::SpeechOutput& output, std::string_view fileName,
                  std::string& why) {
  CloseAudioOut(out);
  if (output.sink.Samples) {
    out.sink = output.sink;
    return true;
  }
  if (fileName.empty()) {
    out.waveOut = true;
    return true;
  }
  out.fileName = platform::Cp1252ToUtf8(fileName);
  out.file = std::fopen(out.fileName.c_str(), "wb");
  if (!out.file) {
    why = "o arquivo " + std::string(fileName) + " n\xE3o p\xF4" "de ser criado (" +
          platform::SystemReason(errno) + ")";
    return false;
  }
  WriteHeader(out);  // its place; the sizes come with the samples
  return true;
}

size_t AudioOutRoom(const AudioOut& out) {
  if (!out.waveOut) return kAnyNumber;
  return waveout::QueuedCount() < kWaveBuffers ? kWaveBlockSamples : 0;
}

bool AudioOutWrite(AudioOut& out, const int16_t* samples, size_t count, int rate) {
  if (count == 0) return true;
  if (out.sink.Samples) return out.sink.Samples(out.sink.context, samples, count, rate);
  if (out.file) {
    if (out.fileRate == 0) out.fileRate = rate;
    const size_t written = std::fwrite(samples, sizeof *samples, count, out.file);
    out.fileBytes += written * sizeof *samples;
    WriteHeader(out);  // the file is whole after every block
    return written == count;
  }
  if (!out.waveOut) return false;
  out.playing = true;
  return waveout::EngineSink().Samples(nullptr, samples, count, rate);
}

bool AudioOutPlaying(AudioOut& out) {
  if (out.playing && waveout::QueuedCount() == 0) out.playing = false;
  return out.playing;
}

void AudioOutStop(AudioOut& out) {
  if (out.playing) waveout::WaveStop();
  out.playing = false;
}

void CloseAudioOut(AudioOut& out) {
  AudioOutStop(out);
  if (out.file) {
    WriteHeader(out);
    std::fclose(out.file);
  }
  out = AudioOut{};
}

}  // namespace bridges

namespace bridges {

void PlayWarningBeep() {
  constexpr int kRate = 11025, kHertz = 880, kMs = 100;
  std::vector<uint8_t> wave(kRate * kMs / 1000);
  for (size_t i = 0; i < wave.size(); ++i) wave[i] = (i * 2 * kHertz / kRate) % 2 ? 96 : 160;
  waveout::PlayPcm(wave.data(), wave.size(), kRate, 1, 8);
}

}  // namespace bridges
