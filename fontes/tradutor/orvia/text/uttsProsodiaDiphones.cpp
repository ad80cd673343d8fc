// TIRLA: ORVIA diphone list: the name pairs the MBROLA voice has.
#include <algorithm>
#include <fstream>

#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsProsodia.h"
#include "orvia/text/uttsProsodiaState.h"
#include "platform/codepage.h"
#include "platform/datafile.h"

namespace uttsProsodia {
namespace {

// A character of a phoneme name: its upper-case form is '2', '@'..'Z' or '_'.
bool IsNameChar(char c) {
  unsigned char u = platform::UpperCp1252(static_cast<unsigned char>(c));
  return u == '2' || (u >= 64 && u <= 90) || u == '_';
}

// "a-b" from a line of the file: the name at its start, one separator character skipped,
// any other characters skipped, then the second name.
std::string PairOf(const std::string& line) {
  size_t i = 0;
  while (i < line.size() && IsNameChar(line[i])) ++i;
  std::string first = line.substr(0, i);
  if (i < line.size()) ++i;
  while (i < line.size() && !IsNameChar(line[i])) ++i;
  size_t start = i;
  while (i < line.size() && IsNameChar(line[i])) ++i;
  return first + "-" + line.substr(start, i - start);
}

// 16-bit key of a name of one or two bytes as written; -1 for other names.
int NameKey(std::string_view name) {
  if (name.empty() || name.size() > 2) return -1;
  unsigned char first = static_cast<unsigned char>(name[0]);
  unsigned char second = name.size() > 1 ? static_cast<unsigned char>(name[1]) : 0;
  if (first == 0 || (name.size() > 1 && second == 0)) return -1;
  return first << 8 | second;
}

// The id of a short name as written (0 when it has none). The list gives each name an id
// under every spelling of its case, so lookups need no case mapping.
int IdOf(std::string_view name) {
  const ProsodyState& s = State();
  int key = NameKey(name);
  return key < 0 || s.nameId.empty() ? 0 : s.nameId[key];
}

// Gives a short name of the list an id (under all its case spellings); 0 when it cannot.
int AddName(std::string_view name, int& lastId) {
  ProsodyState& s = State();
  int key = NameKey(name);
  if (key < 0) return 0;
  if (s.nameId[key] != 0) return s.nameId[key];
  if (lastId >= 255) return 0;
  int id = ++lastId;
  std::string lower = platform::LowerCp1252(name), upper = platform::UpperCp1252(name);
  for (int variant = 0; variant < 4; ++variant) {
    std::string spelled = lower;
    for (size_t i = 0; i < spelled.size(); ++i)
      if (variant >> i & 1) spelled[i] = upper[i];
    int k = NameKey(spelled);
    if (k >= 0) s.nameId[k] = static_cast<uint8_t>(id);
  }
  return id;
}

}  // namespace

bool HasPair(std::string_view previous, std::string_view current) {
  int a = IdOf(previous), b = IdOf(current);
  if (a && b) return State().pairBits[a << 8 | b] != 0;
  std::string pair(previous);
  pair += '-';
  pair += current;
  return HasDiphone(pair);
}

bool LoadDiphoneList(const std::string& fileName) {
  ProsodyState& s = State();
  s.diphones.clear();
  s.nameId.assign(1 << 16, 0);
  s.pairBits.assign(1 << 16, 0);
  int lastId = 0;
  std::ifstream file;
  if (!platform::OpenDataFile(fileName, file)) return false;
  std::string line;
  while (std::getline(file, line)) {
    line = uttsPortug::Trim(line);
    if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
    std::string pair = platform::LowerCp1252(PairOf(line));
    size_t dash = pair.find('-');
    int a = AddName(std::string_view(pair).substr(0, dash), lastId);
    int b = AddName(std::string_view(pair).substr(dash + 1), lastId);
    if (a && b) s.pairBits[a << 8 | b] = 1;
    s.diphones.insert(std::move(pair));
  }
  return platform::ReadWithoutError(file);
}

void ReleaseDiphoneList() {
  State().diphones.clear();
  State().nameId.clear();
  State().pairBits.clear();
}

bool HasDiphone(const std::string& pair) {
  const PairSet& set = State().diphones;
  for (char c : pair) {
    if (platform::LowerCp1252(static_cast<unsigned char>(c)) != static_cast<unsigned char>(c))
      return set.count(platform::LowerCp1252(pair)) != 0;
  }
  return set.find(std::string_view(pair)) != set.end();
}

}  // namespace uttsProsodia
