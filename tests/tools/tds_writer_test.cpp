// The 3DS writer: the exact chunk tree, the values inside it, and the models
// it refuses to write.
#include <gtest/gtest.h>

#include "tests/tools/chunk_walker.h"
#include "tools/tds_writer.h"

namespace {

TdsModel sampleModel() {
  TdsModel model;
  TdsMaterial plain;
  plain.name = "Plain";
  plain.color[0] = 1.0f, plain.color[1] = 0.5f, plain.color[2] = 0.0f;
  TdsMaterial mapped;
  mapped.name = "Mapped";
  mapped.floatColor = true;
  mapped.color[0] = 0.2f, mapped.color[1] = 0.4f, mapped.color[2] = 1.0f;
  mapped.mapFile = "SKIN.BMP";
  model.materials = {plain, mapped};

  TdsObject quad;
  quad.name = "Quad";
  quad.vertices = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 2.5f};
  quad.texCoords = {0, 0, 1, 0, 1, 1, 0, 1};
  quad.faces = {0, 1, 2, 0, 2, 3};
  quad.groups = {{"Plain", {1}}, {"Mapped", {0}}};
  model.objects.push_back(quad);

  TdsObject bare;
  bare.name = "Bare";
  bare.vertices = {0, 0, 0, 1, 0, 0, 0, 0, 1};
  bare.faces = {0, 1, 2};
  bare.groups = {{"Plain", {0}}};
  model.objects.push_back(bare);
  return model;
}

}  // namespace

TEST(TdsWriter, WritesExactlyTheReaderChunkTree) {
  std::string error;
  std::vector<uint8_t> bytes = writeTds(sampleModel(), &error);
  ASSERT_FALSE(bytes.empty()) << error;
  WalkedModel walked;
  ASSERT_TRUE(walkTds(bytes, &walked, &error)) << error;
  EXPECT_EQ(describeTree(walked.root),
            "4D4D\n"
            "  3D3D\n"
            "    AFFF\n"
            "      A000\n"
            "      A020\n"
            "        0011\n"
            "    AFFF\n"
            "      A000\n"
            "      A020\n"
            "        0010\n"
            "      A200\n"
            "        A300\n"
            "    4000\n"
            "      4100\n"
            "        4110\n"
            "        4140\n"
            "        4120\n"
            "          4130\n"
            "          4130\n"
            "    4000\n"
            "      4100\n"
            "        4110\n"
            "        4120\n"
            "          4130\n");
  // The root header: id 0x4D4D, then the whole file's length, little-endian.
  ASSERT_GE(bytes.size(), 6u);
  EXPECT_EQ(bytes[0], 0x4D);
  EXPECT_EQ(bytes[1], 0x4D);
  uint32_t length = bytes[2] | bytes[3] << 8 | bytes[4] << 16 | static_cast<uint32_t>(bytes[5]) << 24;
  EXPECT_EQ(length, bytes.size());
}

TEST(TdsWriter, StoresNamesColoursMeshesAndGroups) {
  std::string error;
  WalkedModel walked;
  ASSERT_TRUE(walkTds(writeTds(sampleModel(), &error), &walked, &error)) << error;

  ASSERT_EQ(walked.materials.size(), 2u);
  EXPECT_EQ(walked.materials[0].name, "Plain");
  EXPECT_EQ(walked.materials[0].colorChunks, std::vector<uint16_t>{0x0011});
  EXPECT_EQ(walked.materials[0].color[0], 255);
  EXPECT_EQ(walked.materials[0].color[1], 128);  // 0.5 rounds to the nearest byte
  EXPECT_EQ(walked.materials[0].color[2], 0);
  EXPECT_EQ(walked.materials[0].mapFile, "");
  EXPECT_EQ(walked.materials[1].name, "Mapped");
  EXPECT_EQ(walked.materials[1].colorChunks, std::vector<uint16_t>{0x0010});
  EXPECT_EQ(walked.materials[1].color[0], 51);   // 0.2 * 255 truncated
  EXPECT_EQ(walked.materials[1].color[2], 255);
  EXPECT_EQ(walked.materials[1].mapFile, "SKIN.BMP");

  ASSERT_EQ(walked.objects.size(), 2u);
  const WalkedObject& quad = walked.objects[0];
  EXPECT_EQ(quad.name, "Quad");
  EXPECT_EQ(quad.vertices, sampleModel().objects[0].vertices);
  EXPECT_EQ(quad.texCoords, sampleModel().objects[0].texCoords);
  EXPECT_EQ(quad.faces, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
  ASSERT_EQ(quad.groups.size(), 2u);
  EXPECT_EQ(quad.groups[0].material, "Plain");
  EXPECT_EQ(quad.groups[0].faces, std::vector<uint16_t>{1});
  EXPECT_EQ(quad.groups[1].material, "Mapped");
  EXPECT_EQ(quad.groups[1].faces, std::vector<uint16_t>{0});
  EXPECT_TRUE(walked.objects[1].texCoords.empty());
}

TEST(TdsWriter, AnEmptyModelIsJustTheTwoOuterChunks) {
  std::string error;
  std::vector<uint8_t> bytes = writeTds(TdsModel(), &error);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{0x4D, 0x4D, 12, 0, 0, 0, 0x3D, 0x3D, 6, 0, 0, 0}));
}

TEST(TdsWriter, RefusesWhatTheFormatCannotHold) {
  struct Case {
    const char* what;
    void (*spoil)(TdsModel&);
  };
  const Case cases[] = {
      {"too many vertices", [](TdsModel& m) { m.objects[0].vertices.assign(3 * 65536, 0.0f); }},
      {"vertex index out of range", [](TdsModel& m) { m.objects[0].faces[5] = 4; }},
      {"group face out of range", [](TdsModel& m) { m.objects[0].groups[0].faces.push_back(2); }},
      {"texture coordinates not one per vertex", [](TdsModel& m) { m.objects[0].texCoords.resize(6); }},
      {"object name of 80 bytes", [](TdsModel& m) { m.objects[0].name.assign(80, 'x'); }},
      {"material name with a zero byte", [](TdsModel& m) { m.materials[0].name = std::string("a\0b", 3); }},
      {"map file name of 80 bytes", [](TdsModel& m) { m.materials[1].mapFile.assign(80, 'M'); }},
      {"faces not a multiple of 3", [](TdsModel& m) { m.objects[1].faces.push_back(0); }},
  };
  for (const Case& c : cases) {
    TdsModel model = sampleModel();
    c.spoil(model);
    std::string error;
    EXPECT_TRUE(writeTds(model, &error).empty()) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
  // The largest object the format holds is still written.
  TdsModel largest;
  largest.objects.push_back(TdsObject{"Big", std::vector<float>(3 * 65535, 1.0f), {}, {0, 1, 65534}, {}});
  std::string error;
  EXPECT_FALSE(writeTds(largest, &error).empty()) << error;
}

TEST(TdsWriter, ColourBytesRoundAndClamp) {
  EXPECT_EQ(colorByte(0.0f), 0);
  EXPECT_EQ(colorByte(1.0f), 255);
  EXPECT_EQ(colorByte(0.5f), 128);
  EXPECT_EQ(colorByte(-0.3f), 0);
  EXPECT_EQ(colorByte(7.0f), 255);
  EXPECT_EQ(colorByte(0.1f), 26);
}
