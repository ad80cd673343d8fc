// TIRLA: the voices ORVIA can drive on this system, and a user's voice name made into one.
#include "orvia/engine/uttsOrviaVoices.h"

#include <filesystem>

#include "orvia/engine/minireg.h"
#include "platform/codepage.h"
#include "platform/folders.h"

namespace uttsOrvia {
namespace {

constexpr const char* kTableName = "portug.voz";

}  // namespace

std::vector<DrivableVoice> DrivableVoices(const std::string& folder) {
  std::vector<DrivableVoice> voices;
  if (!uttsVoices::LoadVoices(platform::FindFileNoCase(folder, kTableName)).empty()) return voices;
  const std::vector<minireg::InstalledVoice> installed = minireg::InstalledVoices();
  for (const uttsVoices::Voice& voice : uttsVoices::Voices()) {
    if (!std::filesystem::is_regular_file(platform::FindFileNoCase(folder, voice.diphones)))
      continue;
    for (const minireg::InstalledVoice& there : installed)
      if (there.name == voice.name) voices.push_back({voice, there.path});
  }
  return voices;
}

const char* SexWord(const uttsVoices::Voice& voice) {
  return uttsVoices::IsMale(voice) ? "masculina" : "feminina";
}

std::string UseTextVoice(const std::string& asked, const std::string& folder,
                         const std::string& loadedList, bool& unknown) {
  unknown = false;
  const std::string table = platform::FindFileNoCase(folder, kTableName);
  if (!std::filesystem::exists(table)) return {};
  std::string failure = uttsVoices::LoadVoices(table);
  if (failure.empty()) {
    const uttsVoices::Voice* voice = uttsVoices::FindVoice(platform::Utf8ToCp1252(asked));
    unknown = voice == nullptr && asked.find('/') == std::string::npos;
    if (unknown) return UnknownVoiceText(asked);
    if (voice) failure = uttsVoices::UseVoice(*voice, folder, loadedList);
  }
  return failure.empty() ? failure : platform::Cp1252ToUtf8(failure) + ".";
}

std::string UnknownVoiceText(const std::string& asked) {
  const std::string known = platform::Cp1252ToUtf8(uttsVoices::VoiceList());
  return "o ORVIA não conhece a voz \"" + asked + "\"; as vozes que ele sabe falar são " +
         (known.empty() ? "br4" : known) + "; orvia --vozes mostra as instaladas.";
}

}  // namespace uttsOrvia
