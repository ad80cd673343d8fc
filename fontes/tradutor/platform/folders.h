// TIRLA: where the program and its data live.
#pragma once
#include <string>

namespace platform {

// Full path of the running program (/proc/self/exe).
std::string ModuleFileName();

// The parent of the program's folder: the build tree or the install prefix.
std::string InstallPrefix();

// Folder of the environment-wide TOLVAN.INI: $TOLVAN_WINDIR, else <prefix>/etc/tolvan.
std::string WindowsDirectory();

// <prefix>/share/tolvan joined with a relative path ("som/difones", "orviatts").
std::string SharedDataPath(const std::string& relative);

// The entry of `folder` whose name equals `name` without regard to case, as a full path;
// the plain join when there is none.
std::string FindFileNoCase(const std::string& folder, const std::string& name);

// Joins two path pieces with one '/'.
std::string JoinPath(const std::string& folder, const std::string& name);

// A path written with backslashes (and the '@\' shorthand) in the Windows way, in '/' form.
std::string SlashPath(std::string path);

}  // namespace platform
