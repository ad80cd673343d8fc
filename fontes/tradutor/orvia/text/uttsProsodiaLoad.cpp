// TIRLA: ORVIA prosody file: durations, keyword classes, pitch patterns and pitch levels.
#include <algorithm>
#include <fstream>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsProsodiaState.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/report.h"

namespace uttsProsodia {

using uttsPortug::ParseInteger;
using uttsPortug::Trim;

namespace {

ProsodyState state;

// Start of every message about a malformed line of the prosody file.
const std::string kSetupError = "Configura\xE7\xE3o da pros\xF3" "dia: ";

// Key of a name of one or two bytes for the duration index.
size_t NameKey(std::string_view name) {
  return static_cast<unsigned char>(name[0]) << 8 |
         (name.size() > 1 ? static_cast<unsigned char>(name[1]) : 0);
}

void IndexDurations() {
  state.durationIndex.assign(1 << 16, -1);
  for (size_t i = state.durations.size(); i-- > 0;) {
    const std::string& name = state.durations[i].phoneme;
    if (!name.empty()) state.durationIndex[NameKey(name)] = static_cast<short>(i);
  }
}

// Positions the file on the line after `header`; false when the file ends first.
bool SeekSection(std::ifstream& file, std::string_view header) {
  file.clear();
  file.seekg(0);
  std::string line;
  while (std::getline(file, line)) {
    if (Trim(line) == header) return true;
  }
  return false;
}

// Next line of the current section; false at the end of the file or at a "[" line. Comment
// and empty lines are skipped.
bool NextLine(std::ifstream& file, std::string& line) {
  while (std::getline(file, line)) {
    uttsPortug::DropCarriageReturn(line);
    if (!line.empty() && line[0] == '[') return false;
    if (line.empty() || line[0] == '*' || line[0] == ';') continue;
    return true;
  }
  return false;
}

// Reports once per section that lines were dropped because a table was full.
void ReportFull(const char* table, int dropped) {
  if (dropped > 0)
    Report(kSetupError + "tabela de " + table + " cheia, " +
           std::to_string(dropped) + " linhas ignoradas");
}

bool ReadDurations(std::ifstream& file) {
  if (!SeekSection(file, "[DURA\xC7\xC3O]")) {
    Report("Dura\xE7" "\xE3" "o dos difones errada ou ausente");
    return false;
  }
  std::string line;
  int dropped = 0;
  while (NextLine(file, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Report(kSetupError + "fonema errado: " + line);
      return false;
    }
    if (static_cast<int>(state.durations.size()) >= kMaxDurations) {
      ++dropped;
      continue;
    }
    TDuracao entry{Trim(line.substr(0, eq)).substr(0, 2), 100};
    if (auto ms = ParseInteger(line.substr(eq + 1))) entry.ms = *ms;
    else Report(kSetupError + "fonema errado: " + line);
    state.durations.push_back(entry);
  }
  ReportFull("dura\xE7" "\xF5" "es", dropped);
  IndexDurations();
  return true;
}

bool ReadKeywords(std::ifstream& file) {
  if (!SeekSection(file, "[CHAVES]")) {
    Report("Pros\xF3" "dia: palavras chaves ausentes");
    return false;
  }
  std::string line;
  int dropped = 0;
  while (NextLine(file, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Report(kSetupError + "chave errada: " + line);
      return false;
    }
    if (static_cast<int>(state.keywords.size()) >= kMaxKeywords) {
      ++dropped;
      continue;
    }
    state.keywords.push_back({platform::UpperCp1252(Trim(line.substr(0, eq))),
                              platform::UpperCp1252(Trim(line.substr(eq + 1))).substr(0, 2)});
  }
  ReportFull("chaves", dropped);
  std::sort(state.keywords.begin(), state.keywords.end(),
            [](const TChave& a, const TChave& b) { return a.word < b.word; });
  for (const TChave& k : state.keywords) {
    state.keywordIndex.emplace(k.word, &k);
    state.longestKeyword = std::max(state.longestKeyword, k.word.size());
  }
  return true;
}

// "TABHERTZ=" list: ten integers for the digits 0 to 9. A value that is not an integer, and
// any digit the list does not reach, keep their previous level.
void ReadHertzTable(const std::string& list, const std::string& line) {
  size_t from = 0;
  bool bad = false;
  for (int digit = 0; digit < 10; ++digit) {
    if (from > list.size()) {
      bad = true;
      break;
    }
    size_t comma = list.find(',', from);
    std::string item = list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    if (auto v = ParseInteger(item)) state.hertzTable[digit] = *v;
    else bad = true;
    from = comma == std::string::npos ? list.size() + 1 : comma + 1;
  }
  if (bad) Report(kSetupError + "TABHERTZ precisa de dez n\xFA" "meros inteiros: " + line);
}

bool ReadPatterns(std::ifstream& file) {
  if (!SeekSection(file, "[PROS\xD3" "DIA]")) {
    Report("Pros\xF3" "dia: especifica\xE7" "\xF5" "es ausentes");
    return false;
  }
  std::string line;
  int dropped = 0;
  while (NextLine(file, line)) {
    line = platform::UpperCp1252(line);
    if (line.rfind("HERTZ=", 0) == 0) {
      if (auto v = ParseInteger(line.substr(6)); v && *v > 0) state.hertzBase = *v;
      else Report(kSetupError + "HERTZ precisa de um n\xFA" "mero inteiro positivo: " + line);
      continue;
    }
    if (line.rfind("TABHERTZ=", 0) == 0) {
      ReadHertzTable(line.substr(9), line);
      continue;
    }
    if (ReadContourLine(line)) continue;
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      Report(kSetupError + "chave errada: " + line);
      return false;
    }
    if (static_cast<int>(state.patterns.size()) >= kMaxPatterns) {
      ++dropped;
      continue;
    }
    TProsodia entry;
    std::string before = Trim(line.substr(0, eq));
    std::string* parts[3] = {&entry.previous, &entry.current, &entry.next};
    size_t from = 0;
    for (std::string* part : parts) {
      if (from > before.size()) break;
      size_t bar = before.find('|', from);
      *part = before.substr(from, bar == std::string::npos ? std::string::npos : bar - from).substr(0, 3);
      from = bar == std::string::npos ? before.size() + 1 : bar + 1;
    }
    // Pitch patterns have three characters: shorter ones are padded with the middle level.
    entry.keys[0] = PackClass(entry.previous);
    entry.keys[1] = PackClass(entry.current);
    entry.keys[2] = PackClass(entry.next);
    entry.pitch = Trim(line.substr(eq + 1)).substr(0, 3);
    entry.pitch.resize(3, '5');
    state.patterns.push_back(entry);
  }
  ReportFull("padr\xF5" "es", dropped);
  return true;
}

}  // namespace

ProsodyState& State() { return state; }

void Report(const std::string& message) {
  state.lastMessage = message;
  platform::Report(platform::Severity::kWarning, message);
}

const std::string& LastMessage() { return state.lastMessage; }

void StartProsodia() {
  state = ProsodyState{};
}

bool LoadProsody(const std::string& fileName) {
  state.durations.clear();
  state.durationIndex.clear();
  state.keywords.clear();
  state.keywordIndex.clear();
  state.longestKeyword = 0;
  state.patterns.clear();
  state.hertzBase = 230;
  state.contour = Contour{};
  std::ifstream file;
  if (!platform::OpenDataFile(fileName, file)) {
    Report("Configura\xE7" "\xE3" "o da pros\xF3" "dia n\xE3" "o foi achada");
    return false;
  }
  return ReadDurations(file) && ReadKeywords(file) && ReadPatterns(file);
}

std::string ClassOf(const std::string& word) {
  if (state.keywordIndex.empty() || word.size() > state.longestKeyword) return {};
  auto it = state.keywordIndex.find(platform::UpperCp1252(word));
  return it == state.keywordIndex.end() ? std::string() : it->second->klass;
}

int DurationOf(const std::string& phoneme) {
  if (phoneme.empty()) {  // only an empty name in the file would match
    for (const TDuracao& d : state.durations)
      if (d.phoneme.empty()) return d.ms;
    return 100;
  }
  if (phoneme.size() > 2 || state.durationIndex.empty()) return 100;
  short i = state.durationIndex[NameKey(phoneme)];
  // The key of "x" and of "x" followed by a NUL byte are the same: compare to be sure.
  if (i >= 0 && state.durations[i].phoneme == phoneme) return state.durations[i].ms;
  for (const TDuracao& d : state.durations)
    if (d.phoneme == phoneme) return d.ms;
  return 100;
}

void SetVoiceShape(VoiceShape shape) { state.voice = std::move(shape); }

int HertzBase() { return state.voice.pitchBase > 0 ? state.voice.pitchBase : state.hertzBase; }

int HertzPercent(int digit) {
  if (digit < 0 || digit > 9) return 0;
  const int percent = state.hertzTable[digit];
  // a level of 0 stays "no pitch point"; the others move toward or away from the base
  if (percent == 0 || state.voice.rangePercent == 100) return percent;
  return std::max(1, 100 + (percent - 100) * state.voice.rangePercent / 100);
}

}  // namespace uttsProsodia
