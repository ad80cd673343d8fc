// TIRLA: the braille display backend: a display BRLTTY drives, reached through BrlAPI.
#pragma once
#include "platform/braille_display.h"

namespace platform {

// The table of the display BRLTTY offers (BRLAPI_HOST and BRLAPI_AUTH choose the server, as
// for every BrlAPI client). Opening fails quietly, with a reason, when no BRLTTY answers.
const BrailleDisplay& BrlapiBrailleDisplay();

}  // namespace platform
