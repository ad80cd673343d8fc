// TIRLA: the ORVIA engine's state, shared by its start/close and its synthesis driver.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "orvia/uttsOrvia.h"

namespace uttsOrvia {

// Bytes of the sample area behind the wave block's header, and of the read buffer.
constexpr size_t kSampleArea = 32000;
// Samples asked of MBROLA per read.
constexpr int kReadSamples = 16000;
// A block is handed over once this many sample bytes are waiting.
constexpr size_t kHandOver = 16000;

struct OrviaState {
  std::string outputFileName;                 // set by OrviaSetOutputFile; "" = play
  bool fileOutput = false;                    // FileOutput: samples go to the output file
  FILE* outputFile = nullptr;                 // open while fileOutput
  double durationFactor = 1.0;                // DurationFactor
  double pitchFactor = 1.0;                   // PitchFactor
  std::string lastError;                      // OrviaLastError
  StartFailure startFailure = kStarted;       // step of the last OrviaStart that failed
  std::string engineError;                    // MBROLA's words on its last failure
  std::vector<uint8_t> waveBlock;             // 44-byte header + sample area
  std::vector<short> readBuffer;              // target of every read_MBR
  BlockSink sink = nullptr;                   // where blocks go; nullptr = wave output
};

OrviaState& State();

}  // namespace uttsOrvia
