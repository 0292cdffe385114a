// Runs a fuzz target over saved inputs without libFuzzer: every file named on
// the command line, and every file inside every folder named there. Exits 1
// when no input was found, so a missing corpus does not pass unnoticed.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

static bool readWhole(const std::string& path, std::vector<uint8_t>& bytes) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  bytes.clear();
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
  fclose(file);
  return true;
}

static void collect(const std::string& path, std::vector<std::string>& inputs) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return;
  if (!S_ISDIR(info.st_mode)) {
    inputs.push_back(path);
    return;
  }
  DIR* dir = opendir(path.c_str());
  if (!dir) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) collect(path + "/" + name, inputs);
}

int main(int argc, char** argv) {
  std::vector<std::string> inputs;
  for (int i = 1; i < argc; ++i) collect(argv[i], inputs);
  if (inputs.empty()) {
    fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::vector<uint8_t> bytes;
  for (const std::string& input : inputs) {
    if (!readWhole(input, bytes)) {
      fprintf(stderr, "cannot read %s\n", input.c_str());
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
