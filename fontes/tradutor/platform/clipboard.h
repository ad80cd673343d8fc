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

}  // namespace platform
