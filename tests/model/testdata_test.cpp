// Real 3DS files written by other tools (testdata/3ds): each loads with the
// object, vertex and face counts that a separate, minimal walk of the file
// finds, and with every texture file that exists found and loaded.
#include <dirent.h>
#include <gtest/gtest.h>
#include <strings.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "model/model_check.h"
#include "tests/model/model_test_util.h"

namespace {

const std::string dataDir = VEKOTRA_MODEL_TESTDATA;

// What the independent walk finds in a file.
struct Census {
  int objects = 0, vertices = 0, faces = 0;
  std::vector<std::string> maps;  // map file names, in file order
};

uint16_t le16(const std::string& b, size_t at) { return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8); }
uint32_t le32(const std::string& b, size_t at) { return le16(b, at) | uint32_t(le16(b, at + 2)) << 16; }

// Walks [pos, end) and descends only into the chunks that lead to counts.
void walk(const std::string& b, size_t pos, size_t end, Census& census) {
  while (pos + 6 <= end) {
    uint16_t id = le16(b, pos);
    size_t length = le32(b, pos + 2);
    size_t data = pos + 6, stop = pos + length;
    switch (id) {
      case 0x4D4D: case 0x3D3D: case 0x4100: case 0xAFFF: case 0xA200:
        walk(b, data, stop, census);
        break;
      case 0x4000:
        ++census.objects;
        walk(b, b.find('\0', data) + 1, stop, census);
        break;
      case 0x4110: census.vertices += le16(b, data); break;
      case 0x4120: census.faces += le16(b, data); break;
      case 0xA300: census.maps.push_back(b.c_str() + data); break;
    }
    pos = stop;
  }
}

Census census(const std::string& bytes) {
  Census c;
  walk(bytes, 0, bytes.size(), c);
  return c;
}

// The file of `dir` named `name` ignoring case, or "".
std::string findIgnoringCase(const std::string& name) {
  std::string found;
  DIR* dir = opendir(dataDir.c_str());
  while (dirent* entry = dir ? readdir(dir) : nullptr) {
    if (strcasecmp(entry->d_name, name.c_str()) == 0) found = entry->d_name;
  }
  if (dir) closedir(dir);
  return found;
}

std::vector<std::string> modelFiles() {
  std::vector<std::string> files;
  DIR* dir = opendir(dataDir.c_str());
  while (dirent* entry = dir ? readdir(dir) : nullptr) {
    std::string name = entry->d_name;
    if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".3ds") == 0) files.push_back(name);
  }
  if (dir) closedir(dir);
  return files;
}

TEST(RealFiles, EveryFileLoadsWithItsCountsAndTextures) {
  prepareGL();
  useRealImageLoader();
  std::vector<std::string> files = modelFiles();
  ASSERT_GE(files.size(), 9u) << "test data missing in " << dataDir;
  int texturesFound = 0, texturesMissing = 0;
  for (const std::string& file : files) {
    SCOPED_TRACE(file);
    std::ifstream in(dataDir + "/" + file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Census expected = census(bytes);

    Model_3DS model;
    model.load(keepPath(dataDir + "/" + file));
    EXPECT_EQ(model.damage, 0);
    EXPECT_EQ(model.nb_obj, expected.objects);
    EXPECT_EQ(model.tot_verts, expected.vertices);
    EXPECT_EQ(model.tot_faces, expected.faces);
    EXPECT_NE(model.displayList, 0u);
    std::string problem;
    EXPECT_TRUE(checkModel(model, &problem)) << problem;

    // Each map names a file in upper case; where one exists in any case, the
    // material's texture is the loaded image, else it stays 0.
    size_t map = 0;
    for (int m = 0; m < model.materialCount; ++m) {
      EXPECT_TRUE(model.materials[m].textured);
      if (!model.materials[m].texture.name) continue;  // colour only
      ASSERT_LT(map, expected.maps.size());
      const std::string& mapName = expected.maps[map++];
      if (findIgnoringCase(mapName).empty()) {
        EXPECT_EQ(model.materials[m].texture.id, 0u) << mapName;
        ++texturesMissing;
        continue;
      }
      GLuint id = model.materials[m].texture.id;
      ASSERT_NE(id, 0u) << mapName << " not loaded";
      glBindTexture(GL_TEXTURE_2D, id);
      GLint width = 0;
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
      EXPECT_GT(width, 1) << mapName;
      ++texturesFound;
    }
    EXPECT_EQ(map, expected.maps.size());
  }
  // IMAGE1, CWALL02, IMAGE2 of test1 and TEST.PNG of the diffuse cube exist;
  // BERETTA_.JPG of the alpha cubes does not ship with the files.
  EXPECT_EQ(texturesFound, 4);
  EXPECT_EQ(texturesMissing, 1);
}

TEST(RealFiles, CamerasAreObjectsWithoutMeshes) {
  Model_3DS model;
  recordImageRequests();
  ASSERT_TRUE(model.readFile(keepPath(dataDir + "/CameraRollAnimWithChildObject.3ds")));
  ASSERT_EQ(model.nb_obj, 3);
  EXPECT_STREQ(model.objects[0].name, "Box01");
  EXPECT_STREQ(model.objects[1].name, "Camera01");
  EXPECT_EQ(model.objects[1].vertexCount, 0);
  EXPECT_EQ(model.objects[2].vertexCount, 26);
  EXPECT_EQ(model.objects[2].faceIndexCount, 36);
}

TEST(RealFiles, ColoursAndGroupsOfTheAlphaCubes) {
  Model_3DS model;
  recordImageRequests();
  ASSERT_TRUE(model.readFile(keepPath(dataDir + "/cubes_with_alpha.3DS")));
  ASSERT_EQ(model.materialCount, 5);
  EXPECT_STREQ(model.materials[4].name, "Transparent");
  for (int o = 0; o < model.nb_obj; ++o) {
    ASSERT_EQ(model.objects[o].groupCount, 1);
    EXPECT_EQ(model.objects[o].groups[0].indexCount, 36);
    EXPECT_EQ(model.objects[o].groups[0].material, o == 0 ? 0 : o == 1 ? 1 : o == 2 ? 2 : o == 3 ? 3 : 4);
  }
  ASSERT_EQ(imageRequests().size(), 1u);
  EXPECT_EQ(imageRequests()[0], dataDir + "/BERETTA_.JPG");
}

}  // namespace
