#include "platform/os/os.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include <string>
#include <vector>

static bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// The entries of `folder` whose names equal `name` ignoring case, the exact
// name first when it is there.
static std::vector<std::string> matchesInFolder(const std::string& folder,
                                                const std::string& name) {
  std::vector<std::string> found;
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return found;
  while (dirent* entry = readdir(dir)) {
    if (strcasecmp(entry->d_name, name.c_str()) != 0) continue;
    if (name == entry->d_name) {
      found.insert(found.begin(), entry->d_name);
    } else {
      found.push_back(entry->d_name);
    }
  }
  closedir(dir);
  return found;
}

// Resolves parts[index..] below `built`. Several folders may differ only in
// case ("data" and "Data" side by side), so each is tried in turn.
static bool resolve(const std::vector<std::string>& parts, size_t index, std::string built,
                    std::string& result) {
  if (index == parts.size()) {
    if (!exists(built)) return false;
    result = built;
    return true;
  }
  const std::string& part = parts[index];
  // An empty first part means the path starts at the root folder.
  std::string folder = (index > 0 && built.empty()) ? "/" : built;
  if (index > 0) built += '/';
  if (part.empty() || part == "." || part == "..") {
    return resolve(parts, index + 1, built + part, result);
  }
  for (const std::string& match : matchesInFolder(folder, part)) {
    if (resolve(parts, index + 1, built + match, result)) return true;
  }
  return false;
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
  std::string result;
  return resolve(parts, 0, "", result) ? result : path;
}

// Where a file that may not exist yet goes: the file itself when findFile
// finds it; otherwise the file's name as written, in its folder as findFile
// finds it (folders matched ignoring case, so a cache file lands beside the
// data it belongs to).
static std::string pathToCreate(const std::string& path) {
  std::string found = findFile(path);
  if (found != path || exists(path)) return found;
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return path;
  return findFile(path.substr(0, slash)) + path.substr(slash);
}

FILE* openFile(const char* path, const char* mode) {
  int flags;
  switch (mode[0]) {
    case 'r': flags = 0; break;
    case 'w': flags = O_CREAT; break;
    case 'a': flags = O_CREAT | O_APPEND; break;
    default: errno = EINVAL; return nullptr;
  }
  bool update = strchr(mode, '+') != nullptr;
  flags |= update ? O_RDWR : (mode[0] == 'r' ? O_RDONLY : O_WRONLY);
  // Opened without blocking, so a FIFO cannot hold the open; then checked on
  // the descriptor itself, so the file cannot change between check and use.
  const std::string target = (flags & O_CREAT) ? pathToCreate(path) : findFile(path);
  int fd = open(target.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat info;
  bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular || fcntl(fd, F_SETFL, flags & O_APPEND) != 0 ||
      (mode[0] == 'w' && ftruncate(fd, 0) != 0)) {
    close(fd);
    if (!regular) errno = ENOENT;
    return nullptr;
  }
  FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
  return file;
}

bool replaceFile(const char* path, const void* data, size_t size) {
  const std::string target = pathToCreate(path);
  // A name no other writer uses: this process's id, and a number past any
  // temporary file a killed process of the same id left behind.
  std::string temporary;
  int fd = -1;
  for (int n = 0; fd < 0 && n < 100; ++n) {
    temporary = target + ".tmp." + std::to_string(getpid()) + "." + std::to_string(n);
    fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t written = write(fd, bytes + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    done += static_cast<size_t>(written);
  }
  bool whole = close(fd) == 0 && done == size;
  if (whole && rename(temporary.c_str(), target.c_str()) == 0) return true;
  unlink(temporary.c_str());
  return false;
}
