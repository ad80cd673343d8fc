// TIRLA: ORVIA as a row of the engine table: its data files, its speed and pitch levels, and
// the start, speak, is-speaking, stop and end every engine offers.
#pragma once
#include <string>

#include "platform/speech.h"

namespace uttsOrvia {

// The voice and data files the row starts the engine with.
struct EngineFiles {
  std::string database;    // MBROLA voice id or path (cp1252); empty: "br4"
  std::string dataFolder;  // folder of the data files
  std::string baseName;    // their name without extension; empty: "portug"
};

// Sets the files of every later start; until then they are those of the configuration
// ([ORVIATTS] MBROLA_DB, DIR and BASE).
void SetEngineFiles(const EngineFiles& files);
const EngineFiles& CurrentEngineFiles();

// The levels the voice can say: from half the normal rate (−12) to four times it (9), and
// from about half the normal pitch (−5) to twice it (11). Beyond them MBROLA is asked for
// pauses of seconds, durations of zero or pitches of kilohertz.
constexpr int kSlowestSpeed = -12;
constexpr int kFastestSpeed = 9;
constexpr int kLowestPitch = -5;
constexpr int kHighestPitch = 11;

// The engine's factors for the integer speed and pitch levels: 0.8 − speed ÷ 15 and
// (pitch + 11) ÷ 11, so speed 0 is a duration factor of 0.8 and pitch 11 doubles the pitch.
// A level beyond the voice's counts as the nearest one it can say.
double DurationFactorFor(int speed);
double PitchFactorFor(int pitch);

// The row. Start passes the option text as the output file; every speak, stop and
// is-speaking posts the engine wake-up message so that waits wake.
const platform::SpeechEngine& OrviaEngine();

// What went wrong, in the user's words (UTF-8), for every program that shows it: why the last
// start failed, naming the voice, the data folder or the output file; after a start that
// worked, how MBROLA failed while speaking; empty when nothing failed.
std::string OrviaFailureText();

// That writing to `fileName` ("-": standard output) failed, and the system's reason `error`
// (0: none known), in the user's words (UTF-8).
std::string OutputFailureText(const std::string& fileName, int error);

}  // namespace uttsOrvia
