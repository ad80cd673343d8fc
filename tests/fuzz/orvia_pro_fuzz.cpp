// TIRLA fuzz target: ORVIA's prosody file (portug.pro), loaded over the project's other
// files and then used on the sample text.
#include "orvia/text/uttsProsodia.h"
#include "orvia_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  fuzz::LoadOrviaData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uttsProsodia::LoadProsody(fuzz::WriteInput("portug.pro", data, size));
  fuzz::OrviaLines(fuzz::kSampleText);
  return 0;
}
