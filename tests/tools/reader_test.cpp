// The generated models read through the game's own 3DS reader: the counts
// the statistics print will show, the vertices after its axis transform,
// and the texture files it asks for.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/model_3ds.h"
#include "platform/os/os.h"
#include "tests/tools/chunk_walker.h"
#include "tests/tools/geometry.h"
#include "tests/tools/temp_dir.h"
#include "tools/game_data.h"

namespace {

std::vector<std::string> requestedImages;

GLuint recordImage(const char* fileName) {
  requestedImages.push_back(fileName);
  return 0;
}

// The generated data in a temporary folder that is the working directory
// while the fixture lives, as the game's is.
class GeneratedModels : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(writeGameData(dir.path, &error)) << error;
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    savedLoader = GLTexture::imageLoader;
    GLTexture::imageLoader = recordImage;
    requestedImages.clear();
  }
  void TearDown() override {
    GLTexture::imageLoader = savedLoader;
    std::filesystem::current_path(previous);
  }
  TempDir dir;
  std::filesystem::path previous;
  GLuint (*savedLoader)(const char*) = nullptr;
};

struct Expected {
  const char* path;  // as the model table writes it
  const char* file;  // on disk
};
const Expected kModels[] = {
    {"data//Tolvar2//TolvarFight2_mini.3ds", "data/Tolvar2/TolvarFight2_mini.3ds"},
    {"data//map//earth3.3DS", "data/map/earth3.3DS"},
    {"data//Weapons//saber04.3DS", "data/Weapons/saber04.3DS"},
    {"data//Satellite//MRO.3ds", "data/Satellite/MRO.3ds"},
    {"data//map//mars.3DS", "data/map/mars.3DS"},
    {"data//map//pluton.3DS", "data/map/pluton.3DS"},
};

}  // namespace

TEST_F(GeneratedModels, LoadThroughTheReaderWithTheGeneratedCounts) {
  for (const Expected& e : kModels) {
    SCOPED_TRACE(e.path);
    WalkedModel walked;
    std::string error;
    ASSERT_TRUE(walkTds(readBytes(e.file), &walked, &error)) << error;
    Model_3DS model;
    ASSERT_TRUE(model.readFile(e.path));
    EXPECT_EQ(model.damage, 0) << "the reader met malformed chunks";
    ASSERT_EQ(model.nb_obj, static_cast<int>(walked.objects.size()));
    ASSERT_EQ(model.materialCount, static_cast<int>(walked.materials.size()));
    int verts = 0, faces = 0;
    for (int i = 0; i < model.nb_obj; ++i) {
      const ModelObject& o = model.objects[i];
      const WalkedObject& w = walked.objects[i];
      EXPECT_STREQ(o.name, w.name.c_str());
      ASSERT_EQ(o.vertexCount, static_cast<int>(w.vertices.size() / 3));
      EXPECT_EQ(o.faceIndexCount, static_cast<int>(w.faces.size()));
      EXPECT_EQ(o.groupCount, static_cast<int>(w.groups.size()));
      EXPECT_EQ(o.textured, !w.texCoords.empty());
      std::vector<Point3> expected = gameVertices(w);
      for (int v = 0; v < o.vertexCount; ++v) {
        ASSERT_FLOAT_EQ(o.vertices[3 * v], expected[v].x);
        ASSERT_FLOAT_EQ(o.vertices[3 * v + 1], expected[v].y);
        ASSERT_FLOAT_EQ(o.vertices[3 * v + 2], expected[v].z);
      }
      int grouped = 0;
      for (int g = 0; g < o.groupCount; ++g) {
        EXPECT_GE(o.groups[g].material, 0) << "every group finds its material";
        grouped += o.groups[g].indexCount;
      }
      EXPECT_EQ(grouped, o.faceIndexCount) << "every face is drawn";
      verts += o.vertexCount;
      faces += o.faceIndexCount / 3;
    }
    EXPECT_EQ(model.tot_verts, verts);
    EXPECT_EQ(model.tot_faces, faces);
    EXPECT_GT(model.tot_faces, 0);
    releaseModel(model);
  }
}

TEST_F(GeneratedModels, TextureNamesInUpperCaseFindTheLowerCaseFiles) {
  for (const char* path : {"data//map//earth3.3DS", "data//map//mars.3DS", "data//map//pluton.3DS"}) {
    Model_3DS model;
    ASSERT_TRUE(model.readFile(path));
    releaseModel(model);
  }
  ASSERT_EQ(requestedImages,
            (std::vector<std::string>{"data//map//EARTH3.BMP", "data//map//MARS.BMP", "data//map//PLUTON.BMP"}));
  for (const std::string& image : requestedImages) {
    EXPECT_FALSE(std::filesystem::exists(image)) << "stored under another case";
    std::string found = findFile(image);
    EXPECT_TRUE(std::filesystem::is_regular_file(found)) << image << " -> " << found;
  }
}

TEST_F(GeneratedModels, PlanetNormalsPointOutwardEverywhere) {
  Model_3DS planet;
  ASSERT_TRUE(planet.readFile("data//map//earth3.3DS"));
  ASSERT_EQ(planet.nb_obj, 1);
  const ModelObject& o = planet.objects[0];
  for (int v = 0; v < o.vertexCount; ++v) {
    const float* p = &o.vertices[3 * v];
    const float* n = &o.normals[3 * v];
    float along = (p[0] * n[0] + p[1] * n[1] + p[2] * n[2]) / 100.0f;
    ASSERT_GT(along, 0.99f) << "vertex " << v;
  }
  releaseModel(planet);
}
