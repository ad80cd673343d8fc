// TIRLA: the orvia program: ORVIA from the command line.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diphone/waveout.h"
#include "orvia/uttsOrvia.h"
#include "orvia/uttsNormal.h"
#include "orvia/uttsOrviaEngine.h"
#include "orvia/uttsPortug.h"
#include "orvia/uttsPortugCase.h"
#include "orvia/uttsPortugStages.h"
#include "orvia/uttsPreproc.h"
#include "orvia/uttsProsodia.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/settings.h"

namespace {

constexpr int kPlayPollMs = 10;            // wait for the end of the sound
constexpr size_t kLongestText = 64u << 20;  // bytes of text read at most: more than any book

// Exit codes, one per kind of failure.
enum ExitCode : int {
  kOk = 0,
  kSpeechFailed = 1,   // MBROLA failed in the middle of the text
  kBadUsage = 2,       // unknown option or missing value
  kNoText = 3,         // the text file cannot be read
  kNoMbrola = 4,       // the mbrola program is not installed
  kNoVoice = 5,        // the MBROLA voice is missing or unusable
  kNoData = 6,         // an ORVIA data file is missing or wrong
  kNoOutput = 7,       // the WAV file cannot be written
  kNoSound = 8,        // the sound device cannot be opened, or failed while playing
};

const char* const kUsage =
    "Uso: orvia [opções] [TEXTO...]\n"
    "Fala TEXTO em português com a voz do MBROLA, ou o grava num arquivo WAV.\n"
    "  -f ARQUIVO      lê o texto de ARQUIVO (UTF-8 ou Windows-1252)\n"
    "  -w ARQUIVO.wav  grava a fala em ARQUIVO.wav (16000 Hz, 16 bits, mono) em vez de tocá-la\n"
    "  -s N            velocidade, número inteiro de -12 (metade) a 9 (quatro vezes mais\n"
    "                  rápido); 0 normal (fator de duração 0,8 - N/15)\n"
    "  -p N            tom, número inteiro de -5 (quase metade) a 11 (o dobro); 0 normal\n"
    "                  (fator (N + 11)/11)\n"
    "  -v VOZ          outra voz do MBROLA: um nome (br4, br1...) ou o caminho da voz\n"
    "  --pho           escreve as linhas que o ORVIA entrega ao MBROLA, sem falar\n"
    "  --dados PASTA   lê os arquivos de dados (portug.nrl, .exc, .abr, .pro, .dfn) de PASTA\n"
    "  --help          mostra esta ajuda\n"
    "Sem TEXTO nem -f, o texto vem da entrada padrão.\n";

struct Options {
  bool pho = false;              // print the MBROLA lines instead of speaking
  std::string dataFolder;        // empty: [ORVIATTS] DIR, else the shared data folder
  std::string textFile;          // -f: read the text from this file
  std::string waveFile;          // -w: write the sound here instead of playing it
  std::string voice;             // -v: MBROLA voice id or path; empty: [ORVIATTS] MBROLA_DB
  int speed = 0;                 // -s
  int pitch = 0;                 // -p
  std::vector<std::string> text; // words of the text, UTF-8
};

struct ProgramState {
  int errorsSaid = 0;  // errors reported: the sound device tells its failures only that way
};

ProgramState state;

void CountAndWrite(void*, platform::Severity severity, std::string_view text) {
  if (severity == platform::Severity::kError) ++state.errorsSaid;
  const platform::ReportSink standardError = platform::StandardErrorSink();
  standardError.Write(standardError.context, severity, text);
}

void Say(const std::string& message) {
  platform::Report(platform::Severity::kError, platform::Utf8ToCp1252(message));
}

// The speed or pitch level after `option` within what the voice can say; false (said) when it
// is no whole number or lies outside.
bool ParseLevel(const std::string& option, const std::string& text, int& value) {
  const bool speed = option == "-s";
  const int lowest = speed ? uttsOrvia::kSlowestSpeed : uttsOrvia::kLowestPitch;
  const int highest = speed ? uttsOrvia::kFastestSpeed : uttsOrvia::kHighestPitch;
  const std::optional<int> level = uttsPortug::ParseInteger(text);
  if (level && *level >= lowest && *level <= highest) {
    value = *level;
    return true;
  }
  Say(option + " pede um número inteiro de " + std::to_string(lowest) + " a " +
      std::to_string(highest) + ", não \"" + text + "\"");
  return false;
}

// Parses the arguments; false (with a message) on a bad one.
bool ParseArguments(int argc, char** argv, Options& options, bool& help) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const bool takesValue = arg == "--dados" || arg == "-d" || arg == "-f" || arg == "-w" ||
                            arg == "-v" || arg == "-s" || arg == "-p";
    if (takesValue && i + 1 >= argc) {
      Say("falta um valor depois de " + arg);
      return false;
    }
    if (arg == "--pho") {
      options.pho = true;
    } else if (arg == "--dados" || arg == "-d") {
      options.dataFolder = argv[++i];
    } else if (arg == "-f") {
      options.textFile = argv[++i];
    } else if (arg == "-w") {
      options.waveFile = argv[++i];
    } else if (arg == "-v") {
      options.voice = argv[++i];
    } else if (arg == "-s" || arg == "-p") {
      int& target = arg == "-s" ? options.speed : options.pitch;
      if (!ParseLevel(arg, argv[++i], target)) return false;
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--") {
      for (++i; i < argc; ++i) options.text.push_back(argv[i]);
    } else if (arg.size() > 1 && arg[0] == '-' && options.text.empty()) {
      Say("opção desconhecida: " + arg + " (orvia --help mostra as opções)");
      return false;
    } else {
      options.text.push_back(arg);
    }
  }
  return true;
}

// Standard input, up to `limit` bytes; false when it holds more (a device that never ends).
bool ReadStandardInput(std::string& text, size_t limit) {
  text.clear();
  char chunk[65536];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0) {
    if (text.size() + n > limit) return false;
    text.append(chunk, n);
  }
  return true;
}

// The text to speak, as it came (UTF-8 or cp1252); false (said) when the file cannot be read
// (a folder or a device is no text file) or the text is longer than any book.
bool TextOf(const Options& options, std::string& text) {
  text.clear();
  const std::string limit = std::to_string(kLongestText >> 20) + " MB";
  if (!options.textFile.empty()) {
    if (platform::ReadDataFile(options.textFile, text, kLongestText)) return true;
    const std::string why = platform::Cp1252ToUtf8(platform::DataFileProblem(options.textFile));
    Say("não foi possível ler o arquivo de texto \"" + options.textFile + "\": " +
        (why.empty() ? "passa de " + limit : why) + ".");
    return false;
  }
  if (options.text.empty()) {
    if (ReadStandardInput(text, kLongestText)) return true;
    Say("a entrada padrão passa de " + limit + " de texto.");
    return false;
  }
  for (const std::string& word : options.text) {
    if (!text.empty()) text += ' ';
    text += word;
  }
  return true;
}

// The text in the engine's code page. Emoji have no place in cp1252: their names (from the
// loaded data) go in while the text is still UTF-8.
std::string EngineText(const std::string& text) {
  return platform::Utf8ToCp1252(uttsNormal::NameEmoji(text));
}

int PrintPho(const std::string& cp1252Text, double durationFactor, double pitchFactor) {
  std::string out;
  for (const std::string& line :
       uttsPortug::TextToMbrolaLines(cp1252Text, durationFactor, pitchFactor)) {
    out += platform::Cp1252ToUtf8(line);
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// Starts the engine through its row and tells what failed; the exit code.
int StartEngine(const platform::SpeechEngine& engine, const Options& options,
                const std::string& folder) {
  uttsOrvia::StartOrvia();
  const std::string voice = options.voice.empty() ? platform::OrviaVoice() : options.voice;
  uttsOrvia::SetEngineFiles({platform::Utf8ToCp1252(voice), folder, platform::OrviaBaseName()});
  platform::SpeechStart start;
  start.speed = options.speed;
  start.pitch = options.pitch;
  start.option = options.waveFile;
  if (engine.Start(start)) return kOk;
  const std::string engineError = platform::Cp1252ToUtf8(uttsOrvia::OrviaEngineError());
  switch (uttsOrvia::OrviaStartFailure()) {
    case uttsOrvia::kNoMbrola:
      Say("o programa mbrola não foi encontrado; instale o pacote mbrola (e uma voz, como "
          "mbrola-br4).");
      return kNoMbrola;
    case uttsOrvia::kNoVoice:
      Say("a voz \"" + voice + "\" do MBROLA não pôde ser usada" +
          (engineError.empty() ? "." : ": " + engineError + "."));
      return kNoVoice;
    case uttsOrvia::kOutputFile:
      Say("não foi possível criar o arquivo de saída \"" + options.waveFile + "\".");
      return kNoOutput;
    default:
      Say(platform::Cp1252ToUtf8(uttsOrvia::OrviaLastError()) + " (pasta de dados: " + folder +
          ").");
      return kNoData;
  }
}

int Speak(const Options& options, const std::string& text, const std::string& folder) {
  const platform::SpeechEngine& engine = uttsOrvia::OrviaEngine();
  const int start = StartEngine(engine, options, folder);
  if (start != kOk) {
    uttsOrvia::OrviaClose();
    return start;
  }
  const int saidBefore = state.errorsSaid;
  const bool spoken = platform::SpeakText(engine, EngineText(text));
  const std::string engineError = platform::Cp1252ToUtf8(uttsOrvia::OrviaEngineError());
  while (engine.IsSpeaking(0)) platform::PumpFor(kPlayPollMs);
  engine.End();
  // MBROLA's own words say it was MBROLA; otherwise what failed is where the sound went.
  if (!spoken && !engineError.empty()) {
    Say("o MBROLA falhou durante a fala (" + engineError +
        "); parte do texto pode ter se perdido.");
    return kSpeechFailed;
  }
  if (!options.waveFile.empty()) {
    std::ifstream check(options.waveFile, std::ios::binary | std::ios::ate);
    if (spoken && check && check.tellg() >= static_cast<std::streamoff>(uttsOrvia::kWaveHeaderSize))
      return kOk;
    Say("o arquivo de saída \"" + options.waveFile + "\" não pôde ser gravado.");
    return kNoOutput;
  }
  const bool deviceSaid = waveout::LastOpenError() != 0 || state.errorsSaid > saidBefore;
  if (!spoken && !deviceSaid) Say("o som não pôde ser tocado.");
  return spoken && !deviceSaid ? kOk : kNoSound;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("orvia");
  platform::SetReportSink({.context = nullptr, .Write = CountAndWrite});
  Options options;
  bool help = false;
  if (!ParseArguments(argc, argv, options, help)) return kBadUsage;
  if (help) {
    std::cout << kUsage;
    return kOk;
  }
  std::string text;
  if (!TextOf(options, text)) return kNoText;
  std::string folder =
      options.dataFolder.empty() ? platform::OrviaDataFolder() : options.dataFolder;
  if (!options.pho) return Speak(options, text, folder);
  const uttsPortug::TextDataFiles files =
      uttsPortug::DataFilesIn(folder, platform::OrviaBaseName());
  uttsPortug::StartPortug();
  uttsPreproc::StartPreproc();
  uttsProsodia::StartProsodia();
  std::string failure = uttsPortug::LoadTextData(files);
  if (!failure.empty()) {
    Say(platform::Cp1252ToUtf8(failure) + " (pasta de dados: " + folder + ")");
    return kNoData;
  }
  // the lines MBROLA would be given when speaking, with the same factors
  return PrintPho(EngineText(text), uttsOrvia::DurationFactorFor(options.speed),
                  uttsOrvia::PitchFactorFor(options.pitch));
}
