// TIRLA: the speech front-end's start and end.
#include "frontend/speech.h"

#include <random>

#include "console/console.h"
#include "console/keyboard.h"
#include "diphone/synth.h"
#include "diphone/waveout.h"
#include "frontend/config.h"
#include "frontend/dispatch.h"
#include "frontend/sound.h"
#include "frontend/state.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/report.h"
#include "platform/settings.h"

namespace frontend {
namespace {

constexpr int kDefaultSpeed = 3;
constexpr int kFastestSpeed = 5;
constexpr size_t kClickNoise = 64;  // the click's first samples are noise, then silence
constexpr int kWaitSliceMs = 50;

// Ends a folder with '/' unless it is empty.
std::string AsFolder(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// The synthesizer did not start: both lines, Enter, and the program ends.
[[noreturn]] void StartFailure(int status) {
  TellStartFailure({"Erro de inicializa\xE7\xE3o: " + std::to_string(status),
                    "Banco de dados de voz: " + synth::UnitBaseName(), synth::StartProblem()});
  synth::CloseDiphoneSynth();
  char line[256];
  console::ReadConsoleLine(line, sizeof line);
  console::CloseConsole(1);
}

// Speaks `text` with the configured engine, started for it alone; false when none starts.
bool SpeakWithEngineAlone(const std::string& text) {
  FrontEndState& s = State();
  const EngineChoice choice = ReadEngineChoice();
  if (!choice.wanted ||
      !EngineStart(choice.voice, choice.speed, choice.pitch, s.engineOption, choice.type))
    return false;
  s.engineActive = true;
  s.engineType = choice.type;
  SpeakText(text);
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
  EngineEnd();
  s.engineActive = false;
  return true;
}

}  // namespace

FrontEndState& State() {
  static FrontEndState state;
  return state;
}

void StartFrontEnd() {
  FrontEndState& s = State();
  s = FrontEndState{};
  s.started = true;
  std::minstd_rand random(std::random_device{}());
  for (size_t i = 0; i < s.click.size(); ++i)
    s.click[i] = i < kClickNoise ? static_cast<uint8_t>(128 + random() % 60) : 128;
  StartDispatch();
}

void TellStartFailure(const std::vector<std::string>& lines) {
  if (!State().started) StartFrontEnd();
  console::OpenConsole();  // the lines are written there too
  Beep();
  std::string spoken;
  for (const std::string& line : lines) {
    platform::Report(platform::Severity::kError, line);
    spoken += line + " ";
  }
  if (!SpeakWithEngineAlone(spoken)) SpellText(spoken);
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
}

void ApplySpeedSettings(int speed) {
  FrontEndState& s = State();
  const SpeedSettings settings = ReadSpeedSettings(speed);
  s.speedLevel = speed;
  synth::SetUnitBaseName(settings.unitBaseName);
  synth::SetSynthParameters(settings.unitCut, settings.unitMinimum, settings.wordPause);
  waveout::Flags().CompactMode = settings.compactMode;
  waveout::Flags().FastRate = settings.fastRate;
  s.periodPauseMs = settings.periodPauseMs;
  s.commaPauseMs = settings.commaPauseMs;
  s.colonPauseMs = settings.colonPauseMs;
}

void StartSpeech(int speed, const std::string& soundDirectory) {
  FrontEndState& s = State();
  if (!s.started) StartFrontEnd();  // the start-up defaults come first
  if (speed <= 0) speed = ConfiguredSpeed();
  if (speed < 1 || speed > kFastestSpeed) speed = kDefaultSpeed;
  ApplySpeedSettings(speed);
  ConnectSynthesizer();
  const int status = synth::InitDiphoneSynth();
  if (status != synth::kStarted) StartFailure(status);
  s.soundDirectory = AsFolder(soundDirectory);
  s.lettersDirectory = AsFolder(platform::LettersFolder());
  ConnectSynthesizer();  // the recorded words now know their folder
  ApplySpeedSettings(speed);
  s.engineActive = false;
  const EngineChoice choice = ReadEngineChoice();
  if (!choice.wanted) return;
  s.engineActive =
      EngineStart(choice.voice, choice.speed, choice.pitch, s.engineOption, choice.type);
  s.engineType = choice.type;
  if (!s.engineActive)  // the built-in synthesizer speaks instead: say why
    platform::Report(platform::Severity::kWarning,
                     EngineStartFailure(choice.type) + "; fala o sintetizador interno.");
}

void EndSpeech() {
  FrontEndState& s = State();
  while (IsSpeaking()) platform::WaitMessages(kWaitSliceMs);
  StopSpeaking();
  if (s.engineActive) {
    EngineEnd();
    s.engineActive = false;
  }
  synth::CloseDiphoneSynth();
}

bool EngineActive() { return State().engineActive; }
int CurrentEngineType() { return State().engineType; }
int SpeedLevel() { return State().speedLevel; }

}  // namespace frontend
