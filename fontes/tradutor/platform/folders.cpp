// TIRLA: folders of the program and its data.
#include "platform/folders.h"

#include <dirent.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace platform {

std::string ModuleFileName() {
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::string(buffer, static_cast<size_t>(n));
}

static std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string InstallPrefix() {
  if (const char* prefix = std::getenv("TOLVAN_PREFIX"); prefix && *prefix) return prefix;
  return ParentOf(ParentOf(ModuleFileName()));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

std::string WindowsDirectory() {
  if (const char* dir = std::getenv("TOLVAN_WINDIR"); dir && *dir) return dir;
  return JoinPath(InstallPrefix(), "etc/tolvan");
}

std::string SharedDataPath(const std::string& relative) {
  return JoinPath(JoinPath(InstallPrefix(), "share/tolvan"), relative);
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
