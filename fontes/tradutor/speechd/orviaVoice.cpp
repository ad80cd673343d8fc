// TIRLA: the module's one door to the ORVIA engine.
#include "speechd/orviaVoice.h"

#include "orvia/engine/minireg.h"
#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/text/uttsPreproc.h"
#include "platform/codepage.h"
#include "platform/settings.h"
#include "speechd/moduleLog.h"

namespace sdOrvia {
namespace {

constexpr std::string_view kDefaultVoice = "br4";

struct VoiceState {
  bool started = false;      // ORVIA and MBROLA are running
  std::string runningVoice;  // the MBROLA voice they run with
};

VoiceState& State() {
  static VoiceState state;
  return state;
}

// Starts ORVIA and MBROLA with `voice`; false (logged, `problem` said) when they cannot.
bool Start(const ModuleConfig& config, const std::string& voice, std::string& problem) {
  VoiceState& s = State();
  uttsOrvia::StartOrvia();
  const std::string folder =
      config.dataFolder.empty() ? platform::OrviaDataFolder() : config.dataFolder;
  uttsOrvia::SetEngineFiles({platform::Utf8ToCp1252(voice), folder, platform::OrviaBaseName()});
  s.started = uttsOrvia::OrviaEngine().Start({});
  s.runningVoice = s.started ? voice : std::string();
  if (!s.started) {
    problem = uttsOrvia::OrviaFailureText();
    Log(kLogErrors, problem);
  }
  return s.started;
}

std::string ConfiguredVoice(const ModuleConfig& config) {
  return config.voice.empty() ? platform::OrviaVoice() : config.voice;
}

// The voice the settings ask for: a listed one by name, else the configured one.
std::string WantedVoice(const ModuleConfig& config, const VoiceSettings& settings) {
  if (!settings.voice.empty())
    for (const std::string& name : VoiceNames())
      if (name == settings.voice) return name;
  return ConfiguredVoice(config);
}

}  // namespace

bool VoiceInit(const ModuleConfig& config, std::string& problem) {
  return State().started || Start(config, ConfiguredVoice(config), problem);
}

const std::string& RunningVoice() { return State().runningVoice; }

std::vector<std::string> VoiceNames() {
  std::vector<std::string> names;
  for (const minireg::InstalledVoice& voice : minireg::InstalledVoices())
    if (voice.language == kVoiceLanguage) {
      if (voice.name == kDefaultVoice) names.insert(names.begin(), voice.name);
      else names.push_back(voice.name);
    }
  return names;
}

bool VoiceSet(const ModuleConfig& config, const VoiceSettings& settings) {
  VoiceState& s = State();
  std::string problem;
  const std::string voice = WantedVoice(config, settings);
  const std::string configured = ConfiguredVoice(config);
  if ((!s.started || voice != s.runningVoice) && !Start(config, voice, problem) &&
      (voice == configured || !Start(config, configured, problem)))
    return false;
  uttsOrvia::OrviaSetFactors(DurationFactorFor(settings.rate), PitchFactorFor(settings.pitch));
  uttsPreproc::SetPunctuation(settings.punctuation);
  return true;
}

bool VoiceSpeak(std::span<const platform::SpeechPiece> pieces, const platform::SpeechOutput& output,
                const bool& soundSent) {
  uttsOrvia::OrviaSetOutput(output);
  const bool soundBefore = soundSent;
  bool spoken = uttsOrvia::OrviaSpeakPieces(pieces);
  if (!spoken && !platform::StopRequested(output.stop)) {
    const std::string why = uttsOrvia::OrviaFailureText();
    // a child that died between two messages: a fresh one says it all again
    spoken = soundSent == soundBefore && uttsOrvia::OrviaSpeakPieces(pieces);
    if (!spoken) Log(kLogErrors, why);
  }
  uttsOrvia::OrviaSetOutput({});
  return spoken;
}

int VoiceRate() { return uttsOrvia::kRate; }

void VoiceClose() {
  if (State().started) uttsOrvia::OrviaClose();
  State() = VoiceState{};
}

}  // namespace sdOrvia
