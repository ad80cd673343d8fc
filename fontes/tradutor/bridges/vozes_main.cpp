// TIRLA: tirla-vozes lists the voices of each speech service as [ROREVAZO] VOZ numbers them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bridges/espeakBridge.h"
#include "bridges/rhvoiceBridge.h"
#include "bridges/speechdBridge.h"
#include "platform/codepage.h"
#include "platform/report.h"

namespace {

const char* const kUsage =
    "Uso: tirla-vozes [TIPOSAPI]\n"
    "Lista as vozes de cada servi\xE7o de fala com o n\xFAmero que [ROREVAZO] VOZ lhes d\xE1 em\n"
    "TOLVAN.INI: TIPOSAPI 4 eSpeak NG, 5 Speech Dispatcher, 54 RHVoice. Com TIPOSAPI, s\xF3 o\n"
    "daquele tipo.\n";

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

// Returns whether the service answered.
bool ListService(const Service& service) {
  std::vector<bridges::VoiceEntry> voices;
  std::string why;
  Print(std::string(service.name) + " (TIPOSAPI " + std::to_string(service.type) + "):\n");
  if (!service.List(voices, why)) {
    Print("  indispon\xEDvel: " + why + "\n");
    return false;
  }
  if (voices.empty()) Print("  nenhuma voz\n");
  for (size_t i = 0; i < voices.size(); ++i) {
    const bridges::VoiceEntry& v = voices[i];
    Print("  VOZ=" + std::to_string(i + 1) + "\t" + v.name + "\t" + v.language +
          (v.detail.empty() ? "" : "\t" + v.detail) + "\n");
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  platform::SetReportProgram("tirla-vozes");
  if (argc > 2 || (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")))) {
    Print(kUsage);
    return argc > 2 ? 2 : 0;
  }
  const int wanted = argc == 2 ? std::atoi(argv[1]) : 0;
  bool answered = true;
  bool listed = false;
  for (const Service& service : kServices) {
    if (wanted != 0 && service.type != wanted) continue;
    answered = ListService(service) && answered;
    listed = true;
  }
  if (!listed) {
    Print(kUsage);
    return 2;
  }
  return answered ? 0 : 1;
}
