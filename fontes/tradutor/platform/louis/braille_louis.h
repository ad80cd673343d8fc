// TIRLA: braille tables of liblouis, for contracted braille on the braille display.
#pragma once
#include "platform/braille_display.h"

namespace platform {

// Translates with the tables liblouis finds by name (pt-pt-g2.ctb: Portuguese contracted
// braille) or by path.
const BrailleTranslator& LouisBrailleTranslator();

}  // namespace platform
