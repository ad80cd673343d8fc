// TIRLA: the voices ORVIA can drive on this system, and a user's voice name made into one.
#pragma once
#include <string>
#include <vector>

#include "orvia/text/uttsVoices.h"

namespace uttsOrvia {

// A voice of the voice table that is installed here.
struct DrivableVoice {
  uttsVoices::Voice voice;  // its row
  std::string path;         // its MBROLA database
};

// The voices of the voice table in `folder` that are installed and have their diphone list,
// in table order (the default voice first); empty when there is no table.
std::vector<DrivableVoice> DrivableVoices(const std::string& folder);

// "masculina" or "feminina".
const char* SexWord(const uttsVoices::Voice& voice);

// Makes the text stages, loaded from `folder` with the diphone list `loadedList`, speak for the
// voice `asked` (a name, alias or path; empty: the default) without MBROLA, as --pho does.
// Empty on success (also when the folder has no voice table), else the user's message (UTF-8);
// `unknown` says whether it failed because no voice has that name.
std::string UseTextVoice(const std::string& asked, const std::string& folder,
                         const std::string& loadedList, bool& unknown);

// That ORVIA knows no voice `asked` (UTF-8 in and out), which names it knows, and where the
// installed ones are listed.
std::string UnknownVoiceText(const std::string& asked);

}  // namespace uttsOrvia
