// TIRLA: folders of the program and its data.
#include "platform/folders.h"

#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/codepage.h"
#include "platform/install_dirs.h"

namespace platform {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Where an install to `prefix` puts the configuration: the GNU rule keeps it out of /usr.
std::string ConfigFolderIn(const std::string& prefix) {
  if (prefix == "/usr" || prefix == "/usr/") return "/etc/tolvan";
  return JoinPath(prefix, "etc/tolvan");
}

std::string DataFolderIn(const std::string& prefix) { return JoinPath(prefix, "share/tolvan"); }

// One folder, by the rules of FindDataFolders.
std::string FindFolder(const char* variable, std::string (*folder_in)(const std::string&),
                       const std::string& program, const char* installed) {
  if (std::string own = Environment(variable); !own.empty()) return own;
  if (std::string prefix = Environment("TOLVAN_PREFIX"); !prefix.empty()) return folder_in(prefix);
  if (!program.empty()) {
    std::string beside = folder_in(ParentOf(ParentOf(program)));
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) return beside;
  }
  return installed;
}

}  // namespace

std::string ModuleFileName() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

DataFolders FindDataFolders(const std::string& program) {
  return {FindFolder("TOLVAN_WINDIR", ConfigFolderIn, program, kInstallConfigDir),
          FindFolder("TOLVAN_DATADIR", DataFolderIn, program, kInstallDataDir)};
}

std::string CurrentDirectory() {
  char buffer[4096];
  std::string folder = getcwd(buffer, sizeof buffer) ? Utf8ToCp1252(buffer) : "";
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string WindowsDirectory() { return FindDataFolders(ModuleFileName()).config; }

std::string UserConfigDirectory() {
  if (!Environment("TOLVAN_WINDIR").empty()) return {};
  // The XDG rule: a relative value is to be ignored.
  if (std::string own = Environment("XDG_CONFIG_HOME"); !own.empty() && own[0] == '/')
    return JoinPath(own, "tolvan");
  if (std::string home = Environment("HOME"); !home.empty() && home[0] == '/')
    return JoinPath(home, ".config/tolvan");
  return {};
}

std::string SharedDataPath(const std::string& relative) {
  return JoinPath(FindDataFolders(ModuleFileName()).data, relative);
}

std::string FindFileNoCase(const std::string& folder, const std::string& name) {
  const std::string plain = JoinPath(folder, name);
  if (access(plain.c_str(), F_OK) == 0) return plain;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return plain;
  while (const dirent* entry = readdir(dir.get())) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) return JoinPath(folder, entry->d_name);
  }
  return plain;
}

std::string SlashPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace platform
