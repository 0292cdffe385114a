#include <errno.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/os/os.h"

static bool isFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The game's folder under an XDG base directory: "$variable/vekotra", or
// "$HOME/homeFolder/vekotra" when the variable is unset, empty or not
// absolute; the password database's home folder when HOME is unset too.
// Empty when no absolute folder can be named.
static std::string userFolder(const char* variable, const char* homeFolder) {
  const char* xdg = getenv(variable);
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/vekotra";
  const char* home = getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') return std::string();
  return std::string(home) + "/" + homeFolder + "/vekotra";
}

std::string cacheFolder() {
  return userFolder("XDG_CACHE_HOME", ".cache");
}

std::string configFolder() {
  return userFolder("XDG_CONFIG_HOME", ".config");
}

bool makeParentFolders(const std::string& path) {
  size_t end = path.rfind('/');
  if (end == std::string::npos) return true;  // a bare name lies in the working directory
  std::string folder = path.substr(0, end);
  // Each prefix ending before a '/' names a folder on the way down; empty
  // parts of doubled slashes name the same folder again and cost nothing.
  for (size_t slash = path.find('/', 1); slash != std::string::npos && slash <= end;
       slash = path.find('/', slash + 1)) {
    std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return folder.empty() || isFolder(folder);
}

bool enterDataFolder() {
  return false;
}
