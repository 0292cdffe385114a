#include "app/display_info.h"

#include <cctype>
#include <cstdio>

#include "platform/display/display.h"

bool isSoftwareRenderer(const std::string& renderer) {
  std::string name;
  for (char c : renderer) name += static_cast<char>(tolower(static_cast<unsigned char>(c)));
  for (const char* software : {"llvmpipe", "softpipe", "swrast"}) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

bool chooseMultisample(int option, const char* displayName) {
  if (option >= 0) return option == 1;
  std::string renderer = probeRenderer(displayName);
  if (!isSoftwareRenderer(renderer)) return true;
  fprintf(stderr,
          "vekotra: software OpenGL renderer (%s): window without multisampling "
          "(--multisample=on asks for it)\n",
          renderer.c_str());
  return false;
}
