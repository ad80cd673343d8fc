// TIRLA: the orvia program: ORVIA from the command line.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
#include "orvia/orviaLines.h"
#include "orvia/orviaOptions.h"
#include "orvia/engine/minireg.h"
#include "orvia/text/uttsNormal.h"
#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/engine/uttsOrviaParts.h"
#include "orvia/engine/uttsOrviaVoices.h"
#include "orvia/text/uttsPortugCase.h"
#include "orvia/text/uttsPortugStages.h"
#include "orvia/text/uttsPreproc.h"
#include "orvia/text/uttsPreprocParts.h"
#include "orvia/text/uttsSsml.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/folders.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace {

constexpr int kPlayPollMs = 10;   // wait for the end of the sound
constexpr int kInputPollMs = 50;  // while the input waits, the sound device is tended this often
// a pipe quiet this long after whole lines has them spoken, though no sentence ended
constexpr int kQuietPipeMs = 2000;
constexpr size_t kReadBytes = 65536;  // bytes of text read at once
constexpr double kSilentRatio = 1e-4;  // MBROLA's loudness for -a 0: every sample rounds to 0

using orviaCli::Options;

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
    "Fala TEXTO em português com a voz do MBROLA, ou o grava num arquivo WAV. As opções de\n"
    "velocidade, tom, volume e fonemas são as do espeak-ng, com o mesmo efeito.\n"
    "  -f ARQUIVO      lê o texto de ARQUIVO (UTF-8 ou Windows-1252); \"-f -\" lê a entrada\n"
    "                  padrão\n"
    "  --stdin         lê o texto da entrada padrão (o mesmo que sem TEXTO nem -f)\n"
    "  -w ARQUIVO.wav  grava a fala em ARQUIVO.wav (16000 Hz, 16 bits, mono) em vez de tocá-la;\n"
    "                  \"-w -\" é o mesmo que --stdout\n"
    "  --stdout        escreve o WAV na saída padrão à medida que é feito, para outro programa\n"
    "                  (orvia --stdout \"texto\" | aplay); recusa um terminal\n"
    "  -q              não toca nada: só confere o texto e os dados (com -w, grava)\n"
    "  -s N            velocidade em palavras por minuto, de 80 a 450; 175 normal\n"
    "  -p N            tom, de 0 a 99; 50 normal\n"
    "  -a N            volume, de 0 a 200; 100 normal\n"
    "  -g N            pausa entre as palavras, em centésimos de segundo (0 a 500)\n"
    "  -k N            maiúsculas: 1 ou 2 diz \"maiúscula\" antes da palavra; de 3 a 100 fala\n"
    "                  a palavra N% mais aguda\n"
    "  --punct[=SINAIS] diz o nome dos sinais de pontuação: de todos, ou só dos SINAIS\n"
    "  -m              o texto é SSML (marcas, pausas <break>, <say-as interpret-as=\n"
    "                  \"characters\">); um texto que começa com <speak> também é lido assim\n"
    "  --forca         fala mesmo um arquivo que não parece texto (bytes nulos ou de controle)\n"
    "  -x              escreve os fonemas na saída padrão (nomes da voz br4, separados por .)\n"
    "  -X              escreve cada palavra e os seus fonemas na saída padrão\n"
    "  --ipa           escreve os fonemas no Alfabeto Fonético Internacional\n"
    "                  (com -x, -X ou --ipa, -q escreve sem falar)\n"
    "  -b N            código do texto, 1 UTF-8 ou 2 de 8 bits (é reconhecido sozinho)\n"
    "  --nivel-velocidade N  velocidade do ORVIA, de -12 (metade) a 9 (quatro vezes mais\n"
    "                  rápido); 0 normal\n"
    "  --nivel-tom N   tom do ORVIA, de -5 (quase metade) a 11 (o dobro); 0 normal\n"
    "  -v VOZ          a voz do MBROLA: br4 (feminina, a de sempre), br2 (feminina), br1 ou\n"
    "                  br3 (masculinas); também pt-br, pt, mb-br1 a mb-br4, ou o caminho da voz\n"
    "  --vozes         lista as vozes que o ORVIA sabe falar e estão instaladas\n"
    "  --pho           escreve as linhas que o ORVIA entrega ao MBROLA, sem falar\n"
    "  --dados PASTA   lê os arquivos de dados (portug.nrl, .exc, .abr, .pro, .dfn, .ipa) de\n"
    "                  PASTA\n"
    "  --version       mostra a versão do orvia e a do MBROLA\n"
    "  --help          mostra esta ajuda (man orvia explica mais)\n"
    "  --              o que vem depois é texto, mesmo que comece com \"-\"\n"
    "Sem TEXTO nem -f, o texto vem da entrada padrão e é falado frase a frase, à medida que\n"
    "chega.\n";

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

// Where the text comes from: the words of the command line, or a file or standard input read
// as the text arrives.
struct TextSource {
  std::string words;  // the command line's text, or what was read to look at it
  int fd = -1;        // else (and then) read from here; -1 once it has ended
  std::string name;   // the file's name, for messages; empty for standard input
};

// The source, as messages name it.
std::string SourceName(const TextSource& source) {
  return source.name.empty() ? "a entrada padrão" : "o arquivo de texto \"" + source.name + "\"";
}

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
  if (options.textFile.empty() || options.textFile == "-") {
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
// Whether input comes within `ms`, the program kept alive meanwhile.
bool InputWithin(int fd, int ms) {
  pollfd ready{fd, POLLIN, 0};
  for (int waited = 0; waited < ms; waited += kInputPollMs) {
    if (poll(&ready, 1, kInputPollMs) != 0) return true;
    platform::PumpMessages();
  }
  return false;
}

// Reads what the source has now (waiting for it) onto `buffer`: the bytes read, 0 at its end;
// -1 (said) when it cannot be read.
ssize_t ReadMore(TextSource& source, std::string& buffer) {
  char chunk[kReadBytes];
  for (;;) {
    if (!InputReady(source.fd)) WaitForInput(source.fd);
    const ssize_t n = read(source.fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Say("não foi possível ler " + SourceName(source) + " até o fim: " +
          platform::Cp1252ToUtf8(platform::SystemReason(errno)) + ".");
      return -1;
    }
    buffer.append(chunk, static_cast<size_t>(n));
    if (n == 0) source.fd = -1;
    return n;
  }
}

// Reads the first bytes of a file or standard input, as many as are there at once, so that
// its kind is known before a word is said; false (said) when it cannot be read.
bool ReadHead(TextSource& source) {
  while (source.fd >= 0 && source.words.size() < orviaCli::kSniffBytes) {
    if (ReadMore(source, source.words) < 0) return false;
    if (source.fd >= 0 && !InputReady(source.fd)) break;  // a pipe that waits: speak what came
  }
  return true;
}

// Each part of the text as it can be spoken: `take(part, place, soundNow)` in order, the last
// with place.last; an empty part with soundNow asks for the sound of what was given so far,
// because the input waits. False (said) when the source cannot be read to its end.
template <typename Take>
bool ForEachPart(TextSource& source, Take take) {
  std::string buffer = std::move(source.words);  // what is read and not yet given
  bool first = true, lastGiven = false;
  const bool typed = source.fd >= 0 && isatty(source.fd);  // read as lines, whatever the timing
  // what was read to look at the text is the first read: a pipe may wait after it
  uttsOrvia::InputState input = source.fd < 0              ? uttsOrvia::InputState::kEnded
                                : typed                   ? uttsOrvia::InputState::kTyped
                                : InputReady(source.fd) ? uttsOrvia::InputState::kMoreComing
                                                           : uttsOrvia::InputState::kWaiting;
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
    // Lines without a sentence end from a pipe that then stays quiet (`tail -f` of a log) are
    // not left unsaid: after a silence longer than any writer keeps inside a text, they are
    // spoken as typed lines are.
    if (input == uttsOrvia::InputState::kWaiting && buffer.find('\n') != std::string::npos &&
        !InputWithin(source.fd, kQuietPipeMs)) {
      input = uttsOrvia::InputState::kTyped;
      continue;
    }
    const ssize_t n = ReadMore(source, buffer);
    if (n < 0) return false;
    input = n == 0                     ? uttsOrvia::InputState::kEnded
            : typed                    ? uttsOrvia::InputState::kTyped
            : InputReady(source.fd) ? uttsOrvia::InputState::kMoreComing
                                       : uttsOrvia::InputState::kWaiting;
  }
  // a text that ended just after a cut still gets its closing pause
  if (!lastGiven) take({}, uttsPortug::PlaceInText{.first = first, .last = true}, false);
  return true;
}

// The parts of an SSML document, read whole: its pieces in order, a spelled one as its letters'
// names, each break as a pause after its piece (`take(part, place, pauseMs)`, part cp1252).
template <typename Take>
bool ForEachSsmlPart(TextSource& source, Take take) {
  std::string text = std::move(source.words);
  while (source.fd >= 0)
    if (ReadMore(source, text) < 0) return false;
  const std::vector<uttsSsml::Piece> pieces =
      uttsSsml::SsmlToPieces(uttsNormal::NameEmoji(text), uttsSsml::Reading::kSpoken);
  const auto HasWords = [](const uttsSsml::Piece& p) {
    return !platform::Trim(p.text, platform::kSpaceAndControls).empty();
  };
  const auto lastSpoken = std::find_if(pieces.rbegin(), pieces.rend(), HasWords);
  const uttsSsml::Piece* last = lastSpoken == pieces.rend() ? nullptr : &*lastSpoken;
  bool first = true;
  for (const uttsSsml::Piece& piece : pieces) {
    std::string words = piece.text;
    if (piece.spell) {
      words.clear();
      for (unsigned char c : piece.text) {
        if (c <= ' ') continue;
        const std::string& name = uttsPreproc::CharName(c);
        words += (name.empty() ? std::string(1, static_cast<char>(c)) : name) + ", ";
      }
    }
    if (HasWords(piece))
      uttsOrvia::TakeReadyParts(words, uttsOrvia::InputState::kEnded, first,
                                [&](std::string_view part, uttsPortug::PlaceInText place) {
                                  place.last = place.last && &piece == last;
                                  take(part, place, 0);
                                });
    if (piece.pauseAfterMs > 0) take({}, uttsPortug::PlaceInText{false, false}, piece.pauseAfterMs);
  }
  return true;
}

// The text in the engine's code page. Emoji have no place in cp1252: their names (from the
// loaded data) go in while the text is still UTF-8.
std::string EngineText(std::string_view text) {
  return platform::Utf8ToCp1252(uttsNormal::NameEmoji(text));
}

// What is done with the lines of each part.
struct Output {
  const Options& options;
  const orviaCli::EngineSettings& settings;
  bool speak = false;    // hand them to MBROLA
  bool written = true;   // standard output took all it was given
  int error = 0;         // errno of the first write that failed
  bool spoken = true;    // MBROLA took them all
};

void Print(Output& out, const std::string& utf8, bool flush) {
  out.written = out.written && std::fwrite(utf8.data(), 1, utf8.size(), stdout) == utf8.size();
  if (flush) out.written = out.written && std::fflush(stdout) == 0;
  if (!out.written && out.error == 0) out.error = errno;
}

// The lines of one part (cp1252) with the program's touches.
orviaCli::Lines PartLines(const orviaCli::EngineSettings& settings, std::string text,
                          uttsPortug::PlaceInText place) {
  if (settings.capitals == orviaCli::Capitals::kWord) text = orviaCli::WithCapitalWords(text);
  if (!settings.namedSigns.empty()) text = orviaCli::WithSignNames(text, settings.namedSigns);
  orviaCli::Lines lines =
      uttsPortug::TextToMbrolaLines(text, settings.durationFactor, settings.pitchFactor, place);
  orviaCli::PutWordGaps(lines, settings.wordGapMs);
  if (settings.capitals == orviaCli::Capitals::kPitchRise)
    orviaCli::RaiseCapitalWords(lines, settings.capitalPitchFactor);
  return lines;
}

// Prints, speaks or only makes the lines of a part.
void Emit(Output& out, const orviaCli::Lines& lines, bool soundNow) {
  const Options& o = out.options;
  if (o.mnemonics) Print(out, orviaCli::Mnemonics(lines), soundNow);
  if (o.ipa) Print(out, orviaCli::Ipa(lines), soundNow);
  if (o.trace) Print(out, orviaCli::Trace(lines), soundNow);
  if (o.pho) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    Print(out, platform::Cp1252ToUtf8(text), soundNow);
  }
  if (out.speak) out.spoken = uttsOrvia::OrviaSpeakPartLines(lines, soundNow) && out.spoken;
}

// Runs every part of the text through Emit; false when the text could not be read.
bool EmitText(Output& out, TextSource& source, bool ssml) {
  if (ssml)
    return ForEachSsmlPart(source, [&](std::string_view part, uttsPortug::PlaceInText place,
                                       int pauseMs) {
      Emit(out, pauseMs > 0 ? orviaCli::Lines{orviaCli::PauseLine(pauseMs)}
                            : PartLines(out.settings, std::string(part), place),
           false);
    });
  return ForEachPart(source, [&](std::string_view part, uttsPortug::PlaceInText place,
                                 bool soundNow) {
    Emit(out, PartLines(out.settings, EngineText(part), place), soundNow);
  });
}

// What the options ask after the text data is loaded; the exit code.
int AfterLoading(const Options& options, const orviaCli::EngineSettings& settings,
                 const std::string& folder) {
  uttsPreproc::SetPunctuation(settings.punctuation);
  if (!options.ipa) return kOk;
  const std::string failure =
      orviaCli::LoadIpaTable(platform::FindFileNoCase(folder, platform::OrviaBaseName() + ".ipa"));
  if (failure.empty()) return kOk;
  Say("a tabela de fonemas para o IPA não pôde ser lida: " + failure);
  return kNoData;
}

// Prints the lines MBROLA would be given (and what -x, -X, --ipa ask), part by part.
int PrintPho(const Options& options, const orviaCli::EngineSettings& settings,
             TextSource& source, bool ssml) {
  Output out{options, settings};
  if (!EmitText(out, source, ssml)) return kNoText;
  if (out.written && std::fflush(stdout) == 0) return kOk;
  Say(uttsOrvia::OutputFailureText("-", out.error ? out.error : errno));
  return kNoOutput;
}

// Starts the engine through its row and tells what failed; the exit code.
int StartEngine(const platform::SpeechEngine& engine, const Options& options,
                const orviaCli::EngineSettings& settings, const std::string& folder) {
  uttsOrvia::StartOrvia();
  const std::string voice = options.voice.empty() ? platform::OrviaVoice() : options.voice;
  uttsOrvia::SetEngineFiles({platform::Utf8ToCp1252(voice), folder, platform::OrviaBaseName()});
  // MBROLA takes its loudness when it starts; a ratio of 0 would mean "unchanged" to it
  if (settings.volumeRatio != 1.0 && mbrola::MbrolaBind())
    mbrola::Mbrola().setVolumeRatio_MBR(
        static_cast<float>(std::max(settings.volumeRatio, kSilentRatio)));
  platform::SpeechStart start;
  start.option = options.waveFile;
  if (engine.Start(start)) {
    uttsOrvia::OrviaSetFactors(settings.durationFactor, settings.pitchFactor);
    return AfterLoading(options, settings, folder);
  }
  const bool noVoice = uttsOrvia::OrviaStartFailure() == uttsOrvia::kNoVoice;
  Say(uttsOrvia::OrviaFailureText() + (noVoice ? " (orvia --vozes lista as vozes instaladas)" : ""));
  switch (uttsOrvia::OrviaStartFailure()) {
    case uttsOrvia::kNoMbrola: return kNoMbrola;
    case uttsOrvia::kNoVoice:
    case uttsOrvia::kUnknownVoice: return kNoVoice;
    case uttsOrvia::kOutputFile: return kNoOutput;
    default: return kNoData;
  }
}

int Speak(const Options& options, const orviaCli::EngineSettings& settings, TextSource& source,
          const std::string& folder, bool ssml) {
  const platform::SpeechEngine& engine = uttsOrvia::OrviaEngine();
  const int start = StartEngine(engine, options, settings, folder);
  if (start != kOk) {
    uttsOrvia::OrviaClose();
    return start;
  }
  const int saidBefore = state.errorsSaid;
  if (options.waveFile.empty()) {
    uttsOrvia::OrviaSetPlayback(waveout::EngineSink());
    waveout::PrepareDevice(uttsOrvia::OrviaRate(), uttsOrvia::kBits, uttsOrvia::kChannels);
  }
  Output out{options, settings};
  out.speak = true;
  bool spoken = uttsOrvia::OrviaBeginText();
  const bool read = EmitText(out, source, ssml);
  spoken = uttsOrvia::OrviaEndText() && out.spoken && spoken;
  const std::string engineFailure = uttsOrvia::OrviaFailureText();
  while (engine.IsSpeaking(0)) platform::PumpFor(kPlayPollMs);
  engine.End();
  if (!read) return kNoText;
  if (!out.written || std::fflush(stdout) != 0) {
    Say(uttsOrvia::OutputFailureText("-", out.error ? out.error : errno));
    return kNoOutput;
  }
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

// The voices ORVIA can drive here, one a line: name, language, sex, file.
int ListVoices(const std::string& folder) {
  const std::vector<uttsOrvia::DrivableVoice> voices = uttsOrvia::DrivableVoices(folder);
  if (voices.empty()) {
    std::cout << "Nenhuma voz do MBROLA que o ORVIA sabe falar está instalada (em "
                 "/usr/share/mbrola ou /usr/local/share/mbrola); instale, por exemplo, o pacote "
                 "mbrola-br4.\n";
    return kNoVoice;
  }
  for (const uttsOrvia::DrivableVoice& voice : voices)
    std::cout << voice.voice.name << "\tpt-BR\t" << uttsOrvia::SexWord(voice.voice) << '\t'
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

// Loads the text data alone (no MBROLA) for `voice`: what --pho and -q need. The exit code.
int LoadTextStages(const std::string& folder, const std::string& voice) {
  uttsPortug::StartTextStages();
  const uttsPortug::TextDataFiles files = uttsPortug::DataFilesIn(folder, platform::OrviaBaseName());
  const std::string failure = uttsPortug::LoadTextData(files);
  if (!failure.empty()) {
    Say(platform::Cp1252ToUtf8(failure) + " (pasta de dados: " + folder + ")");
    return kNoData;
  }
  bool unknown = false;
  const std::string voiceFailure = uttsOrvia::UseTextVoice(voice, folder, files.diphones, unknown);
  if (voiceFailure.empty()) return kOk;
  Say(voiceFailure);
  return unknown ? kNoVoice : kNoData;
}

// Why a WAV file cannot be made at `path`, in the user's words; empty when nothing is known
// against it (the engine's own creation may still fail, and says so).
std::string WaveFileProblem(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "é uma pasta";
  const size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
  if (stat(folder.c_str(), &info) != 0)
    return "a pasta \"" + folder + (errno == ENOENT ? "\" " : "\": ") +
           platform::Cp1252ToUtf8(platform::SystemReason(errno));
  if (!S_ISDIR(info.st_mode)) return "\"" + folder + "\" não é uma pasta";
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    return "a pasta \"" + folder + "\": " + platform::Cp1252ToUtf8(platform::SystemReason(errno));
  return {};
}

// Options that cannot go together, or an output that cannot take what is asked; the exit
// code (said).
int CheckOutputs(const Options& options) {
  const bool printsText = options.mnemonics || options.trace || options.ipa || options.pho;
  if (options.waveFile == "-" && printsText) {
    Say("--stdout (ou -w -) leva o som à saída padrão; --pho, -x, -X e --ipa escrevem nela "
        "também: grave o som com -w ARQUIVO.wav");
    return kBadUsage;
  }
  if (options.waveFile == "-" && isatty(STDOUT_FILENO)) {
    Say("a saída padrão é um terminal, que mostraria o som como lixo: mande-a a um programa "
        "(orvia --stdout TEXTO | aplay) ou grave com -w ARQUIVO.wav");
    return kNoOutput;
  }
  if (!options.waveFile.empty() && options.waveFile != "-") {
    if (const std::string why = WaveFileProblem(options.waveFile); !why.empty()) {
      Say("não foi possível gravar o arquivo de saída \"" + options.waveFile + "\": " + why + ".");
      return kNoOutput;
    }
  }
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("orvia");
  platform::SetReportSink({.context = nullptr, .Write = CountAndWrite});
  // a reader that closes its end is a failed write, told in our words, not a silent death
  signal(SIGPIPE, SIG_IGN);
  Options options;
  if (!orviaCli::ParseArguments(argc, argv, options)) return kBadUsage;
  if (options.help) {
    std::cout << kUsage;
    return kOk;
  }
  if (options.version) return PrintVersion();
  const std::string folder =
      options.dataFolder.empty() ? platform::OrviaDataFolder() : options.dataFolder;
  if (options.voices) return ListVoices(folder);
  if (const int checked = CheckOutputs(options); checked != kOk) return checked;
  TextSource source;
  if (!OpenText(options, source) || !ReadHead(source)) return kNoText;
  const orviaCli::TextKind kind = orviaCli::KindOf(source.words);
  if (kind == orviaCli::TextKind::kBinary && !options.force) {
    Say(SourceName(source) + " não parece ser texto (tem bytes nulos ou de controle); "
        "orvia --forca o lê assim mesmo.");
    return kNoText;
  }
  const bool ssml = options.ssml || kind == orviaCli::TextKind::kSsml;
  const orviaCli::EngineSettings settings = orviaCli::SettingsFor(options);
  const bool silent = options.quiet && options.waveFile.empty();
  if (!options.pho && !silent) return Speak(options, settings, source, folder, ssml);
  int loaded =
      LoadTextStages(folder, options.voice.empty() ? platform::OrviaVoice() : options.voice);
  if (loaded == kOk) loaded = AfterLoading(options, settings, folder);
  if (loaded != kOk) return loaded;
  return PrintPho(options, settings, source, ssml);
}
