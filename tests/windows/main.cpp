// The tests' entry point. Started as "PROGRAM /c COMMAND" it stands in for
// the command interpreter instead (a test points COMSPEC at it): it leaves a
// mark in the file VEKOTRA_SHELL_MARK names, so a test can tell whether the
// code under test started a process through system().
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc >= 2 && (strcmp(argv[1], "/c") == 0 || strcmp(argv[1], "/C") == 0)) {
    if (const char* mark = getenv("VEKOTRA_SHELL_MARK")) {
      if (FILE* file = fopen(mark, "ab")) {
        fputs(argc >= 3 ? argv[2] : "?", file);
        fclose(file);
      }
    }
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
