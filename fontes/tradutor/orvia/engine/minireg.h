// TIRLA: the small registry reader: answers the MBROLA voice database key from the voices'
// places on this system.
#pragma once
#include <string>
#include <vector>

namespace minireg {

// Root keys a path is read under.
enum RootKey : int { kLocalMachine = 0, kCurrentUser = 1 };

// The key that names an MBROLA voice database; the voice id follows it.
constexpr char kMbrolaDatabases[] = "SOFTWARE\\TCTS\\Mbrola\\databases\\";

// Puts the module in its start state: voices looked for in /usr/share/mbrola and
// /usr/local/share/mbrola.
void StartMinireg();

// Folders where voices live as <folder>/<id>/<id> (or <folder>/<id> as a file), in order.
void SetVoiceFolders(const std::vector<std::string>& folders);

// Reads the value named by `path` (key path and value name joined by a backslash; an empty
// value name is the key's default value) under `root`. Only the default value of
// HKEY_LOCAL_MACHINE\SOFTWARE\TCTS\Mbrola\databases\<ID> is known: the full path of voice <ID>
// (id lower-cased; the key's letters in any case). False for anything else and for voices
// that are not installed.
bool ReadRegistryString(RootKey root, const std::string& path, std::string& text);

// One voice found in the voice folders.
struct InstalledVoice {
  std::string name;      // the id a voice is asked for by ("br4")
  std::string path;      // its database file
  std::string language;  // language tag from the id's two letters ("pt-BR"); empty if unknown
};

// Every voice in the voice folders, sorted by name; a name found twice is the first folder's.
std::vector<InstalledVoice> InstalledVoices();

}  // namespace minireg
