// TIRLA: tirla-vozes lists the voices of each speech service as [ROREVAZO] VOZ numbers them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bridges/espeakBridge.h"
#include "bridges/rhvoiceBridge.h"
#include "bridges/speechdBridge.h"
#include "bridges/voices.h"
#include "platform/codepage.h"
#include "platform/report.h"

namespace {

const char* const kUsage =
    "Uso: tirla-vozes [--todas] [TIPOSAPI]\n"
    "Lista as vozes em portugu\xEAs de cada servi\xE7o de fala com o n\xFAmero que [ROREVAZO] VOZ\n"
    "lhes d\xE1 em TOLVAN.INI: TIPOSAPI 4 eSpeak NG, 5 Speech Dispatcher, 54 RHVoice. Com\n"
    "TIPOSAPI, s\xF3 o daquele tipo; com --todas, tamb\xE9m as das outras l\xEDnguas, depois\n"
    "das em portugu\xEAs.\n";

struct Service {
  int type;
  const char* name;
  bool (*List)(std::vector<bridges::VoiceEntry>& voices, std::string& why);
};

constexpr Service kServices[] = {
    {4, "eSpeak NG", bridges::Sapi4Voices},
    {5, "Speech Dispatcher", bridges::Sapi5Voices},
    {54, "RHVoice", bridges::Sapi54Voices},
};

void Print(const std::string& cp1252) {
  std::fputs(platform::Cp1252ToUtf8(cp1252).c_str(), stdout);
}

// Returns whether the service answered. The bridges number the Portuguese voices first; a
// voice keeps its number whatever is shown.
bool ListService(const Service& service, bool all) {
  std::vector<bridges::VoiceEntry> voices;
  std::string why;
  Print(std::string(service.name) + " (TIPOSAPI " + std::to_string(service.type) + "):\n");
  if (!service.List(voices, why)) {
    Print("  indispon\xEDvel: " + why + "\n");
    return false;
  }
  if (voices.empty()) Print("  nenhuma voz\n");
  size_t shown = 0;
  for (size_t i = 0; i < voices.size(); ++i) {
    const bridges::VoiceEntry& v = voices[i];
    if (!all && !bridges::IsPortuguese(v.language)) continue;
    Print("  VOZ=" + std::to_string(i + 1) + "\t" + v.name + "\t" + v.language +
          (v.detail.empty() ? "" : "\t" + v.detail) + "\n");
    ++shown;
  }
  if (!voices.empty() && shown == 0)
    Print("  nenhuma voz em portugu\xEAs entre " + std::to_string(voices.size()) +
          " (tirla-vozes --todas mostra todas)\n");
  else if (shown < voices.size())
    Print("  (e " + std::to_string(voices.size() - shown) +
          " de outras l\xEDnguas: tirla-vozes --todas)\n");
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("tirla-vozes");
  bool all = false;
  std::vector<const char*> rest;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--todas") || !std::strcmp(argv[i], "--all")) all = true;
    else rest.push_back(argv[i]);
  }
  const bool help = rest.size() == 1 && (!std::strcmp(rest[0], "--help") || !std::strcmp(rest[0], "-h"));
  if (rest.size() > 1 || help) {
    Print(kUsage);
    return help ? 0 : 2;
  }
  const int wanted = rest.size() == 1 ? std::atoi(rest[0]) : 0;
  bool answered = true;
  bool listed = false;
  for (const Service& service : kServices) {
    if (wanted != 0 && service.type != wanted) continue;
    answered = ListService(service, all) && answered;
    listed = true;
  }
  if (!listed) {
    Print(kUsage);
    return 2;
  }
  return answered ? 0 : 1;
}
