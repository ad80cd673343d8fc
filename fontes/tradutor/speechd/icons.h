// TIRLA: sound icons: the file the server plays for an icon name, and the short tone the
// module makes itself when there is none (and before capitals, when asked).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sdOrvia {

// Folder of Debian's sound-icons package, where the server's other modules find icons.
constexpr std::string_view kIconFolder = "/usr/share/sounds/sound-icons";

// The icon's sound file in `folder`, when the name is a plain file name and the file is there;
// empty otherwise (a name with '/' or starting with '.' never leaves the folder).
std::string IconFile(std::string_view folder, std::string_view name);

// A short tone (about 60 ms) at `rate` samples per second, faded in and out.
std::vector<int16_t> Tone(int rate);

}  // namespace sdOrvia
