// The chunk reader: layouts of the file, the counting passes, names, folders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "model/model_check.h"
#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"

using namespace bytes3ds;

namespace {

class Reader : public ::testing::Test {
 protected:
  void SetUp() override { recordImageRequests(); }
  void expectConsistent(const Model_3DS& model) {
    std::string problem;
    EXPECT_TRUE(checkModel(model, &problem)) << problem;
  }
};

const std::string redBlue = solidMaterial("Red", 255, 0, 0) + solidMaterial("Blue", 0, 0, 255);
const std::string quadTwoGroups =
    object("Quad", vertices(square(0, 0, 1)) + faces(squareFaces(), group("Blue", {1}) + group("Red", {0})));

TEST_F(Reader, MaterialsAfterObjectsAreStillFoundByName) {
  Model_3DS model;
  readBytes(model, file3ds(quadTwoGroups + redBlue));
  ASSERT_EQ(model.nb_obj, 1);
  ASSERT_EQ(model.materialCount, 2);
  EXPECT_STREQ(model.materials[0].name, "Red");
  EXPECT_STREQ(model.materials[1].name, "Blue");
  const ModelObject& quad = model.objects[0];
  ASSERT_EQ(quad.groupCount, 2);
  EXPECT_EQ(quad.groups[0].material, 1);
  EXPECT_EQ(quad.groups[1].material, 0);
  // Each group holds its faces' vertex indices, ready to draw.
  ASSERT_EQ(quad.groups[0].indexCount, 3);
  EXPECT_EQ(quad.groups[0].indices[0], 0);
  EXPECT_EQ(quad.groups[0].indices[1], 2);
  EXPECT_EQ(quad.groups[0].indices[2], 3);
  ASSERT_EQ(quad.groups[1].indexCount, 3);
  EXPECT_EQ(quad.groups[1].indices[1], 1);
  EXPECT_EQ(model.damage, 0);
  expectConsistent(model);
}

TEST_F(Reader, FacesBeforeVerticesGiveTheSameNormals) {
  std::vector<Vec3> tilted = {{0, 0, 0}, {1, 0, 0}, {0, 1, 1}};
  Model_3DS ordered, reversed;
  readBytes(ordered, file3ds(object("T", vertices(tilted) + faces({{0, 1, 2}}))));
  readBytes(reversed, file3ds(object("T", faces({{0, 1, 2}}) + vertices(tilted))));
  ASSERT_EQ(reversed.objects[0].vertexCount, 3);
  ASSERT_EQ(reversed.objects[0].faceIndexCount, 3);
  const float s = 1 / std::sqrt(2.0f);
  for (int k = 0; k < 3; ++k) {
    // file normal (0, -s, s) becomes (0, s, s) after the axis turn
    EXPECT_NEAR(reversed.objects[0].normals[3 * k], 0, 1e-6);
    EXPECT_NEAR(reversed.objects[0].normals[3 * k + 1], s, 1e-6);
    EXPECT_NEAR(reversed.objects[0].normals[3 * k + 2], s, 1e-6);
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(reversed.objects[0].normals[3 * k + c], ordered.objects[0].normals[3 * k + c]);
    }
  }
}

TEST_F(Reader, FirstChunkIsTheMainChunkWhateverItsIdAndLaterDataIsIgnored) {
  std::string content = redBlue + quadTwoGroups;
  Model_3DS usual, other;
  readBytes(usual, file3ds(content));
  readBytes(other, file3ds(content, 0x1234) + file3ds(object("Extra", vertices(square(0, 0, 1)))));
  EXPECT_EQ(other.nb_obj, 1);
  EXPECT_EQ(other.materialCount, 2);
  EXPECT_EQ(other.tot_verts, usual.tot_verts);
  EXPECT_EQ(other.tot_faces, usual.tot_faces);
  EXPECT_STREQ(other.objects[0].name, "Quad");
  EXPECT_EQ(other.damage, 0);
}

TEST_F(Reader, ObjectNameIsFollowedDirectlyByItsMesh) {
  Model_3DS model;
  readBytes(model, file3ds(object("Hello", vertices({{1, 2, 3}}))));
  ASSERT_EQ(model.nb_obj, 1);
  EXPECT_STREQ(model.objects[0].name, "Hello");
  ASSERT_EQ(model.objects[0].vertexCount, 1);
  EXPECT_EQ(model.objects[0].vertices[0], 1);
}

TEST_F(Reader, UnknownChunksAreSkippedAtEveryLevel) {
  std::string junk = chunk(0x4160, std::string(48, '\x7f'));  // a local-axes chunk
  std::string mesh = junk + vertices(square(0, 0, 1)) + junk + texCoords({{0, 0}, {1, 0}, {1, 1}, {0, 1}}) +
                     faces(squareFaces(), chunk(0x4150, u32(1) + u32(1)) + group("Red", {0, 1}));
  std::string mat = material("Red", chunk(0xA010, byteColor(1, 2, 3)) + colorChunk(chunk(0x0030, "xx") + byteColor(9, 8, 7)));
  std::string bytes = chunk(0x4D4D, chunk(0x0002, u32(3)) +
                                        editor(chunk(0x3E3D, u32(0)) + mat + object("Box", mesh) +
                                               chunk(0x4000, name("Camera01") + chunk(0x4700, std::string(32, 0)))) +
                                        chunk(0xB000, std::string(40, '\x01')));
  Model_3DS model;
  readBytes(model, bytes);
  EXPECT_EQ(model.damage, 0);
  ASSERT_EQ(model.nb_obj, 2);
  EXPECT_EQ(model.objects[0].vertexCount, 4);
  EXPECT_EQ(model.objects[0].faceIndexCount, 6);
  EXPECT_TRUE(model.objects[0].textured);
  EXPECT_EQ(model.objects[0].groups[0].indexCount, 6);
  EXPECT_EQ(model.objects[0].groups[0].material, 0);
  EXPECT_EQ(model.materials[0].color[0], 9);  // the ambient colour chunk 0xA010 is not the colour
  // The camera is an object without a mesh: empty and consistent.
  EXPECT_STREQ(model.objects[1].name, "Camera01");
  EXPECT_EQ(model.objects[1].vertexCount, 0);
  EXPECT_EQ(model.objects[1].groupCount, 0);
  expectConsistent(model);
}

TEST_F(Reader, TwoMaterialsOfTheSameNameGroupsUseTheFirst) {
  Model_3DS model;
  readBytes(model, file3ds(solidMaterial("Same", 1, 1, 1) + solidMaterial("Same", 2, 2, 2) +
                          object("Q", vertices(square(0, 0, 1)) + faces(squareFaces(), group("Same", {0})))));
  EXPECT_EQ(model.objects[0].groups[0].material, 0);
}

TEST_F(Reader, MaterialNamesAreCaseSensitive) {
  Model_3DS model;
  readBytes(model, file3ds(solidMaterial("red", 1, 1, 1) + solidMaterial("Red", 2, 2, 2) +
                          object("Q", vertices(square(0, 0, 1)) + faces(squareFaces(), group("Red", {0})))));
  EXPECT_EQ(model.objects[0].groups[0].material, 1);
}

TEST_F(Reader, MeshWithoutTexCoordChunkGetsPlanarCoordinatesButStaysUntextured) {
  Model_3DS model;
  readBytes(model, file3ds(object("P", vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}) + faces({{0, 1, 2}}))));
  const ModelObject& obj = model.objects[0];
  EXPECT_FALSE(obj.textured);
  ASSERT_EQ(obj.texCoordCount, 3);
  // (x, y) of each stored vertex: file (f0, f1, f2) is stored as (f0, f2, -f1).
  EXPECT_EQ(obj.texCoords[0], 1);
  EXPECT_EQ(obj.texCoords[1], 3);
  EXPECT_EQ(obj.texCoords[4], 7);
  EXPECT_EQ(obj.texCoords[5], 9);
}

TEST_F(Reader, TexCoordsAreKeptAsRead) {
  Model_3DS model;
  readBytes(model, file3ds(object("P", vertices(square(0, 0, 1)) + texCoords({{0.25f, 0.5f}, {1, 0}, {1, 1}, {0, 2}}))));
  const ModelObject& obj = model.objects[0];
  EXPECT_TRUE(obj.textured);
  ASSERT_EQ(obj.texCoordCount, 4);
  EXPECT_EQ(obj.texCoords[0], 0.25f);
  EXPECT_EQ(obj.texCoords[1], 0.5f);
  EXPECT_EQ(obj.texCoords[7], 2);
}

TEST_F(Reader, FolderIsThePathUpToItsLastSeparator) {
  const std::string bytes = file3ds(material("M", mapChunk("EARTH.JPG")));
  struct Case {
    const char* path;
    const char* modelname;
    const char* folder;
  } cases[] = {
      {"data//map//earth3.3DS", "data//map//earth3.3DS", "data//map//"},
      {"data\\maps/sub\\x.3ds", "data\\maps/sub\\x.3ds", "data\\maps/sub\\"},
      {"x.3ds", "x.3ds", ""},
      {"\"data/q.3ds\"", "data/q.3ds", "data/"},
  };
  for (const Case& c : cases) {
    Model_3DS model;
    recordImageRequests();
    readBytes(model, bytes, c.path);
    EXPECT_STREQ(model.modelname, c.modelname);
    EXPECT_STREQ(model.folder, c.folder);
    ASSERT_EQ(imageRequests().size(), 1u);
    EXPECT_EQ(imageRequests()[0], std::string(c.folder) + "EARTH.JPG");
  }
}

TEST_F(Reader, ModelnameIsTheCallersTextWhenItNeedsNoCut) {
  const char* path = keepPath("some/where.3ds");
  Model_3DS model;
  FILE* file = fmemopen(const_cast<char*>("xx"), 2, "rb");
  model.readStream(file, path);
  EXPECT_EQ(model.modelname, path);
}

TEST_F(Reader, MissingFileReadsNothing) {
  Model_3DS model;
  EXPECT_FALSE(model.readFile("/nonexistent/folder/model.3ds"));
  EXPECT_EQ(model.nb_obj, 0);
  EXPECT_EQ(model.objects, nullptr);
}

TEST_F(Reader, FileIsFoundIgnoringCase) {
  ScratchDir dir;
  dir.write("Data/Map/Earth3.3DS", file3ds(object("E", vertices(square(0, 0, 1)) + faces(squareFaces()))));
  Model_3DS model;
  const char* path = keepPath(dir.path() + "/data//map//earth3.3ds");
  ASSERT_TRUE(model.readFile(path));
  EXPECT_EQ(model.tot_faces, 2);
}

}  // namespace
