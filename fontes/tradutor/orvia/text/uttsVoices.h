// TIRLA: the MBROLA voices ORVIA can speak with, from the voice table (portug.voz): which
// names choose each, its sex, pitch, durations, diphone list and phoneme names.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace uttsVoices {

// One row of the voice table.
struct Voice {
  std::string name;          // the MBROLA voice id ("br1"), lower case
  std::string voiceType;     // the Speech Dispatcher voice type that chooses it ("male1")
  int rate = 16000;          // samples per second the voice speaks at
  int pitchBase = 0;         // Hz; takes the place of the prosody file's HERTZ
  int rangePercent = 100;    // how far the pitch moves from its base, percent of the file's
  int durationPercent = 100; // percent of every duration
  std::string diphones;      // the voice's diphone list, a file name in the data folder
  std::vector<std::string> aliases;                          // other names, lower case
  std::vector<std::pair<std::string, std::string>> renames;  // ORVIA name -> the voice's
};

// Whether the voice is male (its voice type says so).
bool IsMale(const Voice& voice);

// Puts the module in its start state: no table.
void StartVoices();

// Reads the voice table (cp1252). Empty result on success, else the Portuguese message
// (cp1252) naming the line that is wrong; the table is then empty.
std::string LoadVoices(const std::string& fileName);

// The table's rows in file order; the first is the voice used when none is asked for.
const std::vector<Voice>& Voices();

// The row a user's name asks for: a voice id or alias in any case, or the path of a voice
// database (its file name decides); empty: the first row. Null when none matches.
const Voice* FindVoice(std::string_view asked);

// The row whose voice type is `voiceType` (case ignored); null when none.
const Voice* VoiceOfType(std::string_view voiceType);

// The ids of the table with their aliases, "br4 (pt-br, pt), br1 e br2", for messages.
std::string VoiceList();

// The voice table that goes with a diphone list: the same folder, "portug.voz".
std::string VoiceTableFor(const std::string& diphoneList);

// Makes `voice` the one the prosody stage speaks for: its diphone list (from `folder`, unless
// it is the one loaded already, `loadedList`), names, pitch and durations. Empty result on
// success, else the Portuguese message (cp1252) saying which file failed.
std::string UseVoice(const Voice& voice, const std::string& folder, const std::string& loadedList);

}  // namespace uttsVoices
