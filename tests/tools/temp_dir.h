// A fresh temporary directory, removed with everything in it at scope exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

struct TempDir {
  std::string path;
  TempDir() {
    char pattern[] = "/tmp/vekotra-tools.XXXXXX";
    char* made = mkdtemp(pattern);
    path = made != nullptr ? made : "";
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
};
