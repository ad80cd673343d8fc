// TIRLA: what the ORVIA fuzz targets share: the project's data files loaded, and the text
// stages run down to the lines written to MBROLA.
#pragma once
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "orvia/text/uttsPortugStages.h"

namespace fuzz {

// The five files of data/orvia, loaded as the engine loads them.
inline void LoadOrviaData() {
  uttsPortug::StartTextStages();
  const std::string folder = std::string(TIRLA_SOURCE_DIR) + "/data/orvia";
  if (!uttsPortug::LoadTextData(uttsPortug::DataFilesIn(folder)).empty()) std::abort();
}

// The MBROLA lines of `text` at the normal speed and pitch.
inline void OrviaLines(std::string_view text) {
  uttsPortug::TextToMbrolaLines(std::string(text), 0.8, 1.0);
}

}  // namespace fuzz
