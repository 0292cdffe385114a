// Files on Windows. Its file systems compare names ignoring case already, so
// a path is looked up as written. Files are opened through CreateFileW, which
// tells a disk file from a device ("CON", "NUL", "COM1"), a pipe or a
// folder on the handle itself, and shares the file for deletion, so that a
// replaceFile of another process can rename over a file being read.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/os/os.h"
#include "platform/os/utf8_win32.h"

std::string findFile(const std::string& path) {
  return path;
}

// A disk file, not a folder, open at `handle`.
static bool isRegular(HANDLE handle) {
  if (GetFileType(handle) != FILE_TYPE_DISK) return false;
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

FILE* openFile(const char* path, const char* mode) {
  DWORD access, disposition;
  int flags;
  bool update = strchr(mode, '+') != nullptr;
  switch (mode[0]) {
    case 'r':
      access = GENERIC_READ | (update ? GENERIC_WRITE : 0);
      disposition = OPEN_EXISTING;
      flags = update ? _O_RDWR : _O_RDONLY;
      break;
    case 'w':
    case 'a':
      access = GENERIC_WRITE | (update ? GENERIC_READ : 0);
      disposition = OPEN_ALWAYS;  // emptied below, once known to be a file
      flags = (update ? _O_RDWR : _O_WRONLY) | (mode[0] == 'a' ? _O_APPEND : 0);
      break;
    default:
      errno = EINVAL;
      return nullptr;
  }
  if (strchr(mode, 'b') != nullptr) flags |= _O_BINARY;
  std::wstring wide = widen(path);
  if (wide.empty()) {
    errno = ENOENT;
    return nullptr;
  }
  HANDLE handle = CreateFileW(wide.c_str(), access,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ENOENT;
    return nullptr;
  }
  if (!isRegular(handle) || (mode[0] == 'w' && !SetEndOfFile(handle))) {
    CloseHandle(handle);
    errno = ENOENT;
    return nullptr;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  FILE* file = _fdopen(fd, mode);
  if (file == nullptr) _close(fd);  // closes the handle too
  return file;
}

bool replaceFile(const char* path, const void* data, size_t size) {
  const std::wstring target = widen(path);
  if (target.empty()) return false;
  // A name no other writer uses: this process's id, and a number past any
  // temporary file a killed process of the same id left behind.
  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int n = 0; handle == INVALID_HANDLE_VALUE && n < 100; ++n) {
    temporary = target + L".tmp." + std::to_wstring(GetCurrentProcessId()) + L"." +
                std::to_wstring(n);
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (handle == INVALID_HANDLE_VALUE) return false;
  const char* bytes = static_cast<const char*>(data);
  size_t done = 0;
  while (done < size) {
    DWORD chunk = size - done > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size - done);
    DWORD written = 0;
    if (!WriteFile(handle, bytes + done, chunk, &written, nullptr) || written == 0) break;
    done += written;
  }
  bool whole = CloseHandle(handle) && done == size;
  if (whole && MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}
