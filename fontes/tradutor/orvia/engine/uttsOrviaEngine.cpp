// TIRLA: the ORVIA row of the engine table.
#include "orvia/engine/uttsOrviaEngine.h"

#include <algorithm>

#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaVoices.h"
#include "orvia/text/uttsPortugStages.h"
#include "platform/codepage.h"
#include "platform/datafile.h"
#include "platform/messages.h"
#include "platform/settings.h"

namespace uttsOrvia {
namespace {

constexpr int kEndPollMs = 500;  // wait for the end of the sound when the engine ends

struct EngineRowState {
  EngineFiles files;               // what every start uses
  platform::SpeechOutput output;   // connections given at the last start
};

// The files come from the configuration once, as the program starts; SetEngineFiles may
// change them.
EngineRowState& Row() {
  static EngineRowState state{.files = {platform::Utf8ToCp1252(platform::OrviaVoice()),
                                        platform::OrviaDataFolder(), platform::OrviaBaseName()}};
  return state;
}

void Wake() { platform::PostMessage(platform::kWakeUpEngine); }

bool Start(const platform::SpeechStart& start) {
  EngineRowState& row = Row();
  row.output = start.output;
  OrviaSetOutputFile(std::string(start.option));
  OrviaSetOutput(start.output);
  const uttsPortug::TextDataFiles files =
      uttsPortug::DataFilesIn(row.files.dataFolder, row.files.baseName.empty() ? "portug"
                                                                               : row.files.baseName);
  const bool started = OrviaStart(row.files.database, files.rules, files.exceptions,
                                  files.abbreviations, files.prosody, files.diphones);
  OrviaSetFactors(DurationFactorFor(start.speed), PitchFactorFor(start.pitch));
  return started;
}

bool Speak(std::span<const platform::SpeechPiece> pieces) {
  const bool spoken = OrviaSpeakPieces(pieces);
  Wake();
  return spoken;
}

void Stop() {
  OrviaStop();
  Wake();
}

bool IsSpeaking(int) {
  bool speaking = OrviaIsSpeaking();
  if (platform::StopRequested(Row().output.stop)) {
    Stop();
    speaking = false;
  }
  Wake();
  return speaking;
}

void End() {
  while (IsSpeaking(0)) platform::PumpFor(kEndPollMs);
  Stop();
  OrviaClose();
}

void SetRate(int speed) { OrviaSetFactors(DurationFactorFor(speed), PitchFactor()); }
void SetPitch(int pitch) { OrviaSetFactors(DurationFactor(), PitchFactorFor(pitch)); }

constexpr platform::SpeechEngine kOrviaEngine = {
    .name = "orvia",
    .Start = Start,
    .Speak = Speak,
    .IsSpeaking = IsSpeaking,
    .Stop = Stop,
    .End = End,
    .SetRate = SetRate,
    .SetPitch = SetPitch,
};

}  // namespace

void SetEngineFiles(const EngineFiles& files) { Row().files = files; }
const EngineFiles& CurrentEngineFiles() { return Row().files; }

double DurationFactorFor(int speed) {
  return 0.8 - std::clamp(speed, kSlowestSpeed, kFastestSpeed) / 15.0;
}
double PitchFactorFor(int pitch) {
  return (std::clamp(pitch, kLowestPitch, kHighestPitch) + 11) / 11.0;
}

const platform::SpeechEngine& OrviaEngine() { return kOrviaEngine; }

std::string OutputFailureText(const std::string& fileName, int error) {
  const std::string what = fileName == "-" ? "escrever na saída padrão"
                                           : "gravar o arquivo de saída \"" + fileName + "\"";
  return "não foi possível " + what +
         (error ? ": " + platform::Cp1252ToUtf8(platform::SystemReason(error)) : "") + ".";
}

std::string OrviaFailureText() {
  // cp1252 from the engine, file names as the system gave them
  const std::string engine = platform::Cp1252ToUtf8(OrviaEngineError());
  switch (OrviaStartFailure()) {
    case kNoMbrola:
      return "o programa mbrola não foi encontrado; instale o pacote mbrola (e uma voz, como "
             "mbrola-br4).";
    case kNoVoice:
      return "a voz \"" + platform::Cp1252ToUtf8(Row().files.database) +
             "\" do MBROLA não pôde ser usada" + (engine.empty() ? "." : ": " + engine + ".");
    case kUnknownVoice:
      return UnknownVoiceText(platform::Cp1252ToUtf8(Row().files.database));
    case kOutputFile:
      return OutputFailureText(OutputFileName(), OrviaOutputError());
    case kTextData:
      return platform::Cp1252ToUtf8(OrviaLastError()) + " (pasta de dados: " +
             Row().files.dataFolder + ").";
    case kStarted:
      break;
  }
  if (engine.empty()) return {};
  return "o MBROLA falhou durante a fala (" + engine + "); parte do texto pode ter se perdido.";
}

}  // namespace uttsOrvia
