// TIRLA fuzz target: the translator's rules file (regras.rgr), loaded and then used on the
// sample text with the project's exceptions.
#include "diphone/rules.h"
#include "diphone/translator.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  translator::StartTranslator();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  translator::LoadRules(fuzz::WriteInput("regras.rgr", data, size));
  translator::LoadExceptions(fuzz::DataFile("diphone/portug.exc"));
  translator::TranslateToPhonetic(fuzz::kSampleText);
  translator::FreeRules();
  return 0;
}
