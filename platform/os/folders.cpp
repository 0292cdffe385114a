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

std::string cacheFolder() {
  const char* xdg = getenv("XDG_CACHE_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/vekotra";
  const char* home = getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* entry = getpwuid(getuid());
    home = entry != nullptr ? entry->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') return std::string();
  return std::string(home) + "/.cache/vekotra";
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
