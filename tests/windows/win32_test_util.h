// Helpers of the Windows tests: a scratch folder and environment variables
// set for one scope.
#pragma once

#include <windows.h>

#include <string>

// A new empty folder under the system's temporary folder, removed with what
// it holds when the scope ends. `path` uses '\' and has no trailing one.
struct ScratchFolder {
  std::string path;
  ScratchFolder();
  ~ScratchFolder();
};

// Sets (or, with null, removes) a variable of the process's environment for
// one scope, in both the system's and the C runtime's copy.
struct ScopedVariable {
  std::string name;
  bool had;
  std::string old;
  ScopedVariable(const char* variable, const char* value);
  ~ScopedVariable();
};

// The names in `folder`, "." and ".." left out, sorted.
std::string folderListing(const std::string& folder);

// The whole content of a file, or "<missing>".
std::string fileContent(const std::string& path);
