// TIRLA: ORVIA exceptions dictionary: words the rules would get wrong, with their respellings.
#include <algorithm>
#include <fstream>
#include <string_view>
#include <unordered_map>

#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugWordCache.h"
#include "platform/codepage.h"
#include "platform/datafile.h"

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
  std::unordered_map<std::string_view, const Exception*> index;  // word to its entry
  size_t longest = 0;                                              // longest word listed

  ExceptionsState() = default;
  ExceptionsState(const ExceptionsState&) = delete;  // the index points into the table
  ExceptionsState& operator=(const ExceptionsState&) = delete;
  ExceptionsState& operator=(ExceptionsState&&) = default;
};

ExceptionsState state;

const Exception* Find(std::string_view word) {
  auto it = state.index.find(word);
  return it == state.index.end() ? nullptr : it->second;
}

}  // namespace

void ReleaseExceptions() {
  ForgetWords();
  state.index.clear();
  state.longest = 0;
  state.table.clear();
}

bool LoadExceptions(const std::string& fileName) {
  ReleaseExceptions();
  std::ifstream file;
  if (!platform::OpenDataFile(fileName, file)) return false;
  std::string line;
  while (state.table.size() < kMaxExceptions && std::getline(file, line)) {
    DropCarriageReturn(line);
    if (line.size() > kMaxLine) line.resize(kMaxLine);
    if (line.empty()) continue;
    line = platform::UpperCp1252(line) + "|=|";
    size_t eq = line.find('=');
    size_t bar = line.find('|', eq + 1);
    state.table.push_back({line.substr(0, eq), line.substr(eq + 1, bar - eq - 1)});
  }
  std::sort(state.table.begin(), state.table.end(),
            [](const Exception& a, const Exception& b) { return a.palavra < b.palavra; });
  for (const Exception& e : state.table) {
    state.index.emplace(e.palavra, &e);
    state.longest = std::max(state.longest, e.palavra.size());
  }
  return platform::ReadWithoutError(file);
}

int ExceptionCount() { return static_cast<int>(state.table.size()); }

void LookUpException(std::string& word) {
  if (state.index.empty()) return;
  std::string_view rest = word;
  while (!rest.empty()) {
    const Exception* hit = rest.size() <= state.longest ? Find(rest) : nullptr;
    if (hit) {
      word = hit->alias + word.substr(rest.size());  // the stripped letters come back
      return;
    }
    char last = rest.back();
    if (last != 'S' && last != 'M') return;
    rest.remove_suffix(1);
  }
}

}  // namespace uttsPortug
