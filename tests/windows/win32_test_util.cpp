#include "tests/windows/win32_test_util.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

ScratchFolder::ScratchFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  for (int n = 0; path.empty(); ++n) {
    std::string candidate = std::string(base) + "vekotra-test." +
                            std::to_string(GetCurrentProcessId()) + "." + std::to_string(n);
    if (CreateDirectoryA(candidate.c_str(), nullptr)) path = candidate;
  }
}

ScratchFolder::~ScratchFolder() {
  // SHFileOperation wants a list ending in two nulls.
  std::string from = path + '\0' + '\0';
  SHFILEOPSTRUCTA operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&operation);
}

ScopedVariable::ScopedVariable(const char* variable, const char* value)
    : name(variable), had(getenv(variable) != nullptr) {
  if (had) old = getenv(variable);
  SetEnvironmentVariableA(variable, value);
  _putenv_s(variable, value != nullptr ? value : "");
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableA(name.c_str(), had ? old.c_str() : nullptr);
  _putenv_s(name.c_str(), had ? old.c_str() : "");
}

std::string folderListing(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::sort(names.begin(), names.end());
  std::string listing;
  for (const std::string& name : names) listing += (listing.empty() ? "" : " ") + name;
  return listing;
}

std::string fileContent(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  if (file == nullptr) return "<missing>";
  std::string content;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, n);
  fclose(file);
  return content;
}
