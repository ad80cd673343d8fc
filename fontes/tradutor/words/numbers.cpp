// TIRLA: number words, and words joined from their recordings into one sound.
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "diphone/waveout.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "platform/wav.h"
#include "words/words.h"
#include "words/words_state.h"

namespace words {
namespace {

constexpr std::array<const char*, 10> kUnits = {"zero",  "um",   "dois", "tres", "quatro",
                                                "cinco", "seis", "sete", "oito", "nove"};
constexpr std::array<const char*, 10> kTeens = {"dez",      "onze",      "doze",      "treze",
                                                "quatorze", "quinze",    "dezesseis", "dezessete",
                                                "dezoito",  "dezenove"};
constexpr std::array<const char*, 10> kTens = {"",          "",         "vinte",   "trinta",
                                               "quarenta",  "cinquenta", "sessenta", "setenta",
                                               "oitenta",   "noventa"};
constexpr std::array<const char*, 10> kHundreds = {
    "",           "cento",      "duzentos",  "trezentos",  "quatrocentos",
    "quinhentos", "seiscentos", "setecentos", "oitocentos", "novecentos"};

// Scale names of the five three-digit groups, the highest first (cp1252: ã is \xE3, õ \xF5).
struct Scale {
  const char* singular;
  const char* plural;
};
constexpr std::array<Scale, 5> kScales = {{
    {"trilh\xE3o ", "trilh\xF5" "es "},
    {"bilh\xE3o ", "bilh\xF5" "es "},
    {"milh\xE3o ", "milh\xF5" "es "},
    {"mil ", "mil "},
    {"", ""},
}};

constexpr size_t kNameLength = 8;          // recording names are cut to 8 characters
constexpr size_t kBufferSamples = 30000;   // the word-speech buffer
constexpr int kRate = 11025;
constexpr int kEndPollMs = 10;

// The words of one group of three digits.
std::string GroupToWords(int h, int t, int u) {
  if (h == 0 && t == 0 && u == 0) return {};
  if (h == 1 && t == 0 && u == 0) return "cem";
  std::string words;
  if (h != 0) {
    words = kHundreds[h];
    if (t == 0 && u == 0) return words;
    words += " e ";
  }
  if (t == 1) return words + kTeens[u];
  if (t != 0) {
    words += kTens[t];
    if (u == 0) return words;
    words += " e ";
  }
  if (u != 0) words += kUnits[u];
  return words;
}

// The joiner goes before the last group only when that group is below one hundred or a whole
// hundred: "dois mil e cinco", "mil e cem", "dois mil e vinte e seis", but "dois mil
// trezentos e quarenta", as Brazilians say them.
bool TakesJoiner(int group) { return group < 100 || group % 100 == 0; }

void PlayImageStraight(uint8_t* image, size_t size) {
  waveout::PlayWavImage(image, size);
  while (waveout::WavePlaying()) platform::PumpFor(kEndPollMs);
}

void PlaySoundFileStraight(std::string_view name) {
  waveout::PlayWavFile(platform::JoinPath(State().lettersFolder, std::string(name) + ".wav"));
}

// The samples of one recording (at most a buffer's worth); empty when it cannot be read.
std::vector<uint8_t> ReadRecording(const std::string& name) {
  const std::string path = platform::JoinPath(State().lettersFolder, name + ".wav");
  std::unique_ptr<FILE, int (*)(FILE*)> file(fopen(path.c_str(), "rb"), fclose);
  platform::WavInfo info;
  if (!file || !platform::ReadWavFile(file.get(), info)) return {};
  std::vector<uint8_t> samples(static_cast<size_t>(std::min<uint64_t>(info.dataSize, kBufferSamples)));
  samples.resize(fread(samples.data(), 1, samples.size(), file.get()));
  return samples;
}

void PlayBuffer(std::vector<uint8_t>& image, size_t count) {
  platform::WriteWavHeader(image.data(), kRate, 8, 1, static_cast<uint32_t>(count));
  const WordsOutput& out = State().output;
  (out.PlayWaveBuffer ? out.PlayWaveBuffer : PlayImageStraight)(image.data(),
                                                                platform::kWavHeaderSize + count);
}

}  // namespace

WordsState& State() {
  static WordsState state;
  return state;
}

void StartWords(const std::string& lettersFolder, const WordsOutput& output) {
  State() = WordsState{lettersFolder, output};
}

void PlayWord(std::string_view name) {
  const WordsOutput& out = State().output;
  (out.SpeakSoundFile ? out.SpeakSoundFile : PlaySoundFileStraight)(name);
}

std::string NumberToWords(uint32_t n) {
  if (n == 0) return "zero";
  std::array<int, 5> groups{};
  for (int g = 4; g >= 0; --g, n /= 1000) groups[g] = static_cast<int>(n % 1000);
  std::array<std::string, 5> parts;
  int last = -1;
  for (int g = 0; g < 5; ++g) {
    const int value = groups[g];
    if (value == 0) continue;
    parts[g] = GroupToWords(value / 100, value / 10 % 10, value % 10);
    if (g < 4) parts[g] += std::string(" ") + (value == 1 ? kScales[g].singular : kScales[g].plural);
    last = g;
  }
  std::string words;
  for (int g = 0; g < 5; ++g) {
    if (parts[g].empty()) continue;
    if (g == last && !words.empty() && TakesJoiner(groups[g])) words += "e ";
    words += parts[g];
  }
  if (words.rfind("um mil", 0) == 0 && words.rfind("um milh", 0) != 0) words.erase(0, 3);
  return words;
}

std::string RecordingName(std::string_view word, bool feminine) {
  std::string plain;
  for (char c : word) plain += c == '\xE3' ? 'a' : c == '\xF5' ? 'o' : c;
  if (plain == "dezessete") plain = "dezeset";  // 16 and 17 must not share a name
  if (feminine && plain == "um") plain = "uma";
  if (feminine && plain == "dois") plain = "duas";
  return ("_" + plain).substr(0, kNameLength);
}

void SpeakWords(std::string_view text, bool feminine) {
  std::vector<std::string> list;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) list.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  std::vector<uint8_t> image(platform::kWavHeaderSize + kBufferSamples);
  size_t count = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::vector<uint8_t> samples =
        ReadRecording(RecordingName(list[i], feminine && i + 1 == list.size()));
    if (samples.empty()) continue;
    if (count + samples.size() > kBufferSamples) {
      PlayBuffer(image, count);
      count = 0;
    }
    std::copy(samples.begin(), samples.end(), image.begin() + platform::kWavHeaderSize + count);
    count += samples.size();
  }
  if (count > 0) PlayBuffer(image, count);
}

}  // namespace words
