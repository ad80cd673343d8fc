// TIRLA: the voice table: reading it, finding a voice by a user's name, making it the voice
// the prosody stage speaks for.
#include "orvia/text/uttsVoices.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"

namespace uttsVoices {
namespace {

constexpr const char* kTableName = "portug.voz";
constexpr int kFixedColumns = 8;  // voz tipo taxa tom faixa duracao difones apelidos
constexpr const char* kNoAliases = "-";
// What a row's numbers may be: samples per second, pitch in Hz, range and durations in percent.
constexpr int kLowestRate = 8000, kHighestRate = 48000;
constexpr int kLowestPitch = 40, kHighestPitch = 400;
constexpr int kLowestPercent = 10, kHighestPercent = 400;

struct VoicesState {
  std::vector<Voice> table;  // file order
};

VoicesState& State() {
  static VoicesState state;
  return state;
}

// A number of a row within [lowest, highest]; false when it is not one.
bool ReadNumber(const std::string& text, int lowest, int highest, int& value) {
  const std::optional<int> number = uttsPortug::ParseInteger(text);
  if (!number || *number < lowest || *number > highest) return false;
  value = *number;
  return true;
}

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream in(text);
  for (std::string part; std::getline(in, part, separator);)
    if (!part.empty()) parts.push_back(platform::LowerCp1252(part));
  return parts;
}

// One row from its words; false when a column is wrong.
bool ReadRow(const std::vector<std::string>& words, Voice& voice) {
  if (words.size() < kFixedColumns) return false;
  voice.name = platform::LowerCp1252(words[0]);
  voice.voiceType = platform::LowerCp1252(words[1]);
  voice.diphones = words[6];
  if (!ReadNumber(words[2], kLowestRate, kHighestRate, voice.rate) ||
      !ReadNumber(words[3], kLowestPitch, kHighestPitch, voice.pitchBase) ||
      !ReadNumber(words[4], kLowestPercent, kHighestPercent, voice.rangePercent) ||
      !ReadNumber(words[5], kLowestPercent, kHighestPercent, voice.durationPercent))
    return false;
  if (words[7] != kNoAliases) voice.aliases = SplitAt(words[7], ',');
  for (size_t i = kFixedColumns; i < words.size(); ++i) {
    const size_t equals = words[i].find('=');
    if (equals == 0 || equals == std::string::npos || equals + 1 == words[i].size()) return false;
    voice.renames.emplace_back(words[i].substr(0, equals), words[i].substr(equals + 1));
  }
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  return platform::LowerCp1252(a) == platform::LowerCp1252(b);
}

}  // namespace

bool IsMale(const Voice& voice) { return voice.voiceType.starts_with("male"); }

void StartVoices() { State() = VoicesState{}; }

std::string LoadVoices(const std::string& fileName) {
  VoicesState& s = State();
  s.table.clear();
  std::ifstream file;
  if (!platform::OpenDataFile(fileName, file))
    return "tabela de vozes " + fileName + ": " + platform::DataFileProblem(fileName);
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    line = uttsPortug::Trim(line.substr(0, line.find(';')));
    if (line.empty()) continue;
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    Voice voice;
    if (!ReadRow(words, voice)) {
      s.table.clear();
      return "tabela de vozes " + fileName + ", linha " + std::to_string(number) +
             ": esperava \"voz tipo taxa tom faixa dura\xE7\xE3o difones apelidos [orvia=voz...]\"";
    }
    s.table.push_back(std::move(voice));
  }
  if (!platform::ReadWithoutError(file)) {
    s.table.clear();
    return "tabela de vozes " + fileName + ": n\xE3o p\xF4" "de ser lida por inteiro";
  }
  return {};
}

const std::vector<Voice>& Voices() { return State().table; }

const Voice* FindVoice(std::string_view asked) {
  const std::vector<Voice>& table = State().table;
  if (table.empty()) return nullptr;
  if (asked.empty()) return &table.front();
  // a database path is known by its file name
  const std::string name = std::filesystem::path(std::string(asked)).filename().string();
  for (const Voice& voice : table) {
    if (SameName(voice.name, name)) return &voice;
    for (const std::string& alias : voice.aliases)
      if (SameName(alias, name)) return &voice;
  }
  return nullptr;
}

const Voice* VoiceOfType(std::string_view voiceType) {
  for (const Voice& voice : State().table)
    if (SameName(voice.voiceType, voiceType)) return &voice;
  return nullptr;
}

std::string VoiceList() {
  const std::vector<Voice>& table = State().table;
  std::string list;
  for (size_t i = 0; i < table.size(); ++i) {
    if (i > 0) list += i + 1 == table.size() ? " e " : ", ";
    list += table[i].name;
    for (size_t a = 0; a < table[i].aliases.size(); ++a)
      list += (a == 0 ? " (" : ", ") + table[i].aliases[a];
    if (!table[i].aliases.empty()) list += ')';
  }
  return list;
}

std::string VoiceTableFor(const std::string& diphoneList) {
  return platform::FindFileNoCase(std::filesystem::path(diphoneList).parent_path().string(),
                                  kTableName);
}

std::string UseVoice(const Voice& voice, const std::string& folder, const std::string& loadedList) {
  const std::string list = platform::FindFileNoCase(folder, voice.diphones);
  if (list != loadedList && !uttsProsodia::LoadDiphoneList(list)) {
    const std::string why = platform::DataFileProblem(list);
    return "lista de difones da voz " + voice.name + " (" + list + "): " +
           (why.empty() ? "n\xE3o p\xF4" "de ser lida por inteiro" : why);
  }
  uttsProsodia::SetVoiceShape({.pitchBase = voice.pitchBase,
                               .rangePercent = voice.rangePercent,
                               .durationPercent = voice.durationPercent,
                               .renames = voice.renames});
  return {};
}

}  // namespace uttsVoices
