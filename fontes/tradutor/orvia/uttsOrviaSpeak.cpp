// TIRLA: the ORVIA synthesis driver: text stages, lines to MBROLA, samples to sound or file.
#include <cstring>

#include "diphone/waveout.h"
#include "orvia/mbrola.h"
#include "orvia/uttsOrvia.h"
#include "orvia/uttsOrviaState.h"
#include "orvia/uttsPortugStages.h"

namespace uttsOrvia {
namespace {

// Whether the text holds anything but blanks and control characters.
bool HasContent(const std::string& text) {
  for (unsigned char c : text)
    if (c > ' ') return true;
  return false;
}

// One text's traffic with MBROLA and where its samples go.
struct Run {
  const mbrola::EntryPoints& mbr;
  size_t fill = 0;      // sample bytes waiting in the wave block
  bool result = true;   // false once MBROLA or the file failed
};

// Keeps MBROLA's words on its failure, then makes it ready for the next lines.
void ResetAfterFailure(Run& run) {
  char text[512] = "";
  run.mbr.lastErrorStr_MBR(text, sizeof text);
  State().engineError = text;
  run.mbr.reset_MBR();
  run.result = false;
}

void HandBlock(Run& run) {
  OrviaState& s = State();
  BuildWaveHeader(s.waveBlock.data(), kRate, kBits, static_cast<uint32_t>(run.fill), kChannels);
  const size_t size = kWaveHeaderSize + run.fill;
  if (s.sink)
    s.sink(s.waveBlock.data(), size);
  else
    waveout::PlayWavImage(s.waveBlock.data(), size);
  run.fill = 0;
}

// Bytes of samples MBROLA has ready now; 0 for none or on failure (which resets it).
size_t ReadSamples(Run& run) {
  OrviaState& s = State();
  const int n = run.mbr.read_MBR(s.readBuffer.data(), kReadSamples);
  if (n >= 0) return static_cast<size_t>(n) * 2;
  if (run.mbr.lastError_MBR() != 0) ResetAfterFailure(run);
  return 0;
}

void TakeSamples(Run& run, size_t count) {
  OrviaState& s = State();
  const auto* bytes = reinterpret_cast<const uint8_t*>(s.readBuffer.data());
  if (s.fileOutput) {
    if (!s.outputFile || fwrite(bytes, 1, count, s.outputFile) != count) run.result = false;
    return;
  }
  if (run.fill + count >= kHandOver && run.fill > 0) HandBlock(run);
  if (run.fill + count > kSampleArea) HandBlock(run);
  std::memcpy(s.waveBlock.data() + kWaveHeaderSize + run.fill, bytes, count);
  run.fill += count;
}

}  // namespace

bool SpeakLines(const std::vector<std::string>& lines) {
  OrviaState& s = State();
  if (!mbrola::MbrolaBound()) return false;
  if (s.waveBlock.empty()) {
    s.waveBlock.assign(kWaveHeaderSize + kSampleArea, 0);
    s.readBuffer.assign(kReadSamples, 0);
  }
  waveout::WaveFlags& flags = waveout::Flags();
  const bool fastRate = flags.FastRate, compactMode = flags.CompactMode;
  flags.FastRate = flags.CompactMode = false;
  s.engineError.clear();
  Run run{mbrola::Mbrola()};
  run.mbr.reset_MBR();
  const size_t n = lines.size();
  for (size_t i = 0; i < n; ++i) {
    const bool last = i + 1 == n;
    if (lines[i].empty() && !last) continue;
    const std::string line = lines[i] + "\r\n";
    run.mbr.write_MBR(line.c_str());
    if (run.mbr.lastError_MBR() != 0) ResetAfterFailure(run);
    if (last) run.mbr.flush_MBR();
    for (size_t count = ReadSamples(run); count > 0; count = ReadSamples(run))
      TakeSamples(run, count);
  }
  if (!s.fileOutput && run.fill > 0) {
    if (run.fill < waveout::kMinBlock) {
      std::memset(s.waveBlock.data() + kWaveHeaderSize + run.fill, 0,
                  waveout::kMinBlock - run.fill);
      run.fill = waveout::kMinBlock;
    }
    HandBlock(run);
  }
  if (s.fileOutput && s.outputFile && fflush(s.outputFile) != 0) run.result = false;
  flags.FastRate = fastRate;
  flags.CompactMode = compactMode;
  return run.result;
}

bool OrviaSpeak(const std::string& text) {
  if (!HasContent(text)) return true;
  const OrviaState& s = State();
  return SpeakLines(uttsPortug::TextToMbrolaLines(text, s.durationFactor, s.pitchFactor));
}

}  // namespace uttsOrvia
