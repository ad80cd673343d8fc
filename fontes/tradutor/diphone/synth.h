// TIRLA: the diphone synthesizer: speaks phonetic text by joining recorded units of the unit
// database (a sorted .IND index and a .DIF file of 8-bit samples at 11025 per second) and
// recorded sounds of the letters folder into one 64000-byte WAV image, played when full.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/speech.h"
#include "platform/stop.h"

namespace synth {

// Results of InitDiphoneSynth.
enum InitStatus : int {
  kStarted = 0,            // ready to speak
  kNoUnits = 1,            // a folder, the .IND or the .DIF could not be opened or is damaged
  kNoTranslatorFiles = 2,  // regras.rgr or portug.exc could not be loaded
};

// The sound: 8-bit unsigned mono at 11025 samples per second, silence 128.
constexpr int kSampleRate = 11025;
constexpr uint8_t kSilence = 128;
// The speech buffer: a 44-byte WAV header, then at most 63956 samples.
constexpr size_t kSpeechBufferSize = 64000;
constexpr size_t kHeaderSize = 44;
constexpr size_t kMaxSamples = kSpeechBufferSize - kHeaderSize;
// One .IND entry: name length, 8 name bytes, 16-bit length, 32-bit offset.
constexpr size_t kIndexEntrySize = 15;
constexpr size_t kMaxUnitName = 8;
// Samples of noise that stand for a missing unit of a short name.
constexpr int kNoiseSamples = 300;

// What the synthesizer needs of the front-end, set once at start. Null entries: the header
// is written by platform::WriteWavHeader, the sound is dropped, nothing is ever speaking,
// every buffer is played by PlayWaveBuffer, nothing stops a text.
struct SoundHooks {
  // Writes the 44-byte header in front of `dataSize` sample bytes.
  void (*MakeWaveHeader)(uint8_t* buffer, uint32_t dataSize, int rate, int channels,
                         int bits) = nullptr;
  // Plays a WAV image and returns when it has been heard (or stopped): the last buffer of a
  // text.
  void (*PlayWaveBuffer)(const uint8_t* image, size_t size) = nullptr;
  // True while sound is still playing; a waiting key stops it and answers false.
  bool (*IsSpeaking)() = nullptr;
  // Queues a WAV image behind the sound playing and returns without waiting for it to be
  // heard: the other buffers of a text, so that they follow each other without a gap.
  void (*QueueWaveBuffer)(const uint8_t* image, size_t size) = nullptr;
  // Asked before each group: a text that should stop ends at once, what it made unplayed.
  platform::StopToken stop;
};

// How a unit that could not be read ended.
enum class UnitOutcome { kNoise, kDropped };

// Watches the unit look-ups (tools and measurements).
struct UnitObserver {
  void* context = nullptr;
  // When set, nothing is read: hears every name the unit reader (upper case, "$...") or the
  // recorded-sound reader ("_...") would look up, and its answer stands for "found". The
  // database builder collects the names it must render this way.
  bool (*Collect)(void* context, std::string_view name) = nullptr;
  // Hears each name whose look-up and fallbacks ended in noise or in silence.
  void (*Missed)(void* context, std::string_view name, UnitOutcome outcome) = nullptr;
};

// Puts the module in its start state: "DIFONES2", cut 400, minimum 0, word pause 100, not
// started, no hooks, no observer; switches off the wave output's FastRate and CompactMode.
void StartSynth();

// Connects the front-end's sound operations.
void SetSoundHooks(const SoundHooks& hooks);

// Sets (or, with an empty observer, removes) the look-up observer.
void SetUnitObserver(const UnitObserver& observer);

// Opens [TRADUTOR] dirLetras and DIRDIFONES, the unit files UnitBaseName().IND/.DIF found
// there (the index checked whole against the data file: see IndexProblem), the translator's
// rules and exceptions, and the speech buffer. A second start releases what the first held.
// Nothing opened before a failure is released, except a damaged database.
InitStatus InitDiphoneSynth();

// Releases the speech buffer, the rules, the data file and the index. Safe when not started.
void CloseDiphoneSynth();

// Whether InitDiphoneSynth last returned kStarted and no close followed.
bool SynthStarted();

// Why the last InitDiphoneSynth failed, naming the file or folder (cp1252, no full stop);
// empty after a start.
const std::string& StartProblem();

// Speaks phonetic text (cp1252) and returns when all of it has been played, or at once when
// the hooks' stop token asks (having asked IsSpeaking, which silences what plays). With
// `spellPunctuation` a spelled comma, full stop, colon or semicolon plays its recorded sound;
// without, it is a pause.
void SpeakPhonetic(std::string_view phonetic, bool spellPunctuation);

// Samples cut from the end of unstressed units, the length below which the cut stops, and the
// silence after a word (sample counts).
void SetSynthParameters(int cut, int minimum, int wordPause);

// Base name of the unit files, at most 8 characters (longer names are cut).
void SetUnitBaseName(std::string_view name);
const std::string& UnitBaseName();

// The folders in use since the last start ('/'-separated, ending in '/').
const std::string& LettersDir();
const std::string& UnitsDir();

// Number of units in the loaded index.
size_t UnitCount();

// The synthesizer as a row of the engine table: Start opens the database, Speak translates
// each piece and speaks it (marks follow their sound), End closes. Speed and pitch are the
// recordings' own: the front-end picks the unit files per speed level.
const platform::SpeechEngine& DiphoneEngine();

}  // namespace synth
