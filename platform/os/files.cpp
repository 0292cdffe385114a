#include "platform/os/os.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

static bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The entry of `folder` whose name equals `name` ignoring case, or "" when
// there is none. An exact match wins over a case-folded one.
static std::string matchInFolder(const std::string& folder, const std::string& name) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return "";
  std::string found;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = entry->d_name;
      if (found == name) break;
    }
  }
  closedir(dir);
  return found;
}

std::string findFile(const std::string& path) {
  if (path.empty() || exists(path)) return path;

  // Split on '/', keeping empty parts so doubled slashes survive.
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t slash = path.find('/', start);
    parts.push_back(path.substr(start, slash - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }

  std::string built;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (i > 0) built += '/';
    if (part.empty() || part == "." || part == "..") {
      built += part;
      continue;
    }
    std::string candidate = built + part;
    if (!exists(candidate)) {
      std::string folder = i == 0 ? "" : built;
      std::string match = matchInFolder(folder, part);
      if (match.empty()) return path;
      candidate = built + match;
    }
    built = candidate;
  }
  return built;
}

FILE* openFile(const char* path, const char* mode) {
  return fopen(findFile(path).c_str(), mode);
}
