// TIRLA fuzz target: any line of text through the translator, with the project's rules and
// exceptions.
#include "diphone/translator.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  translator::StartTranslator();
  translator::LoadRules(fuzz::DataFile("diphone/regras.rgr"));
  translator::LoadExceptions(fuzz::DataFile("diphone/portug.exc"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  translator::TranslateToPhonetic(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
