// TIRLA: the console's copy and paste through the backend's clipboard.
#include <algorithm>
#include <string>

#include "console/backend.h"
#include "console/keyboard.h"

namespace console {

// The clipboard belongs to the display (SDL's needs its video part up), so it is started first.
void CopyToClipboard(std::string_view text) {
  std::string error;
  if (!backend::StartDisplay(&error)) return;
  backend::SetClipboard(text.substr(0, text.find('\0')));
}

void PasteFromClipboard(char* buffer, int32_t size) {
  if (!buffer || size <= 0) return;
  std::string error;
  if (!backend::StartDisplay(&error)) return;
  std::string text;
  bool has_text = false;
  if (!backend::GetClipboard(&text, &has_text)) return;
  if (!has_text) {
    buffer[0] = 0;
    return;
  }
  text.resize(std::min(text.find('\0'), text.size()));
  const size_t n = std::min(text.size() + 1, static_cast<size_t>(size));
  text.copy(buffer, n);
  buffer[n - 1] = 0;
}

}  // namespace console
