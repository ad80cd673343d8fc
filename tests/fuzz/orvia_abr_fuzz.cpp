// TIRLA fuzz target: ORVIA's abbreviations (portug.abr), loaded over the project's other
// files and then used on the sample text.
#include "orvia/text/uttsPreproc.h"
#include "orvia_fuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  fuzz::LoadOrviaData();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uttsPreproc::LoadAbbreviations(fuzz::WriteInput("portug.abr", data, size));
  fuzz::OrviaLines(fuzz::kSampleText);
  return 0;
}
