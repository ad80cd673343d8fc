// TIRLA fuzz target: TOLVAN.INI, through the profile reader, the engines' settings and the
// front-end's configuration with its "@" shorthand and speed levels.
#include <stdlib.h>

#include "frontend/config.h"
#include "fuzz_support.h"
#include "platform/profile.h"
#include "platform/settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  setenv("TOLVAN_WINDIR", fuzz::ScratchFolder().c_str(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteInput("TOLVAN.INI", data, size);
  // buffer sizes of the callers, and the edges
  for (size_t bufferSize : {0, 1, 2, 80, 256}) {
    platform::GetProfileString("TRADUTOR", "DIRDIFONES", "x", bufferSize, "TOLVAN.INI");
    platform::GetProfileString("", "", "", bufferSize, "tolvan.ini");
  }
  platform::ProfileHasKey("ORVIATTS", "DIR", "TOLVAN.INI");
  platform::UnitsFolder();
  platform::LettersFolder();
  platform::OrviaDataFolder();
  platform::OrviaBaseName();
  platform::OrviaVoice();
  frontend::StartConfig();
  frontend::ReadConfig("TOLVAN", "PGMTOLVAN");
  frontend::ReadConfig("", "PROG.TXT");
  frontend::ReadSpeedSettings(static_cast<int>(size % 7));  // 0 and 6 lie outside 1..5
  frontend::ConfiguredSpeed();
  frontend::ReadEngineChoice();
  return 0;
}
