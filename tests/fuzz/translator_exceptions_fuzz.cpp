// TIRLA fuzz target: the translator's exceptions file (portug.exc), loaded and then used on
// the sample text with the project's rules.
#include "diphone/rules.h"
#include "diphone/translator.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::QuietReports();
  translator::StartTranslator();
  translator::LoadRules(fuzz::DataFile("diphone/regras.rgr"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  translator::LoadExceptions(fuzz::WriteInput("portug.exc", data, size));
  translator::TranslateToPhonetic(fuzz::kSampleText);
  // the words of the file itself reach their entries
  translator::TranslateToPhonetic(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
