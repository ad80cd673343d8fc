// TIRLA: the desktop clipboard as cp1252 text.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// A clipboard as the console uses it. A null entry fails (false).
struct Clipboard {
  // Puts cp1252 text on the clipboard; false when it cannot be reached.
  bool (*Set)(std::string_view text_cp1252) = nullptr;
  // Reads it as cp1252; false when it cannot be reached, `has_text` telling whether it held
  // text.
  bool (*Get)(std::string* text_cp1252, bool* has_text) = nullptr;
};

// The SDL clipboard (the video subsystem must be up).
const Clipboard& SdlClipboard();

// Puts cp1252 text on the clipboard; false when the clipboard cannot be reached.
bool SetClipboardText(std::string_view text_cp1252);

// Reads the clipboard as cp1252 (characters outside cp1252 dropped). False when it cannot be
// reached; `has_text` tells whether it held text.
bool GetClipboardText(std::string* text_cp1252, bool* has_text);

}  // namespace platform
