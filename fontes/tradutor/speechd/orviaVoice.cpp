// TIRLA: the module's one door to the ORVIA engine.
#include "speechd/orviaVoice.h"

#include "orvia/engine/uttsOrvia.h"
#include "orvia/engine/uttsOrviaEngine.h"
#include "orvia/engine/uttsOrviaVoices.h"
#include "orvia/text/uttsPreproc.h"
#include "platform/codepage.h"
#include "platform/settings.h"
#include "speechd/moduleLog.h"

namespace sdOrvia {
namespace {

struct VoiceState {
  bool started = false;      // ORVIA and MBROLA are running
  std::string runningVoice;  // the MBROLA voice they run with
};

VoiceState& State() {
  static VoiceState state;
  return state;
}

std::string DataFolder(const ModuleConfig& config) {
  return config.dataFolder.empty() ? platform::OrviaDataFolder() : config.dataFolder;
}

// Starts ORVIA and MBROLA with `voice`; false (logged, `problem` said) when they cannot.
bool Start(const ModuleConfig& config, const std::string& voice, std::string& problem) {
  VoiceState& s = State();
  uttsOrvia::StartOrvia();
  const std::string folder = DataFolder(config);
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

// The voice the settings ask for: a listed one by name, else the listed one of the voice type
// asked for, else the configured one. The server sends no voice type once a client has chosen
// a voice by name.
std::string WantedVoice(const ModuleConfig& config, const VoiceSettings& settings) {
  if (settings.voice.empty() && settings.voiceType.empty()) return ConfiguredVoice(config);
  for (const ListedVoice& voice : VoiceNames(config))
    if (voice.name == settings.voice) return voice.name;
  for (const ListedVoice& voice : VoiceNames(config))
    if (voice.voiceType == settings.voiceType) return voice.name;
  return ConfiguredVoice(config);
}

}  // namespace

bool VoiceInit(const ModuleConfig& config, std::string& problem) {
  return State().started || Start(config, ConfiguredVoice(config), problem);
}

const std::string& RunningVoice() { return State().runningVoice; }

std::vector<ListedVoice> VoiceNames(const ModuleConfig& config) {
  std::vector<ListedVoice> voices;
  for (const uttsOrvia::DrivableVoice& voice : uttsOrvia::DrivableVoices(DataFolder(config)))
    voices.push_back({voice.voice.name, voice.voice.voiceType});
  return voices;
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

int VoiceRate() { return uttsOrvia::OrviaRate(); }

void VoiceClose() {
  if (State().started) uttsOrvia::OrviaClose();
  State() = VoiceState{};
}

}  // namespace sdOrvia
