// TIRLA: ORVIA exceptions dictionary: words the rules would get wrong, with their respellings.
#include <algorithm>
#include <fstream>

#include "orvia/uttsPortug.h"
#include "orvia/uttsPortugCase.h"

namespace uttsPortug {
namespace {

constexpr size_t kMaxExceptions = 15000;  // entries kept; later lines are ignored
constexpr size_t kMaxLine = 255;          // characters read of a line

struct Exception {
  std::string palavra;  // the word, upper case
  std::string alias;    // its respelling, upper case
};

struct ExceptionsState {
  std::vector<Exception> table;  // sorted by word (byte order) after loading
};

ExceptionsState state;

const Exception* Find(const std::string& word) {
  auto it = std::lower_bound(state.table.begin(), state.table.end(), word,
                             [](const Exception& e, const std::string& w) { return e.palavra < w; });
  return it != state.table.end() && it->palavra == word ? &*it : nullptr;
}

}  // namespace

void ReleaseExceptions() { state.table.clear(); }

bool LoadExceptions(const std::string& fileName) {
  state.table.clear();
  std::ifstream file(fileName, std::ios::binary);
  if (!file) return false;
  std::string line;
  while (state.table.size() < kMaxExceptions && std::getline(file, line)) {
    DropCarriageReturn(line);
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    if (line.empty()) continue;
    line = UpperAnsi(line) + "|=|";
    size_t eq = line.find('=');
    size_t bar = line.find('|', eq + 1);
    state.table.push_back({line.substr(0, eq), line.substr(eq + 1, bar - eq - 1)});
  }
  std::sort(state.table.begin(), state.table.end(),
            [](const Exception& a, const Exception& b) { return a.palavra < b.palavra; });
  return true;
}

int ExceptionCount() { return static_cast<int>(state.table.size()); }

void LookUpException(std::string& word) {
  std::string rest = word;
  std::string suffix;
  while (!rest.empty()) {
    if (const Exception* hit = Find(rest)) {
      word = hit->alias + suffix;
      return;
    }
    char last = rest.back();
    if (last != 'S' && last != 'M') return;
    suffix.insert(suffix.begin(), last);
    rest.pop_back();
  }
}

}  // namespace uttsPortug
