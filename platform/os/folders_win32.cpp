// The user's folders from the environment, else from the shell's known
// folders; folder creation; the data folder beside the executable.
#include <shlobj.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/os/os.h"
#include "platform/os/utf8_win32.h"

// "C:\..." or "C:/...", or a network path "\\server\share...".
static bool isAbsolute(const std::wstring& path) {
  if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return true;
  return path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') &&
         (path[1] == L'\\' || path[1] == L'/');
}

static std::wstring environment(const wchar_t* name) {
  DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return std::wstring();
  std::vector<wchar_t> value(length);
  if (GetEnvironmentVariableW(name, value.data(), length) >= length) return std::wstring();
  return value.data();
}

// "$variable\Vekotra", or the known folder's when the variable is unset,
// empty or not absolute; empty when neither names a folder.
static std::string userFolder(const wchar_t* variable, const KNOWNFOLDERID& known) {
  std::wstring base = environment(variable);
  if (!isAbsolute(base)) {
    base.clear();
    PWSTR path = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(known, KF_FLAG_DEFAULT, nullptr, &path))) base = path;
    CoTaskMemFree(path);
    if (!isAbsolute(base)) return std::string();
  }
  return narrow(base.c_str()) + "\\Vekotra";
}

std::string cacheFolder() {
  return userFolder(L"LOCALAPPDATA", FOLDERID_LocalAppData);
}

std::string configFolder() {
  return userFolder(L"APPDATA", FOLDERID_RoamingAppData);
}

static bool isFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

static bool isSeparator(wchar_t c) {
  return c == L'/' || c == L'\\';
}

bool makeParentFolders(const std::string& path) {
  std::wstring wide = widen(path);
  size_t end = wide.find_last_of(L"/\\");
  if (end == std::wstring::npos) return true;  // a bare name lies in the working directory
  // Where the folders to make start: past a drive's root ("C:\"), a
  // network share ("\\server\share\") or a root folder ("\").
  size_t first = 1;
  if (wide.size() >= 3 && wide[1] == L':' && isSeparator(wide[2])) {
    first = 3;
  } else if (wide.size() >= 2 && isSeparator(wide[0]) && isSeparator(wide[1])) {
    size_t server = wide.find_first_of(L"/\\", 2);
    size_t share = server == std::wstring::npos ? server : wide.find_first_of(L"/\\", server + 1);
    if (share == std::wstring::npos || share > end) return isFolder(wide.substr(0, end));
    first = share + 1;
  }
  for (size_t slash = wide.find_first_of(L"/\\", first); slash != std::wstring::npos && slash <= end;
       slash = wide.find_first_of(L"/\\", slash + 1)) {
    if (isSeparator(wide[slash - 1])) continue;  // a doubled separator
    std::wstring prefix = wide.substr(0, slash);
    // A folder already there may still refuse creation with another error
    // than ERROR_ALREADY_EXISTS (one the user may not write into); a file
    // of that name is no folder.
    if (!CreateDirectoryW(prefix.c_str(), nullptr) && !isFolder(prefix)) return false;
  }
  return isFolder(wide.substr(0, end));
}

bool enterDataFolder() {
  if (isFolder(L"data")) return false;
  std::vector<wchar_t> module(MAX_PATH);
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()))) ==
         module.size()) {
    module.resize(module.size() * 2);  // truncated: a long path
  }
  if (length == 0) return false;
  std::wstring folder(module.data(), length);
  size_t slash = folder.find_last_of(L"/\\");
  if (slash == std::wstring::npos) return false;
  folder.resize(slash);
  if (!isFolder(folder + L"\\data")) return false;
  return SetCurrentDirectoryW(folder.c_str()) != 0;
}
