// The generator as the build runs it: the files it writes, their names, and
// the same bytes on every run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include <sys/wait.h>

#include "tests/tools/chunk_walker.h"
#include "tests/tools/temp_dir.h"
#include "tools/game_data.h"

namespace fs = std::filesystem;

namespace {

const std::set<std::string> kExpectedFiles = {
    "data/Tolvar2/TolvarFight2_mini.3ds", "data/map/earth3.3DS",   "data/Weapons/saber04.3DS",
    "data/Satellite/MRO.3ds",             "data/map/mars.3DS",     "data/map/pluton.3DS",
    "data/map/earth3.bmp",                "data/map/mars.bmp",     "data/map/pluton.bmp",
    "Data/Les_Sons/Burglar.wav",          "Data/Les_Sons/missle.wav", "Data/Les_Sons/vekotra.wav",
    "data/icons/vekotra_16.png",          "data/icons/vekotra_32.png", "data/icons/vekotra_48.png",
    "data/icons/vekotra_128.png"};

std::set<std::string> filesUnder(const fs::path& root) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), root).generic_string());
  }
  return files;
}

int runGenerator(const std::string& arguments) {
  std::string command = std::string(VEKOTRA_DATAGEN) + " " + arguments + " 2>/dev/null";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TEST(GameData, TheGeneratorWritesTheSameBytesOnEveryRun) {
  TempDir first, second;
  ASSERT_EQ(runGenerator(first.path), 0);
  ASSERT_EQ(runGenerator(second.path), 0);
  EXPECT_EQ(filesUnder(first.path), kExpectedFiles);
  EXPECT_EQ(filesUnder(second.path), kExpectedFiles);
  std::vector<DataFile> inProcess = makeGameData();
  ASSERT_EQ(inProcess.size(), kExpectedFiles.size());
  for (const DataFile& file : inProcess) {
    std::vector<uint8_t> a = readBytes(first.path + "/" + file.path);
    EXPECT_FALSE(a.empty()) << file.path;
    EXPECT_EQ(a, readBytes(second.path + "/" + file.path)) << file.path;
    EXPECT_EQ(a, file.bytes) << file.path;
  }
  // Running again over existing data changes nothing.
  ASSERT_EQ(runGenerator(first.path), 0);
  for (const DataFile& file : inProcess) EXPECT_EQ(readBytes(first.path + "/" + file.path), file.bytes);
}

TEST(GameData, IsSmall) {
  size_t total = 0;
  for (const DataFile& file : makeGameData()) total += file.bytes.size();
  EXPECT_LT(total, 1500u * 1024);
}

TEST(GameData, TexturesAreStoredInLowerCaseBesideTheModelsThatNameThemInUpperCase) {
  std::vector<DataFile> files = makeGameData();
  std::set<std::string> paths;
  for (const DataFile& f : files) paths.insert(f.path);
  int textures = 0;
  for (const DataFile& f : files) {
    if (f.path.size() < 4 || lower(f.path.substr(f.path.size() - 4)) != ".3ds") continue;
    WalkedModel model;
    std::string error;
    ASSERT_TRUE(walkTds(f.bytes, &model, &error)) << f.path << ": " << error;
    std::string folder = f.path.substr(0, f.path.rfind('/') + 1);
    for (const WalkedMaterial& m : model.materials) {
      if (m.mapFile.empty()) continue;
      ++textures;
      EXPECT_NE(m.mapFile, lower(m.mapFile)) << "named in upper case";
      EXPECT_EQ(paths.count(folder + lower(m.mapFile)), 1u) << "stored in lower case: " << m.mapFile;
      EXPECT_EQ(paths.count(folder + m.mapFile), 0u) << "not under the upper-case name";
    }
  }
  EXPECT_EQ(textures, 3);
}

TEST(GameData, TheGeneratorReportsWhatItCannotDo) {
  EXPECT_EQ(runGenerator(""), 2) << "no directory given";
  TempDir dir;
  // A plain file where the data folder should go.
  std::string blocker = dir.path + "/blocked";
  std::ofstream(blocker) << "not a folder";
  EXPECT_EQ(runGenerator(blocker), 1);
  std::string error;
  EXPECT_FALSE(writeGameData(blocker, &error));
  EXPECT_NE(error.find("blocked"), std::string::npos) << error;
}

TEST(GameData, CountsListEveryModelAsTheStatisticsShowIt) {
  std::string counts = modelCounts();
  std::vector<std::string> lines;
  for (size_t at = 0, end; (end = counts.find('\n', at)) != std::string::npos; at = end + 1) {
    lines.push_back(counts.substr(at, end - at));
  }
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("data//Tolvar2//TolvarFight2_mini.3ds ", 0), 0u);
  EXPECT_EQ(lines[5].rfind("data//map//pluton.3DS ", 0), 0u);
  // The fighter's line agrees with its file read back independently.
  WalkedModel fighter;
  std::string error;
  ASSERT_TRUE(walkTds(makeGameData()[0].bytes, &fighter, &error)) << error;
  std::string expected = "data//Tolvar2//TolvarFight2_mini.3ds " + std::to_string(fighter.objects.size());
  size_t verts = 0, faces = 0;
  std::string perObject;
  for (const WalkedObject& o : fighter.objects) {
    verts += o.vertices.size() / 3;
    faces += o.faces.size() / 3;
    perObject += " " + std::to_string(o.vertices.size() / 3) + " " + std::to_string(o.faces.size() / 3);
  }
  expected += " " + std::to_string(verts) + " " + std::to_string(faces) + perObject;
  EXPECT_EQ(lines[0], expected);
  // The planet: one object of 2 + 31 x 48 vertices and 2 x 48 x 31 faces.
  EXPECT_EQ(lines[1], "data//map//earth3.3DS 1 1490 2976 1490 2976");
}
