// TIRLA: the diphone synthesizer's state and its steps, shared by its source files and tests.
#pragma once
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "diphone/synth.h"
#include "platform/byteset.h"

namespace synth {

// Silences of the spelled punctuation marks when they are not spelled (samples).
constexpr int kCommaPause = 4000;
constexpr int kPeriodPause = 8000;
constexpr int kSemicolonPause = 6000;
constexpr int kColonPause = 8000;

// Vowels of unit names: the stressed ones, the others and the glides.
inline constexpr platform::ByteSet kUnitVowels("AEIOUaeiouwy");

struct FileCloser {
  void operator()(FILE* f) const { fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

struct SynthState {
  std::string unitBaseName = "DIFONES2";  // UnitBaseName
  int unitCut = 400;                      // UnitCut
  int unitMinimum = 0;                    // UnitMinimum
  int wordPause = 100;                    // WordPause
  std::string lettersDir;                 // LettersDir, ending in '/'
  std::string unitsDir;                   // UnitsDir, ending in '/'
  std::vector<uint8_t> index;             // the whole .IND file
  std::string startProblem;               // why the last start failed (cp1252), else empty
  File data;                              // the open .DIF file
  bool started = false;                   // the last start succeeded
  std::vector<uint8_t> speechBuffer;      // SpeechBuffer: header, then samples
  size_t speechFill = kHeaderSize;        // SpeechFill: next free byte
  int groupMode = 1;                      // GroupMode: 1 word start, 2 stressed, 0 after
  SoundHooks hooks;                       // the front-end's sound operations
  UnitObserver observer;                  // look-up observer (tools)
  std::minstd_rand noise;                 // the noise of missing short units
};

SynthState& State();

// Why the unit index `index` cannot serve the data file `dataName` of `dataSize` bytes
// (cp1252, to follow the index's name), or empty: entries whole, names of at most 8 bytes each
// strictly after the one before, every unit inside the data file. A damaged database would
// speak fragments.
std::string IndexProblem(const std::vector<uint8_t>& index, uint64_t dataSize,
                         std::string_view dataName);

// Reads the next group from `text` at `readPos` (0-based, moved past it). Unspelled
// punctuation gives an empty group and appends its pause.
std::string NextUnitGroup(std::string_view text, size_t& readPos, bool spellPunctuation);

// Splits a group into units and plays them at `factor` of their length.
void SplitGroup(std::string_view group, double factor);

// Names the units of a split group and plays them; a stressed vowel lifts the cut.
void EmitGroup(std::string_view group, double factor);

// Plays one unit or recorded sound, with the fallbacks for missing ones.
void PlayUnit(std::string_view name, int mode, double factor);

// Appends the samples of a database unit; false when the index lacks it.
bool ReadUnit(std::string_view name, int mode, double factor);

// Appends the data of the recorded sound LettersDir + name + ".wav"; false when missing,
// empty, or not 8-bit mono.
bool PlayRecordedSound(std::string_view name);

// Finds the data chunk of an open WAV file: its size (0 when the file is not a WAV file), the
// file standing at the first sample.
uint64_t FindWavData(FILE* file);

// Appends n div 100 blocks of 100 silent samples.
void AppendSilence(int n);

// Makes room for n samples: a buffer that would reach its end is queued first.
void ReserveSpace(size_t n);

// Plays what the buffer holds and empties it: the last buffer of a text is waited for until
// heard, the others are only queued.
enum class Flush { kQueue, kLastOfText };
void FlushSpeech(Flush flush);

// Ends a unit cut short, the `count` samples before the buffer's fill: back to the zero
// crossing within 2 ms before the cut, then a 2.5 ms fade, so that the unit never drops from
// mid-wave to the silence the next one starts from. Returns the samples kept.
size_t EndCutUnit(size_t count);

}  // namespace synth
