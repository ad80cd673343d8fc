// TIRLA: where the program, its configuration and its data live.
#pragma once
#include <string>

namespace platform {

// Full path of the running program (/proc/self/exe).
std::string ModuleFileName();

// The configuration and data folders found for one program.
struct DataFolders {
  std::string config;  // holds TOLVAN.INI
  std::string data;    // the share/tolvan folder: sounds, translator and ORVIA data
};

// The folders for the program at `program` (a full path). Each is the first of:
// 1. the environment: $TOLVAN_WINDIR (configuration) or $TOLVAN_DATADIR (data), else under
//    $TOLVAN_PREFIX;
// 2. under the parent of the program's folder, when the folder exists there (a build tree,
//    or an install moved as a whole);
// 3. the install folders compiled in.
// Under a prefix the configuration is <prefix>/etc/tolvan (/etc/tolvan for the prefix /usr)
// and the data <prefix>/share/tolvan.
DataFolders FindDataFolders(const std::string& program);

// Folder of the environment-wide TOLVAN.INI, for the running program.
std::string WindowsDirectory();

// Folder of the user's own TOLVAN.INI, read over the environment-wide one key by key:
// $XDG_CONFIG_HOME/tolvan, else $HOME/.config/tolvan. Empty when $TOLVAN_WINDIR is set (a
// one-off configuration stands alone, so tests and trial runs do not see the user's) or when
// neither variable names an absolute folder.
std::string UserConfigDirectory();

// The running program's data folder joined with a relative path ("som/difones", "orviatts").
std::string SharedDataPath(const std::string& relative);

// The entry of `folder` whose name equals `name` without regard to case, as a full path;
// the plain join when there is none.
std::string FindFileNoCase(const std::string& folder, const std::string& name);

// The current directory (cp1252), without a trailing '/' unless it is the root; "" when it
// cannot be read.
std::string CurrentDirectory();

// Joins two path pieces with one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

// A path written with backslashes in the Windows way, in '/' form: every '\' becomes '/'.
// An '@\' shorthand thus becomes '@/'; expanding the '@' is the configuration reader's job.
std::string SlashPath(std::string path);

}  // namespace platform
