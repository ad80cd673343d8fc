// TIRLA: the desktop clipboard as cp1252 text.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// Puts cp1252 text on the clipboard; false when the clipboard cannot be reached.
bool SetClipboardText(std::string_view text_cp1252);

// Reads the clipboard as cp1252 (characters outside cp1252 dropped). False when it cannot be
// reached; `has_text` tells whether it held text.
bool GetClipboardText(std::string* text_cp1252, bool* has_text);

}  // namespace platform
