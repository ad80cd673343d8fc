// TIRLA: the orvia program: ORVIA from the command line.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "diphone/waveout.h"
#include "orvia/engine/mbrola.h"
#include "orvia/engine/minireg.h"
#include "orvia/text/uttsNormal.h"
#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/engine/uttsOrviaParts.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugStages.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/settings.h"

namespace {

constexpr int kPlayPollMs = 10;   // wait for the end of the sound
constexpr int kInputPollMs = 50;  // while the input waits, the sound device is tended this often
constexpr size_t kReadBytes = 65536;  // bytes of text read at once

// Exit codes, one per kind of failure.
enum ExitCode : int {
  kOk = 0,
  kSpeechFailed = 1,   // MBROLA failed in the middle of the text
  kBadUsage = 2,       // unknown option or missing value
  kNoText = 3,         // the text file cannot be read
  kNoMbrola = 4,       // the mbrola program is not installed
  kNoVoice = 5,        // the MBROLA voice is missing or unusable
  kNoData = 6,         // an ORVIA data file is missing or wrong
  kNoOutput = 7,       // the WAV file or standard output cannot be written
  kNoSound = 8,        // the sound device cannot be opened, or failed while playing
};

const char* const kUsage =
    "Uso: orvia [opções] [TEXTO...]\n"
    "Fala TEXTO em português com a voz do MBROLA, ou o grava num arquivo WAV.\n"
    "  -f ARQUIVO      lê o texto de ARQUIVO (UTF-8 ou Windows-1252)\n"
    "  -w ARQUIVO.wav  grava a fala em ARQUIVO.wav (16000 Hz, 16 bits, mono) em vez de tocá-la;\n"
    "                  \"-w -\" é o mesmo que --stdout\n"
    "  --stdout        escreve o WAV na saída padrão à medida que é feito\n"
    "                  (orvia --stdout \"texto\" | aplay)\n"
    "  -q              não toca nada: só confere o texto e os dados (com -w, grava)\n"
    "  -s N            velocidade, número inteiro de -12 (metade) a 9 (quatro vezes mais\n"
    "                  rápido); 0 normal (fator de duração 0,8 - N/15)\n"
    "  -p N            tom, número inteiro de -5 (quase metade) a 11 (o dobro); 0 normal\n"
    "                  (fator (N + 11)/11)\n"
    "  -v VOZ          outra voz do MBROLA: um nome (br4, br1...) ou o caminho da voz\n"
    "  --vozes         lista as vozes do MBROLA instaladas\n"
    "  --pho           escreve as linhas que o ORVIA entrega ao MBROLA, sem falar\n"
    "  --dados PASTA   lê os arquivos de dados (portug.nrl, .exc, .abr, .pro, .dfn) de PASTA\n"
    "  --version       mostra a versão do orvia e a do MBROLA\n"
    "  --help          mostra esta ajuda\n"
    "  --              o que vem depois é texto, mesmo que comece com \"-\"\n"
    "Sem TEXTO nem -f, o texto vem da entrada padrão e é falado frase a frase, à medida que\n"
    "chega.\n";

struct Options {
  bool pho = false;              // print the MBROLA lines instead of speaking
  bool quiet = false;            // -q: no sound device
  bool version = false;          // --version
  bool voices = false;           // --vozes
  std::string dataFolder;        // empty: [ORVIATTS] DIR, else the shared data folder
  std::string textFile;          // -f: read the text from this file
  std::string waveFile;          // -w: write the sound here instead of playing it ("-": stdout)
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
    } else if (arg == "-q") {
      options.quiet = true;
    } else if (arg == "--stdout") {
      options.waveFile = "-";
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--vozes" || arg == "--voices") {
      options.voices = true;
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

// Where the text comes from: the words of the command line, or a file or standard input read
// as the text arrives.
struct TextSource {
  std::string words;  // the command line's text, when given there
  int fd = -1;        // else read from here
  std::string name;   // the file's name, for messages; empty for standard input
};

// Opens the text's source; false (said) when the file cannot be read (a folder or a device is
// no text file).
bool OpenText(const Options& options, TextSource& source) {
  if (!options.text.empty()) {
    for (const std::string& word : options.text) {
      if (!source.words.empty()) source.words += ' ';
      source.words += word;
    }
    return true;
  }
  if (options.textFile.empty()) {
    source.fd = STDIN_FILENO;
    return true;
  }
  source.name = options.textFile;
  std::string why = platform::DataFileProblem(options.textFile);
  if (why.empty()) {
    source.fd = open(options.textFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (source.fd >= 0) return true;
    why = platform::Utf8ToCp1252("não pôde ser lido");
  }
  Say("não foi possível ler o arquivo de texto \"" + options.textFile +
      "\": " + platform::Cp1252ToUtf8(why) + ".");
  return false;
}

// Whether more of the text can be read at once.
bool InputReady(int fd) {
  pollfd ready{fd, POLLIN, 0};
  return poll(&ready, 1, 0) > 0;
}

// Waits until the text's source has something (or has ended), tending the sound device while
// it waits: a pipe may stay open and silent for as long as its writer likes.
void WaitForInput(int fd) {
  pollfd ready{fd, POLLIN, 0};
  while (poll(&ready, 1, kInputPollMs) == 0) platform::PumpMessages();
}

// Each part of the text as it can be spoken: `take(part, place, soundNow)` in order, the last
// with place.last; an empty part with soundNow asks for the sound of what was given so far,
// because the input waits. False (said) when the source cannot be read to its end.
template <typename Take>
bool ForEachPart(TextSource& source, Take take) {
  std::string buffer = std::move(source.words);  // what is read and not yet given
  bool first = true, lastGiven = false;
  const bool typed = source.fd >= 0 && isatty(source.fd);  // read as lines, whatever the timing
  uttsOrvia::InputState input =
      source.fd < 0 ? uttsOrvia::InputState::kEnded : uttsOrvia::InputState::kMoreComing;
  for (;;) {
    const size_t given = uttsOrvia::TakeReadyParts(
        buffer, input, first,
        [&](std::string_view part, uttsPortug::PlaceInText place) {
          take(part, place, false);
          lastGiven = place.last;
        });
    if (input == uttsOrvia::InputState::kEnded) break;
    if (input != uttsOrvia::InputState::kMoreComing && !first)
      take({}, uttsPortug::PlaceInText{.first = false, .last = false}, true);
    buffer.erase(0, given);  // what stays is less than a part
    char chunk[kReadBytes];
    if (!InputReady(source.fd)) WaitForInput(source.fd);
    const ssize_t n = read(source.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string what = source.name.empty() ? "a entrada padrão"
                                                   : "o arquivo de texto \"" + source.name + "\"";
      Say("não foi possível ler " + what + " até o fim: " +
          platform::Cp1252ToUtf8(platform::SystemReason(errno)) + ".");
      return false;
    }
    buffer.append(chunk, static_cast<size_t>(n));
    input = n == 0                     ? uttsOrvia::InputState::kEnded
            : typed                    ? uttsOrvia::InputState::kTyped
            : InputReady(source.fd) ? uttsOrvia::InputState::kMoreComing
                                       : uttsOrvia::InputState::kWaiting;
  }
  // a text that ended just after a cut still gets its closing pause
  if (!lastGiven) take({}, uttsPortug::PlaceInText{.first = first, .last = true}, false);
  return true;
}

// The text in the engine's code page. Emoji have no place in cp1252: their names (from the
// loaded data) go in while the text is still UTF-8.
std::string EngineText(std::string_view text) {
  return platform::Utf8ToCp1252(uttsNormal::NameEmoji(text));
}

// Prints the lines MBROLA would be given, part by part; `print` false only runs the stages.
int PrintPho(TextSource& source, double durationFactor, double pitchFactor, bool print) {
  std::string lines;
  bool written = true;
  int error = 0;  // of the first write that failed
  const bool read = ForEachPart(source, [&](std::string_view part, uttsPortug::PlaceInText place,
                                            bool soundNow) {
    lines.clear();
    for (const std::string& line :
         uttsPortug::TextToMbrolaLines(EngineText(part), durationFactor, pitchFactor, place)) {
      lines += line;
      lines += '\n';
    }
    if (!print) return;
    const std::string out = platform::Cp1252ToUtf8(lines);
    written = written && std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
    if (soundNow) written = written && std::fflush(stdout) == 0;
    if (!written && error == 0) error = errno;
  });
  if (!read) return kNoText;
  if (written && std::fflush(stdout) == 0) return kOk;
  Say(uttsOrvia::OutputFailureText("-", error ? error : errno));
  return kNoOutput;
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
  Say(uttsOrvia::OrviaFailureText());
  switch (uttsOrvia::OrviaStartFailure()) {
    case uttsOrvia::kNoMbrola: return kNoMbrola;
    case uttsOrvia::kNoVoice: return kNoVoice;
    case uttsOrvia::kOutputFile: return kNoOutput;
    default: return kNoData;
  }
}

int Speak(const Options& options, TextSource& source, const std::string& folder) {
  const platform::SpeechEngine& engine = uttsOrvia::OrviaEngine();
  const int start = StartEngine(engine, options, folder);
  if (start != kOk) {
    uttsOrvia::OrviaClose();
    return start;
  }
  const int saidBefore = state.errorsSaid;
  if (options.waveFile.empty()) {
    uttsOrvia::OrviaSetPlayback(waveout::EngineSink());
    waveout::PrepareDevice(uttsOrvia::kRate, uttsOrvia::kBits, uttsOrvia::kChannels);
  }
  bool spoken = uttsOrvia::OrviaBeginText();
  const bool read = ForEachPart(source, [&](std::string_view part, uttsPortug::PlaceInText place,
                                            bool soundNow) {
    spoken = uttsOrvia::OrviaSpeakPart(EngineText(part), place, soundNow) && spoken;
  });
  spoken = uttsOrvia::OrviaEndText() && spoken;
  const std::string engineFailure = uttsOrvia::OrviaFailureText();
  while (engine.IsSpeaking(0)) platform::PumpFor(kPlayPollMs);
  engine.End();
  if (!read) return kNoText;
  // MBROLA's own words say it was MBROLA; otherwise what failed is where the sound went.
  if (!spoken && !engineFailure.empty()) {
    Say(engineFailure);
    return kSpeechFailed;
  }
  if (options.waveFile == "-") {
    if (spoken) return kOk;
    Say(uttsOrvia::OutputFailureText("-", uttsOrvia::OrviaOutputError()));
    return kNoOutput;
  }
  if (!options.waveFile.empty()) {
    // a file must hold its header at least; a device (/dev/null) keeps nothing to look at
    struct stat info {};
    const bool regular = stat(options.waveFile.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    if (spoken && (!regular || info.st_size >= static_cast<off_t>(uttsOrvia::kWaveHeaderSize)))
      return kOk;
    Say(uttsOrvia::OutputFailureText(options.waveFile, uttsOrvia::OrviaOutputError()));
    return kNoOutput;
  }
  const bool deviceSaid = waveout::LastOpenError() != 0 || state.errorsSaid > saidBefore;
  if (!spoken && !deviceSaid) Say("o som não pôde ser tocado.");
  return spoken && !deviceSaid ? kOk : kNoSound;
}

// The MBROLA voices in the folders the voice lookup searches, one a line: name, language,
// file.
int ListVoices() {
  const std::vector<minireg::InstalledVoice> voices = minireg::InstalledVoices();
  if (voices.empty()) {
    std::cout << "Nenhuma voz do MBROLA instalada (em /usr/share/mbrola ou "
                 "/usr/local/share/mbrola); instale, por exemplo, o pacote mbrola-br4.\n";
    return kNoVoice;
  }
  for (const minireg::InstalledVoice& voice : voices)
    std::cout << voice.name << '\t' << (voice.language.empty() ? "?" : voice.language) << '\t'
              << voice.path << '\n';
  return kOk;
}

int PrintVersion() {
  std::cout << "orvia " << TIRLA_VERSION << '\n';
  if (!mbrola::MbrolaBind()) {
    std::cout << "MBROLA: não encontrado\n";
    return kOk;
  }
  char version[64] = "";
  mbrola::Mbrola().getVersion_MBR(version, sizeof version);
  std::cout << "MBROLA " << (version[0] ? version : "(versão desconhecida)") << " ("
            << mbrola::MbrolaProgram() << ")\n";
  mbrola::MbrolaUnbind();
  return kOk;
}

// Loads the text data alone (no MBROLA): what --pho and -q need. The exit code.
int LoadTextStages(const std::string& folder) {
  uttsPortug::StartTextStages();
  const std::string failure =
      uttsPortug::LoadTextData(uttsPortug::DataFilesIn(folder, platform::OrviaBaseName()));
  if (failure.empty()) return kOk;
  Say(platform::Cp1252ToUtf8(failure) + " (pasta de dados: " + folder + ")");
  return kNoData;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("orvia");
  platform::SetReportSink({.context = nullptr, .Write = CountAndWrite});
  // a reader that closes its end is a failed write, told in our words, not a silent death
  signal(SIGPIPE, SIG_IGN);
  Options options;
  bool help = false;
  if (!ParseArguments(argc, argv, options, help)) return kBadUsage;
  if (help) {
    std::cout << kUsage;
    return kOk;
  }
  if (options.version) return PrintVersion();
  if (options.voices) return ListVoices();
  TextSource source;
  if (!OpenText(options, source)) return kNoText;
  const std::string folder =
      options.dataFolder.empty() ? platform::OrviaDataFolder() : options.dataFolder;
  const bool silent = options.quiet && options.waveFile.empty();
  if (!options.pho && !silent) return Speak(options, source, folder);
  const int loaded = LoadTextStages(folder);
  if (loaded != kOk) return loaded;
  // the lines MBROLA would be given when speaking, with the same factors
  return PrintPho(source, uttsOrvia::DurationFactorFor(options.speed),
                  uttsOrvia::PitchFactorFor(options.pitch), options.pho);
}
