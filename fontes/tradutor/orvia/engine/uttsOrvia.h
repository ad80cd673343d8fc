// TIRLA: the face of the ORVIA engine: start, output file, factors, speak, stop, close.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "orvia/text/uttsPortugStages.h"
#include "platform/speech.h"

namespace uttsOrvia {

// Size of the WAV header the engine writes.
constexpr size_t kWaveHeaderSize = 44;
// The engine's sound: 16-bit mono, at 16000 samples per second for br4 and br1 (OrviaRate
// says the running voice's rate: br2 and br3 speak at 22050).
constexpr int kRate = 16000;
constexpr int kBits = 16;
constexpr int kChannels = 1;

// Which step of OrviaStart failed.
enum StartFailure : int {
  kStarted = 0,      // no failure
  kNoMbrola = 1,     // the mbrola program was not found
  kNoVoice = 2,      // MBROLA could not start with the voice database
  kTextData = 3,     // a data file failed (OrviaLastError says which)
  kOutputFile = 4,   // the output file could not be created or written
  kUnknownVoice = 5, // the voice table has no voice of the name asked for
};

// Puts the engine in its start state: not bound, no output file name, FileOutput false,
// both factors 1.0, no failure. Ends a running MBROLA.
void StartOrvia();

// Starts the engine (arguments cp1252; empty ones take "br4", "portug.nrl", "portug.exc",
// "portug.abr", "portug.pro", "portug.dfn"): binds MBROLA, finds the voice (by a name of the
// voice table beside the diphone list, or a path), starts MBROLA, loads the five data files
// and the voice's own diphone list, and, when an output file was named, creates it with a
// header. Without a voice table every voice is spoken as br4.
bool OrviaStart(const std::string& database, const std::string& rulesFile,
                const std::string& exceptionsFile, const std::string& abbreviationsFile,
                const std::string& prosodyFile, const std::string& diphoneListFile);

// Names the WAV file the next OrviaStart creates; empty: play through the wave output; "-":
// standard output, as the sound is made, behind a header that claims the longest length (a
// reader of a pipe takes the sound up to its end; a file is given its true sizes at close).
void OrviaSetOutputFile(const std::string& fileName);

// Sets DurationFactor and PitchFactor.
void OrviaSetFactors(double durationFactor, double pitchFactor);

// Speaks a cp1252 text; returns when MBROLA has delivered every sample (playback may go on).
// False when MBROLA reported an error or the output file could not be written.
bool OrviaSpeak(const std::string& text);

// Cuts playback short (nothing when writing to a file).
void OrviaStop();

// Whether sound is still playing; always false when writing to a file.
bool OrviaIsSpeaking();

// Completes the output file's header, releases the tables and ends MBROLA.
void OrviaClose();

// Message of the last failed data-file or header step of OrviaStart (cp1252, at most 255).
const std::string& OrviaLastError();

// Which step of the last OrviaStart failed, and MBROLA's own words about the last failure of
// the engine's start or of the last OrviaSpeak (cp1252; empty when none).
StartFailure OrviaStartFailure();
const std::string& OrviaEngineError();

// The output file named for the next start ("" plays, "-" is standard output).
const std::string& OutputFileName();

// The errno of the output file's last failure (opening or writing it), 0 when none.
int OrviaOutputError();

// Samples per second of the running voice's sound (kRate before a start).
int OrviaRate();

// Current factors and output mode.
double DurationFactor();
double PitchFactor();
bool FileOutput();

// Fills the 44-byte WAV header at `destination`.
void BuildWaveHeader(uint8_t* destination, int sampleRate, int bitsPerSample, uint32_t dataSize,
                     int channels);

// Connects the engine: where the samples go when no output file is open (no sink: the
// playback sink), what stops a text, who hears the index marks. StartOrvia disconnects it.
void OrviaSetOutput(const platform::SpeechOutput& output);

// The program's sound device, which plays a text spoken with no sink of its own (the wave
// output for tirla and orvia; none for a program that always names a sink). StartOrvia keeps it.
void OrviaSetPlayback(const platform::AudioSink& sink);

// Speaks the pieces in order, reporting each piece's mark once its samples have been handed
// on. A stop request drops the rest of the text and MBROLA's pending sound; that is not a
// failure. False as for OrviaSpeak.
bool OrviaSpeakPieces(std::span<const platform::SpeechPiece> pieces);

// A text spoken in parts as it arrives: OrviaBeginText, then OrviaSpeakPart for each part in
// order, then OrviaEndText. `soundNow` says nothing more is coming for a while: the part's
// sound is made whole and handed on before the call returns. False as for OrviaSpeak (and
// OrviaSpeakPart without OrviaBeginText).
bool OrviaBeginText();
bool OrviaSpeakPart(std::string_view text, uttsPortug::PlaceInText place, bool soundNow);
bool OrviaEndText();
// A part whose lines the caller made (TextToMbrolaLines and its own touches: pauses, pitch).
bool OrviaSpeakPartLines(const std::vector<std::string>& lines, bool soundNow);

// The synthesis loop on lines already made: writes them to MBROLA, collects the samples and
// plays or stores them, in blocks of about half a second. The second half of OrviaSpeak.
bool SpeakLines(const std::vector<std::string>& lines);

}  // namespace uttsOrvia
