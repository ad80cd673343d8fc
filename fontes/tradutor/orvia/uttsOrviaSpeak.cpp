// TIRLA: the ORVIA synthesis driver: text stages, lines to MBROLA, samples to sound or file.
#include <cstring>

#include "diphone/waveout.h"
#include "orvia/mbrola.h"
#include "orvia/uttsOrvia.h"
#include "orvia/uttsOrviaState.h"
#include "orvia/uttsPortugStages.h"

namespace uttsOrvia {
namespace {

constexpr size_t kShortestBlock = waveout::kMinBlock / 2;  // samples: the device's least block

// Whether the text holds anything but blanks and control characters.
bool HasContent(std::string_view text) {
  for (unsigned char c : text)
    if (c > ' ') return true;
  return false;
}

// One text's traffic with MBROLA and where its samples go.
struct Run {
  const mbrola::EntryPoints& mbr;
  platform::AudioSink sink;  // where blocks go when no output file is open
  bool result = true;        // false once MBROLA, the file or the sink failed
  bool stopped = false;      // the stop token asked to stop
};

bool StopAsked(Run& run) {
  if (!run.stopped && platform::StopRequested(State().output.stop)) run.stopped = true;
  return run.stopped;
}

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
  if (!s.block.empty() && !StopAsked(run) &&
      !run.sink.Samples(run.sink.context, s.block.data(), s.block.size(), kRate))
    run.result = false;
  s.block.clear();
}

// Samples MBROLA has ready now; 0 for none or on failure (which resets it).
size_t ReadSamples(Run& run) {
  OrviaState& s = State();
  const int n = run.mbr.read_MBR(s.readBuffer.data(), kReadSamples);
  if (n >= 0) return static_cast<size_t>(n);
  if (run.mbr.lastError_MBR() != 0) ResetAfterFailure(run);
  return 0;
}

void TakeSamples(Run& run, size_t count) {
  OrviaState& s = State();
  if (s.fileOutput) {
    const size_t bytes = count * 2;
    if (!s.outputFile || fwrite(s.readBuffer.data(), 1, bytes, s.outputFile) != bytes)
      run.result = false;
    return;
  }
  const size_t waiting = s.block.size() * 2, adding = count * 2;
  if (waiting + adding >= kHandOver && waiting > 0) HandBlock(run);
  if (s.block.size() * 2 + adding > kSampleArea) HandBlock(run);
  s.block.insert(s.block.end(), s.readBuffer.begin(), s.readBuffer.begin() + count);
}

// The last block of a text is at least the device's least block, padded with silence.
void HandLastBlock(Run& run) {
  OrviaState& s = State();
  if (s.fileOutput || s.block.empty()) return;
  if (s.block.size() < kShortestBlock) s.block.resize(kShortestBlock, 0);
  HandBlock(run);
}

bool SpeakLinesIn(Run& run, const std::vector<std::string>& lines) {
  const size_t n = lines.size();
  for (size_t i = 0; i < n && !StopAsked(run); ++i) {
    const bool last = i + 1 == n;
    if (lines[i].empty() && !last) continue;
    const std::string line = lines[i] + "\r\n";
    run.mbr.write_MBR(line.c_str());
    if (run.mbr.lastError_MBR() != 0) ResetAfterFailure(run);
    if (last) run.mbr.flush_MBR();
    for (size_t count = ReadSamples(run); count > 0 && !StopAsked(run); count = ReadSamples(run))
      TakeSamples(run, count);
  }
  if (StopAsked(run)) {
    run.mbr.reset_MBR();  // what MBROLA still holds is not wanted
    State().block.clear();
    return run.result;
  }
  HandLastBlock(run);
  OrviaState& s = State();
  if (s.fileOutput && s.outputFile && fflush(s.outputFile) != 0) run.result = false;
  return run.result;
}

// A run over the connected sink, or the wave output; false when MBROLA is not there.
bool BeginRun(Run& run) {
  OrviaState& s = State();
  if (!mbrola::MbrolaBound()) return false;
  if (s.readBuffer.empty()) s.readBuffer.assign(kReadSamples, 0);
  s.block.clear();
  s.block.reserve(kSampleArea / 2);
  s.engineError.clear();
  if (!run.sink.Samples) run.sink = waveout::EngineSink();
  run.mbr.reset_MBR();
  return true;
}

}  // namespace

bool SpeakLines(const std::vector<std::string>& lines) {
  Run run{mbrola::Mbrola(), State().output.sink};
  if (!BeginRun(run)) return false;
  return SpeakLinesIn(run, lines);
}

bool OrviaSpeakPieces(std::span<const platform::SpeechPiece> pieces) {
  const OrviaState& s = State();
  bool started = false;
  Run run{mbrola::Mbrola(), s.output.sink};
  for (const platform::SpeechPiece& piece : pieces) {
    if (HasContent(piece.text)) {
      if (!started && !BeginRun(run)) return false;
      started = true;
      SpeakLinesIn(run, uttsPortug::TextToMbrolaLines(std::string(piece.text), s.durationFactor,
                                                      s.pitchFactor));
    }
    if (StopAsked(run)) break;
    if (!piece.mark.empty() && s.output.Mark) s.output.Mark(s.output.context, piece.mark);
  }
  return run.result;
}

bool OrviaSpeak(const std::string& text) {
  const platform::SpeechPiece piece{text, {}};
  return OrviaSpeakPieces(std::span<const platform::SpeechPiece>(&piece, 1));
}

}  // namespace uttsOrvia
