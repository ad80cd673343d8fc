// TIRLA: ORVIA behind the module, in the shape the server's modules give a synthesizer: start,
// voices, settings, speak, close. Everything else in this folder is the protocol and knows no
// engine.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "platform/speech.h"
#include "speechd/moduleConfig.h"
#include "speechd/voiceSettings.h"

namespace sdOrvia {

// The language ORVIA speaks, as LIST VOICES names it.
constexpr std::string_view kVoiceLanguage = "pt-BR";

// Starts ORVIA and MBROLA with the configured voice; false with the reason in `problem`.
bool VoiceInit(const ModuleConfig& config, std::string& problem);

// The voice ORVIA runs with now (empty before a start worked).
const std::string& RunningVoice();

// A voice it can speak with, as LIST VOICES gives it.
struct ListedVoice {
  std::string name;       // the MBROLA voice id, what synthesis_voice asks for
  std::string voiceType;  // the voice type that chooses it (male1, female1...): its sex
};

// The voices it can speak with: those of ORVIA's voice table that are installed, the default
// (br4) first.
std::vector<ListedVoice> VoiceNames(const ModuleConfig& config);

// Makes ORVIA ready for a message with `settings` (another voice restarts it; a voice that
// cannot start falls back to the configured one); false when it cannot speak.
bool VoiceSet(const ModuleConfig& config, const VoiceSettings& settings);

// Speaks the pieces into `output`; a failure of MBROLA before any sound is tried once more.
// False, with the reason logged, when part of the text was lost.
bool VoiceSpeak(std::span<const platform::SpeechPiece> pieces, const platform::SpeechOutput& output,
                const bool& soundSent);

// The rate of the samples it gives.
int VoiceRate();

// Ends MBROLA.
void VoiceClose();

}  // namespace sdOrvia
