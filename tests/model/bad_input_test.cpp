// Damaged and hostile files: every case below ends with a consistent model
// (checkModel), counts the damage, and keeps what could be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "model/model_check.h"
#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"

using namespace bytes3ds;

namespace {

class BadInput : public ::testing::Test {
 protected:
  void SetUp() override { recordImageRequests(); }
  // Reads `bytes` and checks the model whatever they held.
  void read(Model_3DS& model, const std::string& bytes) {
    readBytes(model, bytes);
    std::string problem;
    EXPECT_TRUE(checkModel(model, &problem)) << problem;
  }
};

const std::string red = solidMaterial("Red", 255, 0, 0);
const std::string quad = object("Q", vertices(square(0, 0, 1)) + faces(squareFaces(), group("Red", {0, 1})));

TEST_F(BadInput, EmptyOrForeignFileGivesAnEmptyDamagedModel) {
  for (std::string bytes : {std::string(), std::string("MM"), std::string("just some text, not a model at all")}) {
    Model_3DS model;
    read(model, bytes);
    EXPECT_EQ(model.nb_obj, 0);
    EXPECT_GT(model.damage, 0) << bytes;
  }
}

TEST_F(BadInput, FolderOrFifoInPlaceOfTheFileIsAMissingModel) {
  // Neither is opened: a FIFO would hold the read until a writer came.
  ScratchDir dir;
  dir.write("model.3ds/inside", "x");
  ASSERT_EQ(mkfifo((dir.path() + "/pipe.3ds").c_str(), 0644), 0);
  for (const char* name : {"/model.3ds", "/PIPE.3DS"}) {
    Model_3DS model;
    EXPECT_FALSE(model.readFile(keepPath(dir.path() + name))) << name;
    EXPECT_EQ(model.nb_obj, 0);
  }
}

TEST_F(BadInput, ChunkLengthBelowSixEndsTheWalkOfItsParent) {
  // The mesh after the broken chunk is lost; the material before it is kept.
  for (uint32_t length : {0u, 3u, 5u}) {
    Model_3DS model;
    read(model, file3ds(red + chunkWithLength(0x2222, length, "") + quad));
    EXPECT_EQ(model.materialCount, 1);
    EXPECT_EQ(model.nb_obj, 0);
    EXPECT_GT(model.damage, 0);
  }
}

TEST_F(BadInput, LengthPastTheParentIsCutAtTheParentsEnd) {
  // A vertex chunk claiming far more than its mesh holds: its four vertices
  // are still read, and nothing beyond the mesh is touched.
  std::string v = vertices(square(0, 0, 1));
  std::string lying = chunkWithLength(0x4110, 100000, v.substr(6));
  Model_3DS model;
  read(model, file3ds(red + object("Q", lying) + object("After", vertices(square(5, 5, 1)))));
  ASSERT_EQ(model.nb_obj, 2);
  EXPECT_EQ(model.objects[0].vertexCount, 4);
  EXPECT_EQ(model.objects[1].vertexCount, 4);  // the sibling after it is intact
  EXPECT_EQ(model.objects[1].vertices[0], 5);
  EXPECT_GT(model.damage, 0);
}

TEST_F(BadInput, TruncatedFileKeepsTheWholeRecordsThatArrived) {
  std::vector<Vec3> points;
  for (int k = 0; k < 100; ++k) points.push_back({float(k), 0, 0});
  std::string bytes = file3ds(object("Long", vertices(points)));
  bytes.resize(bytes.size() - 12 * 40 - 5);  // the last 40 vertices and a half go
  Model_3DS model;
  read(model, bytes);
  ASSERT_EQ(model.nb_obj, 1);
  EXPECT_EQ(model.objects[0].vertexCount, 59);
  EXPECT_EQ(model.objects[0].vertices[3 * 58], 58);
  EXPECT_GT(model.damage, 0);
}

TEST_F(BadInput, CountLargerThanItsChunkIsCut) {
  std::string bytes = file3ds(object("Q", chunk(0x4110, u16(65535) + f32(1) + f32(2) + f32(3)) +
                                              chunk(0x4140, u16(900) + f32(0.5f) + f32(0.5f))));
  Model_3DS model;
  read(model, bytes);
  EXPECT_EQ(model.objects[0].vertexCount, 1);
  EXPECT_EQ(model.objects[0].texCoordCount, 1);
  EXPECT_EQ(model.objects[0].texCoords[0], 0.5f);
}

TEST_F(BadInput, FaceNamingAMissingVertexIsDroppedAndGroupsFollow) {
  // Face 1 names vertex 9 of 4: dropped. The group's face numbers 0 and 2 still
  // reach their faces; 1 (dropped) and 7 (no such face) are skipped.
  std::vector<Tri> tris = {{0, 1, 2}, {0, 1, 9}, {0, 2, 3}};
  Model_3DS model;
  read(model, file3ds(red + object("Q", vertices(square(0, 0, 1)) + faces(tris, group("Red", {0, 1, 2, 7})))));
  const ModelObject& obj = model.objects[0];
  ASSERT_EQ(obj.faceIndexCount, 6);
  EXPECT_EQ(obj.faceIndices[3], 0);
  EXPECT_EQ(obj.faceIndices[4], 2);
  EXPECT_EQ(obj.faceIndices[5], 3);
  ASSERT_EQ(obj.groups[0].indexCount, 6);
  EXPECT_EQ(obj.groups[0].indices[5], 3);
  EXPECT_EQ(model.tot_faces, 2);
  EXPECT_GT(model.damage, 0);
  // The dropped face added nothing to the normals: all point the same way.
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(obj.normals[3 * k + 1], 1, 1e-6);
}

TEST_F(BadInput, FacesWithoutVerticesAreAllDropped) {
  Model_3DS model;
  read(model, file3ds(red + object("Q", faces(squareFaces(), group("Red", {0, 1})))));
  EXPECT_EQ(model.objects[0].faceIndexCount, 0);
  EXPECT_EQ(model.objects[0].groups[0].indexCount, 0);
}

TEST_F(BadInput, NameWithoutZeroByteIsCutTo79Characters) {
  std::string longName(100, 'N');
  Model_3DS model;
  read(model, file3ds(chunk(0xAFFF, chunk(0xA000, longName)) + chunk(0x4000, std::string(80, 'O'))));
  ASSERT_EQ(model.materialCount, 1);
  EXPECT_EQ(std::string(model.materials[0].name), std::string(79, 'N'));
  ASSERT_EQ(model.nb_obj, 1);
  EXPECT_EQ(std::string(model.objects[0].name), std::string(79, 'O'));
  EXPECT_GT(model.damage, 0);
}

TEST_F(BadInput, NameRunningToTheChunksEndStopsThere) {
  // The map name has no zero byte and its chunk ends after 5 bytes; the bytes
  // after the chunk are not part of it.
  Model_3DS model;
  read(model, file3ds(material("M", chunk(0xA200, chunk(0xA300, "ABCDE") + chunk(0x1111, "zzzz")))));
  ASSERT_EQ(imageRequests().size(), 1u);
  EXPECT_EQ(imageRequests()[0], "ABCDE");
}

TEST_F(BadInput, GroupNamingNoMaterialGetsMinusOne) {
  Model_3DS none, other;
  read(none, file3ds(quad));
  EXPECT_EQ(none.objects[0].groups[0].material, -1);
  read(other, file3ds(solidMaterial("Blue", 0, 0, 255) + quad));
  EXPECT_EQ(other.objects[0].groups[0].material, -1);
  EXPECT_EQ(other.objects[0].groups[0].indexCount, 6);
}

TEST_F(BadInput, FewerTexCoordsThanVerticesArePaddedWithZeros) {
  Model_3DS model;
  read(model, file3ds(object("Q", vertices(square(0, 0, 1)) + texCoords({{0.5f, 0.25f}}) + faces(squareFaces()))));
  const ModelObject& obj = model.objects[0];
  EXPECT_TRUE(obj.textured);
  ASSERT_EQ(obj.texCoordCount, 4);
  EXPECT_EQ(obj.texCoords[0], 0.5f);
  EXPECT_EQ(obj.texCoords[1], 0.25f);
  EXPECT_EQ(obj.texCoords[7], 0);
  EXPECT_GT(model.damage, 0);
}

TEST_F(BadInput, SecondVertexOrFaceChunkOfAnObjectIsIgnored) {
  std::string mesh = vertices(square(0, 0, 1)) + faces(squareFaces()) + vertices({{9, 9, 9}}) + faces({{0, 0, 0}});
  Model_3DS model;
  read(model, file3ds(object("Q", mesh)));
  EXPECT_EQ(model.objects[0].vertexCount, 4);
  EXPECT_EQ(model.objects[0].faceIndexCount, 6);
  // Two mesh chunks in one object: the same rule across them.
  Model_3DS twice;
  read(twice, file3ds(chunk(0x4000, name("T") + chunk(0x4100, vertices(square(0, 0, 1))) +
                                        chunk(0x4100, vertices({{1, 1, 1}}) + faces(squareFaces())))));
  EXPECT_EQ(twice.objects[0].vertexCount, 4);
  EXPECT_EQ(twice.objects[0].faceIndexCount, 6);
}

TEST_F(BadInput, SecondEditorChunkAddsItsMaterialsAndObjects) {
  std::string bytes = chunk(0x4D4D, editor(red + quad) + editor(solidMaterial("Blue", 0, 0, 255) +
                                                                 object("Q2", vertices(square(0, 0, 1)) +
                                                                                  faces(squareFaces(), group("Red", {0})))));
  Model_3DS model;
  read(model, bytes);
  ASSERT_EQ(model.nb_obj, 2);
  ASSERT_EQ(model.materialCount, 2);
  EXPECT_STREQ(model.objects[0].name, "Q");
  EXPECT_STREQ(model.objects[1].name, "Q2");
  EXPECT_EQ(model.objects[0].groups[0].material, 0);
  EXPECT_EQ(model.objects[1].groups[0].material, 0);
  EXPECT_STREQ(model.materials[1].name, "Blue");
  EXPECT_EQ(model.tot_faces, 4);
}

TEST_F(BadInput, ManyEditorChunksAllAddUp) {
  // Each editor chunk holds one material and one object whose group names
  // the material of the editor chunk before it.
  std::string editors;
  const int count = 3000;
  for (int k = 0; k < count; ++k) {
    std::string previous = "M" + std::to_string(k == 0 ? 0 : k - 1);
    editors += editor(solidMaterial("M" + std::to_string(k), uint8_t(k), 0, 0) +
                      object("O" + std::to_string(k), vertices(square(0, 0, 1)) + faces(squareFaces(), group(previous, {0}))));
  }
  Model_3DS model;
  read(model, chunk(0x4D4D, editors));
  ASSERT_EQ(model.nb_obj, count);
  ASSERT_EQ(model.materialCount, count);
  EXPECT_EQ(model.tot_faces, 2 * count);
  EXPECT_STREQ(model.objects[count - 1].name, ("O" + std::to_string(count - 1)).c_str());
  EXPECT_EQ(model.objects[count - 1].groups[0].material, count - 2);
  EXPECT_EQ(model.objects[0].groups[0].material, 0);
  EXPECT_EQ(model.materials[count - 1].color[0], uint8_t(count - 1));
  EXPECT_EQ(model.damage, 0);
}

TEST_F(BadInput, ShortColourChunkLeavesTheColour) {
  Model_3DS model;
  read(model, file3ds(material("M", colorChunk(byteColor(1, 2, 3) + chunk(0x0011, "\x09") + chunk(0x0010, f32(1))))));
  EXPECT_EQ(model.materials[0].color[0], 1);
  EXPECT_EQ(model.materials[0].color[2], 3);
  EXPECT_GT(model.damage, 0);
}

TEST_F(BadInput, TrailingBytesTooShortForAHeader) {
  Model_3DS model;
  read(model, chunk(0x4D4D, editor(red + quad) + "abc"));
  EXPECT_EQ(model.nb_obj, 1);
  EXPECT_EQ(model.tot_faces, 2);
  EXPECT_GT(model.damage, 0);
}

// Random damage to a sound file: flipped bytes, cut tails, overwritten
// lengths. Whatever comes out must be consistent; the run is the same every
// time (fixed seed).
TEST_F(BadInput, RandomDamageAlwaysGivesAConsistentModel) {
  std::string good = file3ds(red + solidMaterial("Blue", 0, 0, 255) +
                             object("A", vertices(square(0, 0, 1)) + texCoords({{0, 0}, {1, 0}, {1, 1}}) +
                                             faces(squareFaces(), group("Red", {0}) + group("Blue", {1}))) +
                             object("B", faces({{0, 1, 2}}, group("Blue", {0})) + vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}})));
  std::mt19937 random(1234);
  int damaged = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = good;
    int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0: bytes[at] = char(random()); break;
        case 1: bytes.resize(at); break;
        case 2: if (at + 4 <= bytes.size()) bytes.replace(at, 4, u32(uint32_t(random()))); break;
        case 3: bytes.insert(at, std::string(1 + random() % 9, char(random()))); break;
      }
      if (bytes.empty()) bytes = "x";
    }
    Model_3DS model;
    readBytes(model, bytes);
    std::string problem;
    ASSERT_TRUE(checkModel(model, &problem)) << "round " << round << ": " << problem;
    if (model.damage > 0) ++damaged;
    releaseModel(model);
  }
  EXPECT_GT(damaged, 1000);  // the damage is noticed, not only survived
}

// The sole fatal failure: a model file that cannot be opened. With no display
// the box's text goes to standard error; the process ends with status 0.
TEST(MissingModel, MessageThenExitWithStatusZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        unsetenv("DISPLAY");
        Model_3DS model;
        model.load("data//map//nothing_here.3DS");
      },
      ::testing::ExitedWithCode(0), "ERROR: file 'data//map//nothing_here.3DS' not found");
}

}  // namespace
