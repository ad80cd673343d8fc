// TIRLA: ORVIA diphone list: the name pairs the MBROLA voice has.
#include <algorithm>
#include <fstream>

#include "orvia/uttsPortugCase.h"
#include "orvia/uttsProsodia.h"
#include "orvia/uttsProsodiaState.h"

namespace uttsProsodia {
namespace {

// A character of a phoneme name: its upper-case form is '2', '@'..'Z' or '_'.
bool IsNameChar(char c) {
  unsigned char u = uttsPortug::UpperAnsi(static_cast<unsigned char>(c));
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

}  // namespace

bool LoadDiphoneList(const std::string& fileName) {
  ProsodyState& s = State();
  s.diphones.clear();
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return false;
  std::string line;
  while (std::getline(file, line)) {
    line = uttsPortug::Trim(line);
    if (line.empty() || line[0] == '!' || line[0] == '*' || line[0] == ';') continue;
    s.diphones.push_back(uttsPortug::LowerAnsi(PairOf(line)));
  }
  std::sort(s.diphones.begin(), s.diphones.end());
  return true;
}

void ReleaseDiphoneList() { State().diphones.clear(); }

bool HasDiphone(const std::string& pair) {
  const auto& list = State().diphones;
  return std::binary_search(list.begin(), list.end(), uttsPortug::LowerAnsi(pair));
}

}  // namespace uttsProsodia
