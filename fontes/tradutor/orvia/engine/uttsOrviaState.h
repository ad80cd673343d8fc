// TIRLA: the ORVIA engine's state, shared by its start/close and its synthesis driver.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "orvia/engine/uttsOrvia.h"

namespace uttsOrvia {

// Bytes of the block of samples handed on at once.
constexpr size_t kSampleArea = 32000;
// Samples asked of MBROLA per read.
constexpr int kReadSamples = 16000;
// A block is handed over once this many sample bytes are waiting.
constexpr size_t kHandOver = 16000;

// An index mark of the text and the sample it falls on: the samples of the lines before it.
struct PendingMark {
  uint64_t at = 0;
  std::string name;
};

// The text being spoken: where its blocks go, its marks still ahead, and how it went.
struct TextRun {
  platform::AudioSink sink;  // the connected sink, or the wave output
  bool open = false;         // between OrviaBeginText and OrviaEndText
  bool result = true;        // false once MBROLA, the file or the sink failed
  bool stopped = false;      // the stop token asked to stop
  bool dropped = false;      // MBROLA's pending sound was dropped after the stop
  uint64_t planned = 0;      // samples the lines written so far make, by their durations
  uint64_t taken = 0;        // samples taken from MBROLA so far
  std::vector<PendingMark> marks;  // in text order; those before `nextMark` are reported
  size_t nextMark = 0;
};

struct OrviaState {
  std::string outputFileName;                 // set by OrviaSetOutputFile; "" = play
  bool fileOutput = false;                    // FileOutput: samples go to the output file
  int outputFd = -1;                          // the output file, open while fileOutput
  long long headerAt = -1;                    // where its header is; -1: sizes not rewritable
  uint64_t outputBytes = 0;                   // sample bytes written to it
  int outputError = 0;                        // OrviaOutputError
  double durationFactor = 1.0;                // DurationFactor
  double pitchFactor = 1.0;                   // PitchFactor
  int rate = kRate;                           // OrviaRate: the running voice's samples per second
  std::string lastError;                      // OrviaLastError
  StartFailure startFailure = kStarted;       // step of the last OrviaStart that failed
  std::string engineError;                    // MBROLA's words on its last failure
  std::vector<int16_t> block;                 // samples waiting to be handed on
  std::vector<short> readBuffer;              // target of every read_MBR
  platform::SpeechOutput output;              // sink, stop token and mark listener
  platform::AudioSink playback;               // the program's sound device, for no sink
  TextRun run;                                // the text being spoken
  bool standardOutput = false;                // the output file is standard output ("-")

  OrviaState() = default;
  OrviaState(const OrviaState&) = delete;     // owns the output file
  OrviaState& operator=(const OrviaState&) = delete;
  OrviaState& operator=(OrviaState&&) = default;
};

OrviaState& State();

// Writes sample bytes to the output file, then its header's sizes; false when it failed.
bool WriteOutput(const void* bytes, size_t count);

}  // namespace uttsOrvia
