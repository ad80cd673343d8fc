// TIRLA: the program's own touches on a text and its lines, and the transcriptions it prints.
#include "orvia/orviaLines.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "orvia/text/uttsPreprocParts.h"
#include "platform/byteset.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/text.h"

namespace orviaCli {
namespace {

constexpr std::string_view kCapitalWord = "mai\xFAscula ";  // cp1252
constexpr platform::ByteSet kPhraseMarks("!(),.:;?");
constexpr platform::ByteSet kDigits("0123456789");
constexpr std::string_view kPause = "_";

// One row of the IPA table.
struct IpaRow {
  std::string name;        // br4
  std::string ipa;         // UTF-8
  std::string afterNasal;  // the form after a nasal vowel (the glides of ão, ãe); empty: ipa
};

struct LinesState {
  std::vector<IpaRow> ipa;
};

constexpr std::string_view kNasalMark = "\xCC\x83";  // the combining tilde, UTF-8
LinesState state;

bool IsCapital(unsigned char c) {
  return platform::LowerCp1252(c) != c && platform::UpperCp1252(c) == c;
}

bool IsComment(const std::string& line) { return !line.empty() && line[0] == ';'; }

// The word of a comment line; empty for the phrase start and for a punctuation mark.
std::string_view CommentWord(const std::string& line) {
  const std::string_view word = std::string_view(line).substr(1);
  if (word.empty() || kPhraseMarks.Has(static_cast<unsigned char>(word[0]))) return {};
  return word;
}

bool IsPunctuationComment(const std::string& line) {
  return line.size() > 1 && kPhraseMarks.Has(static_cast<unsigned char>(line[1]));
}

std::string_view PhonemeName(const std::string& line) {
  return std::string_view(line).substr(0, line.find(' '));
}

// One word of a transcription and its phonemes.
struct Word {
  std::string text;                // cp1252
  std::vector<std::string> names;  // br4 names, pauses left out
};

// The words of the lines, in phrases.
std::vector<std::vector<Word>> Phrases(const Lines& lines) {
  std::vector<std::vector<Word>> phrases(1);
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    if (IsComment(line)) {
      const std::string_view word = CommentWord(line);
      if (!word.empty()) phrases.back().push_back({std::string(word), {}});
      else if (IsPunctuationComment(line) && !phrases.back().empty()) phrases.emplace_back();
      continue;
    }
    const std::string_view name = PhonemeName(line);
    if (name != kPause && !phrases.back().empty())
      phrases.back().back().names.emplace_back(name);
  }
  if (phrases.back().empty()) phrases.pop_back();
  return phrases;
}

// The IPA of `name` after the IPA `before` (of the phoneme before it in the word).
std::string IpaOf(const std::string& name, std::string_view before) {
  for (const IpaRow& row : state.ipa)
    if (row.name == name)
      return before.ends_with(kNasalMark) && !row.afterNasal.empty() ? row.afterNasal : row.ipa;
  return name;
}

// The phrases one per line, each word made by `word`.
template <typename WordText>
std::string Transcribe(const Lines& lines, WordText word) {
  std::string out;
  for (const std::vector<Word>& phrase : Phrases(lines)) {
    std::string line;
    for (const Word& w : phrase) {
      const std::string text = word(w);
      if (text.empty()) continue;
      if (!line.empty()) line += ' ';
      line += text;
    }
    if (!line.empty()) out += line + '\n';
  }
  return out;
}

}  // namespace

std::string WithCapitalWords(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 32);
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    const bool startsWord = i == 0 || !uttsPreproc::IsWordLetter(static_cast<unsigned char>(text[i - 1]));
    if (startsWord && IsCapital(c) && uttsPreproc::IsWordLetter(c)) out += kCapitalWord;
    out += static_cast<char>(c);
  }
  return out;
}

std::string WithSignNames(std::string_view text, std::string_view signs) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    const bool inNumber = i > 0 && i + 1 < text.size() &&
                          kDigits.Has(static_cast<unsigned char>(text[i - 1])) &&
                          kDigits.Has(static_cast<unsigned char>(text[i + 1]));
    const std::string& name = uttsPreproc::CharName(c);
    if (signs.find(static_cast<char>(c)) != std::string_view::npos && !inNumber && !name.empty())
      out += " " + name + " ";
    out += static_cast<char>(c);
  }
  return out;
}

std::string PauseLine(int ms) { return std::string(kPause) + " " + std::to_string(ms); }

void PutWordGaps(Lines& lines, int ms) {
  if (ms <= 0) return;
  Lines out;
  out.reserve(lines.size() + lines.size() / 4);
  bool afterWord = false;  // a word's phonemes came last, with no pause after them
  for (std::string& line : lines) {
    if (IsComment(line)) {
      const bool word = !CommentWord(line).empty();
      if (word && afterWord) out.push_back(PauseLine(ms));
      afterWord = false;
      if (word) {
        out.push_back(std::move(line));
        afterWord = true;
        continue;
      }
    } else if (!line.empty() && PhonemeName(line) == kPause) {
      afterWord = false;
    }
    out.push_back(std::move(line));
  }
  lines = std::move(out);
}

void RaiseCapitalWords(Lines& lines, double factor) {
  bool raising = false;
  for (std::string& line : lines) {
    if (line.empty()) continue;
    if (IsComment(line)) {
      const std::string_view word = CommentWord(line);
      raising = !word.empty() && IsCapital(static_cast<unsigned char>(word[0]));
      continue;
    }
    if (!raising) continue;
    // name, duration, then (position, pitch) pairs: every second number after the duration
    std::istringstream fields(line);
    std::string name, duration, position, pitch;
    fields >> name >> duration;
    std::string raised = name + " " + duration;
    while (fields >> position >> pitch)
      raised += " " + position + " " + std::to_string(std::lround(std::stod(pitch) * factor));
    line = raised;
  }
}

std::string Mnemonics(const Lines& lines) {
  return Transcribe(lines, [](const Word& w) {
    std::string text;
    for (const std::string& name : w.names) text += (text.empty() ? "" : ".") + name;
    return text;
  });
}

std::string Ipa(const Lines& lines) {
  return Transcribe(lines, [](const Word& w) {
    std::string text, last;
    for (const std::string& name : w.names) {
      last = IpaOf(name, last);
      text += last;
    }
    return text;
  });
}

std::string Trace(const Lines& lines) {
  std::string out;
  for (const std::vector<Word>& phrase : Phrases(lines)) {
    for (const Word& w : phrase) {
      out += platform::Cp1252ToUtf8(w.text) + '\t';
      for (size_t i = 0; i < w.names.size(); ++i) out += (i ? " " : "") + w.names[i];
      out += '\n';
    }
  }
  return out;
}

std::string LoadIpaTable(const std::string& file) {
  state.ipa.clear();
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    const std::string why = platform::DataFileProblem(file);
    return file + ": " + platform::Cp1252ToUtf8(why.empty() ? "n\xE3o p\xF4" "de ser lido" : why);
  }
  for (std::string line; std::getline(in, line);) {
    const std::string_view trimmed = platform::Trim(line, platform::kSpaceTabLineEnd);
    if (trimmed.empty() || trimmed[0] == ';') continue;
    std::istringstream fields{std::string(trimmed)};
    IpaRow row;
    if (fields >> row.name >> row.ipa) {
      fields >> row.afterNasal;
      state.ipa.push_back(std::move(row));
    }
  }
  return {};
}

}  // namespace orviaCli
