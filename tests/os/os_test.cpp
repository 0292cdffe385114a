#include <gtest/gtest.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/os/os.h"

namespace {

struct TempTree : testing::Test {
  std::string root;
  void SetUp() override {
    char pattern[] = "/tmp/vekotra-os.XXXXXX";
    root = mkdtemp(pattern);
  }
  void TearDown() override {
    std::string command = "rm -rf '" + root + "'";
    ASSERT_EQ(system(command.c_str()), 0);
  }
  void makeFile(const std::string& relative) {
    std::string path = root + "/" + relative;
    for (size_t slash = path.find('/', root.size() + 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
      mkdir(path.substr(0, slash).c_str(), 0755);
    }
    std::ofstream(path) << "x";
  }
};

TEST_F(TempTree, FindsFilesIgnoringCaseFolderByFolder) {
  makeFile("data/map/earth3.3DS");
  makeFile("data/map/IMAGE1.jpg");
  makeFile("Data/Les_Sons/Burglar.wav");

  // As written, doubled slashes and all.
  EXPECT_EQ(findFile(root + "/data//map//earth3.3DS"), root + "/data//map//earth3.3DS");
  // Each folder and the file name matched ignoring case.
  EXPECT_EQ(findFile(root + "/DATA//Map//EARTH3.3ds"), root + "/data//map//earth3.3DS");
  EXPECT_EQ(findFile(root + "/data//map//IMAGE1.JPG"), root + "/data//map//IMAGE1.jpg");
  EXPECT_EQ(findFile(root + "/data/les_sons/burglar.WAV"), root + "/Data/Les_Sons/Burglar.wav");
  // Nothing matches: the path comes back unchanged, so the open fails as usual.
  EXPECT_EQ(findFile(root + "/data/map/mars.3DS"), root + "/data/map/mars.3DS");
  EXPECT_EQ(findFile(root + "/nowhere/x"), root + "/nowhere/x");
  EXPECT_EQ(findFile(""), "");

  FILE* f = openFile((root + "/DATA/MAP/image1.JPG").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_EQ(openFile((root + "/data/map/none.jpg").c_str(), "rb"), nullptr);
}

TEST_F(TempTree, OpensOnlyRegularFiles) {
  makeFile("data/map/earth3.3DS");
  // A FIFO would hold fopen until a writer came; a folder opens for reading.
  ASSERT_EQ(mkfifo((root + "/data/map/mars.3DS").c_str(), 0644), 0);
  EXPECT_EQ(openFile((root + "/DATA/map/MARS.3ds").c_str(), "rb"), nullptr);
  EXPECT_EQ(openFile((root + "/data/map/mars.3DS").c_str(), "wb"), nullptr);
  EXPECT_EQ(openFile((root + "/data/map").c_str(), "rb"), nullptr);
  EXPECT_EQ(openFile("/dev/zero", "rb"), nullptr);

  // A regular file is emptied by "w" only after that check, and is created.
  std::string earth = root + "/data/map/earth3.3DS";
  FILE* f = openFile((root + "/data/MAP/EARTH3.3ds").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  struct stat info;
  ASSERT_EQ(stat(earth.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
  f = openFile((root + "/data/map/new.pmap").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
}

// A cache file written beside data whose folders differ in case from the
// path the game names: created where the data is, so the next start finds it.
TEST_F(TempTree, CreatesFilesInTheFoldersFoundIgnoringCaseUnderTheirOwnName) {
  makeFile("Data/Map/earth3.3DS");
  FILE* f = openFile((root + "/data//map//earth3.3DS.pmap").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fputs("block", f);
  fclose(f);
  struct stat info;
  ASSERT_EQ(stat((root + "/Data/Map/earth3.3DS.pmap").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 5);
  EXPECT_EQ(findFile(root + "/data//map//earth3.3DS.pmap"), root + "/Data//Map//earth3.3DS.pmap");
  f = openFile((root + "/DATA/map/earth3.3DS.pmap").c_str(), "ab");
  ASSERT_NE(f, nullptr);
  fputs("+", f);
  fclose(f);
  ASSERT_EQ(stat((root + "/Data/Map/earth3.3DS.pmap").c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 6) << "appended to the file found";

  // The new file's own name keeps its case.
  f = openFile((root + "/DATA/MAP/New.PMAP").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_EQ(stat((root + "/Data/Map/New.PMAP").c_str(), &info), 0);
  // A folder that is nowhere is not made.
  EXPECT_EQ(openFile((root + "/data/none/x.pmap").c_str(), "wb"), nullptr);
  EXPECT_NE(stat((root + "/data").c_str(), &info), 0);
  // A name in the working directory is created there.
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(root.c_str()), 0);
  f = openFile("here.pmap", "wb");
  ASSERT_EQ(chdir(previous), 0);
  ASSERT_NE(f, nullptr);
  fclose(f);
  EXPECT_EQ(stat((root + "/here.pmap").c_str(), &info), 0);
}

TEST_F(TempTree, PrefersTheExactNameWhenSeveralDifferOnlyInCase) {
  makeFile("tex/a.bmp");
  makeFile("tex/A.BMP");
  makeFile("TEX/b.bmp");
  EXPECT_EQ(findFile(root + "/tex/A.BMP"), root + "/tex/A.BMP");
  // "TEX/b.bmp" is found even though a folder "tex" also exists.
  EXPECT_EQ(findFile(root + "/TEX/B.BMP"), root + "/TEX/b.bmp");
}

TEST_F(TempTree, RelativePathsAreLookedUpFromTheWorkingDirectory) {
  makeFile("Data/Les_Sons/vekotra.wav");
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(root.c_str()), 0);
  EXPECT_EQ(findFile("data/les_sons/VEKOTRA.wav"), "Data/Les_Sons/vekotra.wav");
  EXPECT_EQ(findFile("./Data/Les_Sons/vekotra.wav"), "./Data/Les_Sons/vekotra.wav");
  ASSERT_EQ(chdir(previous), 0);
}

uint32_t fixedClock() { return 0xFFFFFFFFu; }

TEST(Clock, SteadyAndReplaceable) {
  uint32_t a = timeGetTime();
  uint32_t b = timeGetTime();
  EXPECT_LT(b - a, 1000u);
  setClockSource(fixedClock);
  EXPECT_EQ(timeGetTime(), 0xFFFFFFFFu);
  setClockSource(nullptr);
  EXPECT_NE(timeGetTime(), 0xFFFFFFFFu);
}

TEST(Console, ClearsOnlyATerminal) {
  // Standard output captured to a file: nothing is written.
  testing::internal::CaptureStdout();
  clearConsole();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  // Standard output on a terminal: home, erase the screen and the scrollback.
  int master, slave;
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  fflush(stdout);
  int saved = dup(STDOUT_FILENO);
  dup2(slave, STDOUT_FILENO);
  clearConsole();
  fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);
  char buffer[32] = {};
  ssize_t n = read(master, buffer, sizeof buffer - 1);
  close(slave);
  close(master);
  EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), "\x1b[H\x1b[2J\x1b[3J");
}

TEST(MessageBox, WithoutADisplayGoesToStandardErrorThenExits) {
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        showMessage(true, "ERROR", "file 'data//map//earth3.3DS' not found");
      },
      testing::ExitedWithCode(0), "ERROR: file 'data//map//earth3.3DS' not found");
}

}  // namespace
