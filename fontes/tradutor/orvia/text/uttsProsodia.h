// TIRLA: ORVIA prosody tables, tokens, pitch patterns, durations, pitch points and fillers.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace uttsProsodia {

using Lines = std::vector<std::string>;

// Table capacities; extra lines of a file are dropped with one message.
constexpr int kMaxDurations = 100;
constexpr int kMaxKeywords = 1000;
constexpr int kMaxPatterns = 300;

// Puts the module in its start state: empty tables, HertzBase 230, HertzTable all 0,
// empty diphone list. The loaders' messages go to the program's report sink
// (platform/report.h).
void StartProsodia();

// Last message the loaders gave (empty when none since StartProsodia).
const std::string& LastMessage();

// Reads the prosody file: [DURAÇÃO], [CHAVES], [PROSÓDIA] sections in any order. Resets
// the tables and HertzBase first. False, with a message, when the file or a section is
// missing or a line has no "=". Non-integer values keep their defaults, with a message.
bool LoadProsody(const std::string& fileName);

// Reads the diphone list ("a-b" per line, case ignored). False when the file cannot be opened
// or read (a folder is no file).
bool LoadDiphoneList(const std::string& fileName);

// Frees the diphone list.
void ReleaseDiphoneList();

// Whether the voice has the pair "a-b" (case ignored).
bool HasDiphone(const std::string& pair);

// Class code of a word from the [CHAVES] table, or "" when unlisted.
std::string ClassOf(const std::string& word);

// Base duration of a phoneme in ms; 100 when unlisted.
int DurationOf(const std::string& phoneme);

// How the voice spoken for differs from the prosody file: its own pitch base, how far its
// pitch moves and how long it speaks, and its names for some of ORVIA's phonemes.
struct VoiceShape {
  int pitchBase = 0;          // Hz; 0: the file's HERTZ
  int rangePercent = 100;     // distance of each pitch level from the base, percent of the file's
  int durationPercent = 100;  // percent of every duration
  std::vector<std::pair<std::string, std::string>> renames;  // ORVIA name -> the voice's
};

// Speaks for a voice shaped so from now on (StartProsodia goes back to the file's voice). The
// diphone list is the voice's own and written with its names.
void SetVoiceShape(VoiceShape shape);

// The name the voice spoken for gives an ORVIA phoneme ("an" is "am" in br1).
std::string VoiceName(const std::string& orviaName);

// Base pitch in Hz and the percentage for a pattern digit 0..9 (0 outside), the voice's
// shape applied.
int HertzBase();
int HertzPercent(int digit);

// Splits preprocessed text into token lines "[CC]text"; "[--]" marks phrase boundaries.
Lines Tokenize(const std::string& text);

// Gives every token line its three-digit pitch pattern: "ppp|text".
Lines AssignPatterns(const Lines& tokens, bool enabled);
// The same, taking the lines over instead of copying them.
Lines AssignPatterns(Lines&& tokens, bool enabled);

// Turns the phoneme list into MBROLA lines (name, duration, optional position and pitch),
// with fillers where the voice lacks a diphone.
Lines ApplyProsody(const Lines& phonemes, double durationFactor, double pitchFactor);
// The same, taking the lines over instead of copying them.
Lines ApplyProsody(Lines&& phonemes, double durationFactor, double pitchFactor);

}  // namespace uttsProsodia
