// TIRLA: ORVIA letter-to-sound rules: loading the rules file and rewriting a word into phonemes.
#include <array>
#include <climits>
#include <fstream>
#include <memory>

#include "orvia/text/uttsPortug.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugWordCache.h"
#include "platform/byteset.h"
#include "platform/codepage.h"
#include "platform/datafile.h"

namespace uttsPortug {
namespace {

constexpr size_t kContextLimit = 5;   // characters kept of a left or right context
constexpr size_t kTargetLimit = 5;    // characters kept of a target
constexpr size_t kOutputLimit = 20;   // characters kept of an output
constexpr size_t kOutputUsed = 11;    // characters of an output that are written
constexpr int kNoStress = INT_MAX;    // stress position that no letter reaches

// One context rule: left(target)right=output.
struct LetterRule {
  std::string left;    // pattern immediately left of the target
  std::string target;  // letters consumed, never empty
  std::string right;   // pattern immediately right of the target
  std::string output;  // phoneme names separated by '&'
  platform::ByteSet next;  // bytes that may follow the rule's first letter (kWordEnd for the
                           // word's end): a quick test before the whole match
};

constexpr char kWordEnd = 0;  // stands for the end of the word in LetterRule::next

struct RulesState {
  std::array<std::vector<LetterRule>, 256> chains;  // rules by the first byte of their target
  int count = 0;                                    // rules kept
  int skipped = 0;                                  // lines refused: empty target
};

RulesState state;

// A letter class of the context patterns: the upper-case letters and their lower-case forms.
platform::ByteSet BothCases(std::string_view upper) {
  return platform::ByteSet(upper).Add(platform::LowerCp1252(upper));
}

// Letter classes of the context patterns.
struct Classes {
  platform::ByteSet vowel, consonant, back, front, liquid, sonorant, nrs;
};

const Classes kClasses{
    .vowel = BothCases("AEIOU\xC0\xC1\xC2\xC3\xC9\xCA\xCC\xCD\xD3\xD4\xD5\xD9\xDA\xDC"),
    .consonant = BothCases("BCDFGHJKLMNPQRSTVWXYZ\xC7\xD1"),
    .back = BothCases("AO\xC1\xC2\xD3\xD4"),
    .front = BothCases("EI\xC9\xCD"),
    .liquid = BothCases("LR"),
    .sonorant = BothCases("LMNRZ"),
    .nrs = BothCases("NRS"),
};

const Classes& Cls() { return kClasses; }

unsigned char At(const std::string& word, size_t pos1) {
  return static_cast<unsigned char>(word[pos1 - 1]);
}

// Rule letters are upper-cased (a to z only) when the rule is loaded.
bool SameLetter(char rule, unsigned char word) { return static_cast<unsigned char>(rule) == word; }

void UpperAsciiLetters(std::string& text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
}

// Left context read from its last character back, scan starting at `pos` (0 = word start).
bool LeftMatches(const std::string& left, const std::string& word, size_t pos) {
  const Classes& k = Cls();
  for (size_t i = left.size(); i-- > 0;) {
    char c = left[i];
    if (c == '%') {
      if (pos != 0) return false;
    } else if (c == '_') {
      if (pos != 0) {
        if (!k.vowel.Has(At(word, pos))) return false;
        --pos;
      }
    } else {
      if (pos == 0) return false;
      unsigned char w = At(word, pos);
      bool ok = c == '#'   ? k.vowel.Has(w)
                : c == ']' ? k.back.Has(w)
                : c == '|' ? k.nrs.Has(w)
                           : SameLetter(c, w);
      if (!ok) return false;
      --pos;
    }
  }
  return true;
}

// Right context read from its first character, scan starting at `pos` (n + 1 = word end).
bool RightMatches(const std::string& right, const std::string& word, size_t pos) {
  const Classes& k = Cls();
  size_t n = word.size();
  for (char c : right) {
    bool end = pos > n;
    if (c == '%') {
      if (!end) return false;
    } else if (c == '\\') {
      if (!end && (At(word, pos) == 'S' || At(word, pos) == 's')) ++pos;
    } else if (c == '*') {
      if (end || !k.consonant.Has(At(word, pos)) || k.liquid.Has(At(word, pos))) return false;
    } else if (c == '[') {
      if (!end && (!k.consonant.Has(At(word, pos)) || At(word, pos) == 'H' || At(word, pos) == 'h'))
        return false;
    } else {
      if (end) return false;
      unsigned char w = At(word, pos);
      bool ok = c == '#'   ? k.vowel.Has(w)
                : c == '+' ? k.front.Has(w)
                : c == '&' ? k.sonorant.Has(w)
                           : SameLetter(c, w);
      if (!ok) return false;
      ++pos;
    }
  }
  return true;
}

// The bytes that can stand right after a rule's first letter: its second target letter, or
// what the start of its right context allows.
platform::ByteSet One(char byte) {
  const auto b = static_cast<unsigned char>(byte);
  return platform::ByteSet().AddRange(b, b);
}

platform::ByteSet FollowersOf(const LetterRule& rule) {
  const Classes& k = Cls();
  const platform::ByteSet any = platform::ByteSet().AddRange(0, 255);
  if (rule.target.size() > 1) return One(rule.target[1]);
  if (rule.right.empty()) return any;
  switch (rule.right[0]) {
    case '#': return k.vowel;
    case '+': return k.front;
    case '&': return k.sonorant;
    case '%': return One(kWordEnd);
    case '\\': return any;
    case '*': return k.consonant;
    case '[': return k.consonant | One(kWordEnd);
    default: return One(rule.right[0]);
  }
}

bool Matches(const LetterRule& rule, const std::string& word, size_t p) {
  size_t n = word.size();
  // The first target letter is the word's letter at p: the chain was chosen by it.
  for (size_t k = 1; k < rule.target.size(); ++k) {
    if (p + k > n || !SameLetter(rule.target[k], At(word, p + k))) return false;
  }
  return LeftMatches(rule.left, word, p - 1) && RightMatches(rule.right, word, p + rule.target.size());
}

// Cuts `line` at the first `delimiter` from `from`: the field before it (cut to `limit`), and
// the position after it; npos when the delimiter is missing.
std::string Field(const std::string& line, size_t& from, char delimiter, size_t limit) {
  size_t at = line.find(delimiter, from);
  if (at == std::string::npos) {
    from = std::string::npos;
    return {};
  }
  std::string field = line.substr(from, at - from).substr(0, limit);
  from = at + 1;
  return field;
}

LetterRule ParseRule(const std::string& line) {
  LetterRule rule;
  size_t from = 0;
  rule.left = Field(line, from, '(', kContextLimit);
  if (from == std::string::npos) rule.left = line.substr(0, kContextLimit);
  if (from != std::string::npos) rule.target = Field(line, from, ')', kTargetLimit);
  if (from != std::string::npos) rule.right = Field(line, from, '=', kContextLimit);
  if (from != std::string::npos) {
    size_t bar = line.find('|', from);
    rule.output = line.substr(from, bar == std::string::npos ? std::string::npos : bar - from)
                      .substr(0, kOutputLimit);
  }
  return rule;
}

}  // namespace

void ReleaseRules() {
  ForgetWords();
  for (auto& chain : state.chains) chain.clear();
  state.count = 0;
  state.skipped = 0;
}

bool LoadRules(const std::string& fileName) {
  ReleaseRules();
  std::ifstream file;
  if (!platform::OpenDataFile(fileName, file)) return false;
  std::string line;
  while (std::getline(file, line)) {
    DropCarriageReturn(line);
    if (!line.empty() && line[0] == ';') continue;
    LetterRule rule = ParseRule(line);
    UpperAsciiLetters(rule.left);
    UpperAsciiLetters(rule.target);
    UpperAsciiLetters(rule.right);
    unsigned char head = rule.target.empty() ? 0 : static_cast<unsigned char>(rule.target[0]);
    if (head < 32) {  // an empty target would never let the scan advance
      if (!line.empty()) ++state.skipped;
      continue;
    }
    rule.next = FollowersOf(rule);
    state.chains[head].push_back(std::move(rule));
    ++state.count;
  }
  return platform::ReadWithoutError(file);
}

int RuleCount() { return state.count; }
int SkippedRuleLines() { return state.skipped; }

void ApplyRules(const std::string& word, int stress, Lines& list) {
  size_t n = word.size();
  long long mark = stress < 1 ? kNoStress : stress;
  std::string current;
  size_t p = 1;
  while (p <= n) {
    const LetterRule* chosen = nullptr;
    unsigned char c = At(word, p);
    if (c >= 32) {
      const unsigned char following = p < n ? At(word, p + 1) : kWordEnd;
      for (const LetterRule& rule : state.chains[c]) {
        if (rule.next.Has(following) && Matches(rule, word, p)) {
          chosen = &rule;
          break;
        }
      }
    }
    if (!chosen) {
      ++p;
      continue;
    }
    std::string_view out = std::string_view(chosen->output).substr(0, kOutputUsed);
    for (char o : out) {
      if (static_cast<long long>(p) >= mark) {
        current += '>';
        mark = kNoStress;
      }
      if (o == '&') {
        list.push_back(std::move(current));
        current.clear();
      } else {
        current += o;
      }
    }
    if (!out.empty()) {
      list.push_back(std::move(current));
      current.clear();
    }
    p += chosen->target.size();
  }
  list.push_back(std::move(current));
}

}  // namespace uttsPortug
