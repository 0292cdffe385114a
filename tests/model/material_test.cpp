// Materials: colour decoding, map files and their paths, GLTexture.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"

using namespace bytes3ds;

namespace {

void expectColor(const unsigned char* color, int r, int g, int b) {
  EXPECT_EQ(color[0], r);
  EXPECT_EQ(color[1], g);
  EXPECT_EQ(color[2], b);
  EXPECT_EQ(color[3], 255);
}

const ModelMaterial& onlyMaterial(Model_3DS& model, const std::string& materialChunks) {
  recordImageRequests();
  readBytes(model, file3ds(materialChunks));
  EXPECT_EQ(model.materialCount, 1);
  return model.materials[0];
}

TEST(MaterialColor, ByteColorIsTakenAsIs) {
  Model_3DS model;
  expectColor(onlyMaterial(model, material("B", colorChunk(byteColor(200, 100, 50)))).color, 200, 100, 50);
  Model_3DS gamma;
  expectColor(onlyMaterial(gamma, material("B", colorChunk(chunk(0x0012, "\x01\x02\x03")))).color, 1, 2, 3);
}

TEST(MaterialColor, FloatColorKeepsTheLowBitsOfTheTruncatedProduct) {
  struct Case {
    float r, g, b;
    int er, eg, eb;
  } cases[] = {
      {1.0f, 0.5f, 0.0f, 255, 127, 0},
      {1.5f, -0.5f, 0.999f, 126, 129, 254},  // 382 -> 126, -127 -> 129, 254.7 -> 254
      {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 1e30f, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Model_3DS model;
    expectColor(onlyMaterial(model, material("F", colorChunk(floatColor(c.r, c.g, c.b)))).color, c.er, c.eg, c.eb);
  }
  Model_3DS gamma;
  expectColor(onlyMaterial(gamma, material("G", colorChunk(chunk(0x0013, f32(0.2f) + f32(0.4f) + f32(0.6f))))).color,
              51, 102, 153);
}

TEST(MaterialColor, LastColorSubChunkWins) {
  Model_3DS byteLast, floatLast, twoChunks;
  expectColor(onlyMaterial(byteLast, material("M", colorChunk(floatColor(1, 1, 1) + byteColor(1, 2, 3)))).color, 1, 2, 3);
  expectColor(onlyMaterial(floatLast, material("M", colorChunk(byteColor(1, 2, 3) + floatColor(0, 1, 0)))).color, 0, 255, 0);
  expectColor(onlyMaterial(twoChunks, material("M", colorChunk(byteColor(1, 2, 3)) + colorChunk(byteColor(4, 5, 6)))).color,
              4, 5, 6);
}

TEST(MaterialColor, MaterialWithoutNameOrColorIsWhiteAndUnnamed) {
  Model_3DS model;
  onlyMaterial(model, chunk(0xAFFF, ""));
  const ModelMaterial& mat = model.materials[0];
  EXPECT_STREQ(mat.name, "");
  expectColor(mat.color, 255, 255, 255);
  EXPECT_FALSE(mat.textured);
}

TEST(MaterialMap, MapFileIsRequestedFromTheModelsFolder) {
  Model_3DS model;
  recordImageRequests();
  readBytes(model, file3ds(material("T", colorChunk(byteColor(9, 9, 9)) + mapChunk("IMAGE1.JPG")) +
                           material("S", mapChunk("shine.png", 0xA030)) + solidMaterial("C", 1, 2, 3)),
            "data//map//earth3.3DS");
  ASSERT_EQ(imageRequests().size(), 2u);
  EXPECT_EQ(imageRequests()[0], "data//map//IMAGE1.JPG");
  EXPECT_EQ(imageRequests()[1], "data//map//shine.png");
  EXPECT_TRUE(model.materials[0].textured);
  EXPECT_TRUE(model.materials[1].textured);
  EXPECT_FALSE(model.materials[2].textured);  // gets its colour texture when loaded with GL
  EXPECT_STREQ(model.materials[0].texture.name, "data//map//image1.jpg");
  EXPECT_EQ(model.materials[0].texture.id, 0u);  // the recording loader loads nothing
}

TEST(MaterialMap, ModelWithoutFolderRequestsTheBareName) {
  Model_3DS model;
  recordImageRequests();
  readBytes(model, file3ds(material("T", mapChunk("Tex.PNG"))), "bare.3ds");
  ASSERT_EQ(imageRequests().size(), 1u);
  EXPECT_EQ(imageRequests()[0], "Tex.PNG");
}

TEST(MaterialMap, LongTexturePathIsRequestedWhole) {
  std::string folder = std::string(70, 'f') + "/";
  std::string file = std::string(60, 'n') + ".png";
  Model_3DS model;
  recordImageRequests();
  readBytes(model, file3ds(material("T", mapChunk(file))), folder + "m.3ds");
  ASSERT_EQ(imageRequests().size(), 1u);
  EXPECT_EQ(imageRequests()[0], folder + file);
}

TEST(GLTextureLoad, NameIsLowerCasedWithoutQuotesWhileTheImageIsAskedAsPassed) {
  recordImageRequests();
  GLTexture texture;
  texture.name = nullptr;
  EXPECT_EQ(texture.load("\"Data/Map/EARTH.JPG\""), 0u);
  EXPECT_STREQ(texture.name, "data/map/earth.jpg");
  ASSERT_EQ(imageRequests().size(), 1u);
  EXPECT_EQ(imageRequests()[0], "\"Data/Map/EARTH.JPG\"");
  delete[] texture.name;
}

class MaterialGL : public ::testing::Test {
 protected:
  void SetUp() override { prepareGL(); }
};

// The four texels of the bound 2 x 2 texture, RGB.
std::vector<unsigned char> boundTexels(GLuint id) {
  glBindTexture(GL_TEXTURE_2D, id);
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  EXPECT_EQ(width, 2);
  EXPECT_EQ(height, 2);
  std::vector<unsigned char> texels(12, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  return texels;
}

TEST_F(MaterialGL, SolidColorTextureHoldsFourTexelsOfTheColor) {
  GLTexture texture;
  texture.makeSolidColor(200, 100, 50);
  EXPECT_NE(texture.id, 0u);
  GLint bound = 0, alignment = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(GLuint(bound), texture.id);
  EXPECT_EQ(alignment, 1);
  GLint minFilter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_NEAREST);
  std::vector<unsigned char> texels = boundTexels(texture.id);
  for (int t = 0; t < 4; ++t) {
    EXPECT_EQ(texels[3 * t], 200);
    EXPECT_EQ(texels[3 * t + 1], 100);
    EXPECT_EQ(texels[3 * t + 2], 50);
  }
}

TEST_F(MaterialGL, LoadedModelGivesColourOnlyMaterialsTheirTextureAndLeavesMapsAlone) {
  Model_3DS model;
  recordImageRequests();
  loadBytes(model, file3ds(solidMaterial("C", 200, 100, 50) + material("T", colorChunk(byteColor(1, 2, 3)) + mapChunk("none.png"))));
  ASSERT_EQ(model.materialCount, 2);
  EXPECT_TRUE(model.materials[0].textured);
  EXPECT_TRUE(model.materials[1].textured);
  EXPECT_NE(model.materials[0].texture.id, 0u);
  EXPECT_EQ(model.materials[1].texture.id, 0u);  // a map that failed to load stays 0, no colour texture
  std::vector<unsigned char> texels = boundTexels(model.materials[0].texture.id);
  EXPECT_EQ(texels[0], 200);
  EXPECT_EQ(texels[11], 50);
}

TEST_F(MaterialGL, RealImageLoadsThroughTheImageLibraryIgnoringCase) {
  ScratchDir dir;
  // A 2 x 1 bitmap, named in upper case inside the model.
  dir.write("pics/tex.bmp", tinyBmp());
  Model_3DS model;
  useRealImageLoader();
  readBytes(model, file3ds(material("T", mapChunk("TEX.BMP"))), dir.path() + "/PICS/m.3ds");
  // Folder and file are both found ignoring case.
  ASSERT_TRUE(model.materials[0].textured);
  EXPECT_NE(model.materials[0].texture.id, 0u);
  glBindTexture(GL_TEXTURE_2D, model.materials[0].texture.id);
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_GT(width, 0);
}

}  // namespace
