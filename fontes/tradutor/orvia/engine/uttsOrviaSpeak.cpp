// TIRLA: the ORVIA synthesis driver: text stages, lines to MBROLA, samples to sound or file.
//
// Lines go to MBROLA in batches and its samples are taken between batches, so MBROLA works on
// one batch while the next is made. Only where the sound must be complete (the end of a text,
// an input that waits) is MBROLA asked to flush, which waits for its last sample. An index
// mark costs no flush: it falls on the sample the durations of the lines before it add up to,
// and is reported once that many samples have been handed on.
#include <algorithm>
#include <cstring>

#include "orvia/engine/mbrola.h"
#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaParts.h"
#include "orvia/engine/uttsOrviaState.h"
#include "orvia/text/uttsPortugStages.h"

namespace uttsOrvia {
namespace {

// The last block of a text is at least this long (256 bytes), padded with silence.
constexpr size_t kShortestBlock = 128;
// Bytes of phoneme lines written to MBROLA at once: a few sentences.
constexpr size_t kBatchBytes = 4096;

// Whether the text holds anything but blanks and control characters.
bool HasContent(std::string_view text) {
  for (unsigned char c : text)
    if (c > ' ') return true;
  return false;
}

const mbrola::EntryPoints& Mbr() { return mbrola::Mbrola(); }

bool StopAsked() {
  TextRun& run = State().run;
  if (!run.stopped && platform::StopRequested(State().output.stop)) run.stopped = true;
  return run.stopped;
}

// Keeps MBROLA's words on its failure, then makes it ready for the next lines.
void ResetAfterFailure() {
  char text[512] = "";
  Mbr().lastErrorStr_MBR(text, sizeof text);
  State().engineError = text;
  Mbr().reset_MBR();
  State().run.result = false;
}

void HandBlock() {
  OrviaState& s = State();
  const platform::AudioSink& sink = s.run.sink;
  if (!s.block.empty() && !StopAsked() && sink.Samples &&
      !sink.Samples(sink.context, s.block.data(), s.block.size(), s.rate))
    s.run.result = false;
  s.block.clear();
}

// Samples MBROLA has ready now; 0 for none or on failure (which resets it).
size_t ReadSamples() {
  OrviaState& s = State();
  const int n = Mbr().read_MBR(s.readBuffer.data(), kReadSamples);
  if (n >= 0) return static_cast<size_t>(n);
  if (Mbr().lastError_MBR() != 0) ResetAfterFailure();
  return 0;
}

// Stores or queues `count` samples (at most kReadSamples).
void StoreSamples(const short* samples, size_t count) {
  OrviaState& s = State();
  if (s.fileOutput) {
    if (!WriteOutput(samples, count * 2)) s.run.result = false;
    return;
  }
  const size_t waiting = s.block.size() * 2, adding = count * 2;
  if (waiting + adding >= kHandOver && waiting > 0) HandBlock();
  if (s.block.size() * 2 + adding > kSampleArea) HandBlock();
  s.block.insert(s.block.end(), samples, samples + count);
}

// Reports the marks whose sound is all taken, the samples waiting before them handed on first.
// `all`: the text's sound is complete, so the marks past its end are reached too.
void ReportReachedMarks(bool all) {
  OrviaState& s = State();
  TextRun& run = s.run;
  while (run.nextMark < run.marks.size() && !StopAsked() &&
         (all || run.marks[run.nextMark].at <= run.taken)) {
    if (!s.fileOutput && !s.block.empty()) HandBlock();
    if (StopAsked()) break;
    const PendingMark& mark = run.marks[run.nextMark++];
    if (s.output.Mark) s.output.Mark(s.output.context, mark.name);
  }
}

// Takes samples from MBROLA, cut where a mark falls so that it is reported right there.
void TakeSamples(const short* samples, size_t count) {
  TextRun& run = State().run;
  while (count > 0 && !StopAsked()) {
    size_t n = count;
    if (run.nextMark < run.marks.size() && run.marks[run.nextMark].at > run.taken)
      n = static_cast<size_t>(std::min<uint64_t>(n, run.marks[run.nextMark].at - run.taken));
    StoreSamples(samples, n);
    run.taken += n;
    samples += n;
    count -= n;
    ReportReachedMarks(false);
  }
}

// Samples a line for MBROLA makes, by its duration.
uint64_t LineSamples(const std::string& line) {
  return static_cast<uint64_t>(mbrola::LineDurationMs(line) * State().rate / 1000);
}

bool TakeArrivingSamples(void*, const short* samples, int count) {
  if (StopAsked()) return false;
  TakeSamples(samples, static_cast<size_t>(count));
  return true;
}

// Takes every sample MBROLA has ready.
void Drain() {
  OrviaState& s = State();
  for (size_t count = ReadSamples(); count > 0 && !StopAsked(); count = ReadSamples())
    TakeSamples(s.readBuffer.data(), count);
}

// What is waiting goes on now, at least the shortest block (padded with silence).
void HandWaitingBlock() {
  OrviaState& s = State();
  if (s.fileOutput || s.block.empty() || StopAsked()) return;
  if (s.block.size() < kShortestBlock) s.block.resize(kShortestBlock, 0);
  HandBlock();
}

void Send(const std::string& batch) {
  if (batch.empty() || StopAsked()) return;
  Mbr().write_MBR(batch.c_str());
  if (Mbr().lastError_MBR() != 0) ResetAfterFailure();
  Drain();
}

// All sound of the lines written is made, taken and handed on.
void Complete() {
  if (StopAsked()) return;
  Drain();
  Mbr().flush_MBR();
  if (Mbr().lastError_MBR() != 0) ResetAfterFailure();
  Drain();
  HandWaitingBlock();
}

// After a stop, what MBROLA still holds is not wanted.
void DropAfterStop() {
  OrviaState& s = State();
  if (!s.run.stopped || s.run.dropped) return;
  Mbr().reset_MBR();
  s.block.clear();
  s.run.dropped = true;
}

void WriteLines(const std::vector<std::string>& lines, bool complete) {
  std::string batch;
  batch.reserve(kBatchBytes + 128);
  for (const std::string& line : lines) {
    if (StopAsked()) break;
    if (line.empty()) continue;  // MBROLA skips blank lines
    batch += line;
    batch += '\n';
    State().run.planned += LineSamples(line);
    if (batch.size() >= kBatchBytes) {
      Send(batch);
      batch.clear();
    }
  }
  Send(batch);
  if (complete) Complete();
  DropAfterStop();
}

}  // namespace

bool OrviaBeginText() {
  OrviaState& s = State();
  if (!mbrola::MbrolaBound()) return false;
  if (s.readBuffer.empty()) s.readBuffer.assign(kReadSamples, 0);
  s.block.clear();
  s.block.reserve(kSampleArea / 2);
  s.engineError.clear();
  s.run = TextRun{.sink = s.output.sink.Samples ? s.output.sink : s.playback,
                  .open = true};
  Mbr().reset_MBR();
  // the sound goes on as it comes: waiting on MBROLA must not pile it up
  mbrola::SetSoundListener({.take = TakeArrivingSamples, .context = nullptr});
  return true;
}

bool OrviaSpeakPart(std::string_view text, uttsPortug::PlaceInText place, bool soundNow) {
  OrviaState& s = State();
  if (!s.run.open) return false;
  if (!StopAsked())
    WriteLines(uttsPortug::TextToMbrolaLines(std::string(text), s.durationFactor, s.pitchFactor,
                                             place),
               soundNow);
  return s.run.result;
}

bool OrviaSpeakPartLines(const std::vector<std::string>& lines, bool soundNow) {
  OrviaState& s = State();
  if (!s.run.open) return false;
  if (!StopAsked()) WriteLines(lines, soundNow);
  return s.run.result;
}

bool OrviaEndText() {
  OrviaState& s = State();
  if (!s.run.open) return false;
  Complete();
  ReportReachedMarks(true);
  DropAfterStop();
  s.run.open = false;
  mbrola::SetSoundListener({});
  return s.run.result;
}

bool SpeakLines(const std::vector<std::string>& lines) {
  if (!OrviaBeginText()) return false;
  WriteLines(lines, false);
  return OrviaEndText();
}

bool OrviaSpeakPieces(std::span<const platform::SpeechPiece> pieces) {
  OrviaState& s = State();
  const auto lastSpoken = std::find_if(pieces.rbegin(), pieces.rend(), [](const auto& piece) {
    return HasContent(piece.text);
  });
  if (lastSpoken == pieces.rend()) {
    // nothing to say: the marks are reached at once, unless this text is stopped already
    for (const platform::SpeechPiece& piece : pieces) {
      if (platform::StopRequested(s.output.stop)) break;
      if (!piece.mark.empty() && s.output.Mark) s.output.Mark(s.output.context, piece.mark);
    }
    return true;
  }
  // the run starts before the first mark: a stop belongs to the text it was asked for
  if (!OrviaBeginText()) return false;
  const platform::SpeechPiece* const last = &*lastSpoken;
  bool first = true;
  for (const platform::SpeechPiece& piece : pieces) {
    if (StopAsked()) break;
    if (HasContent(piece.text)) {
      // the pieces are one text: only the first opens a phrase, only the last closes it; a
      // long piece goes in parts, so that what it costs at once stays small
      const bool endsText = &piece == last;
      TakeReadyParts(piece.text, InputState::kEnded, first,
                     [endsText](std::string_view part, uttsPortug::PlaceInText place) {
                       place.last = place.last && endsText;
                       OrviaSpeakPart(part, place, false);
                     });
    }
    if (!piece.mark.empty()) {
      s.run.marks.push_back({s.run.planned, std::string(piece.mark)});
      ReportReachedMarks(false);
    }
  }
  return OrviaEndText();
}

bool OrviaSpeak(const std::string& text) {
  const platform::SpeechPiece piece{text, {}};
  return OrviaSpeakPieces(std::span<const platform::SpeechPiece>(&piece, 1));
}

}  // namespace uttsOrvia
