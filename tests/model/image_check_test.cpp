// The check in front of DevIL: the image formats a 3DS file may name are
// recognised by their content, and truncated, oversized or PNM images never
// reach a loader that fails unsafely on them. Under AddressSanitizer the
// decodes below also show that what passes the check is decoded safely.
#include <IL/il.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "model/image_check.h"
#include "model/image_library.h"
#include "tests/model/model_test_util.h"

namespace {

struct Seed {
  std::string name, bytes;
  unsigned type;
};

// The saved seeds of the texture fuzz target, one or more per format.
std::vector<Seed> seeds() {
  const std::map<std::string, unsigned> types = {{"bmp", IL_BMP}, {"jpg", IL_JPG}, {"png", IL_PNG}, {"tga", IL_TGA},
                                                 {"gif", IL_GIF}, {"pcx", IL_PCX}, {"ppm", 0}, {"pgm", 0}};  // PNM is never handed over
  std::vector<Seed> found;
  DIR* dir = opendir(VEKOTRA_TEXTURE_CORPUS);
  if (!dir) return found;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name.rfind("seed_", 0) != 0) continue;
    std::ifstream in(std::string(VEKOTRA_TEXTURE_CORPUS) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    found.push_back({name, bytes.str(), types.at(name.substr(name.rfind('.') + 1))});
  }
  closedir(dir);
  return found;
}

const uint8_t* bytesOf(const std::string& s) { return reinterpret_cast<const uint8_t*>(s.data()); }

class ImageCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    prepareGL();
    image = ilGenImage();
    ilBindImage(image);
  }
  void TearDown() override { ilDeleteImage(image); }
  ILuint image = 0;
};

TEST_F(ImageCheck, FormatsAreRecognisedByContentAndCutImagesNeverReachAnUnsafeLoader) {
  std::set<unsigned> formats;
  for (const Seed& seed : seeds()) {
    EXPECT_EQ(decodeImage(bytesOf(seed.bytes), seed.bytes.size()), seed.type != 0) << seed.name;
    formats.insert(checkedImageType(bytesOf(seed.bytes), seed.bytes.size()));
    for (size_t length = 0; length < seed.bytes.size(); ++length) {
      unsigned type = checkedImageType(bytesOf(seed.bytes), length);
      // DevIL loops for ever on a cut PNG; the others fail cleanly, which
      // decoding each one here shows.
      EXPECT_EQ(type, seed.type == IL_PNG ? 0u : type) << seed.name << " cut at " << length;
      EXPECT_TRUE(type == 0 || type == seed.type) << seed.name << " cut at " << length;
      decodeImage(bytesOf(seed.bytes), length);
    }
  }
  EXPECT_EQ(formats.size(), 7u);  // six formats and the refused PNM
}

TEST_F(ImageCheck, ImagesDeclaringTooManyPixelsOrAnInterlaceAreRefused) {
  std::map<std::string, std::string> seed;
  for (const Seed& s : seeds()) seed[s.name] = s.bytes;
  std::string bmp = tinyBmp();
  ASSERT_EQ(checkedImageType(bytesOf(bmp), bmp.size()), unsigned(IL_BMP));
  std::string wider = bmp;
  wider[18] = 3;  // a row of 3 pixels needs 12 bytes, the file holds 8
  EXPECT_EQ(checkedImageType(bytesOf(wider), wider.size()), 0u);
  std::string huge = bmp;
  huge[20] = 2;  // 131074 pixels wide: more than a texture may be
  EXPECT_EQ(checkedImageType(bytesOf(huge), huge.size()), 0u);
  // A GIF frame set to interlaced (flags of its image descriptor), where
  // DevIL writes past its pixels.
  std::string gif = seed.at("seed_img.gif");
  size_t descriptor = gif.find('\x2c', 13 + (3u << ((gif[10] & 7) + 1)));  // past the colour table
  ASSERT_NE(descriptor, std::string::npos);
  gif[descriptor + 9] = static_cast<char>(gif[descriptor + 9] | 0x40);
  EXPECT_EQ(checkedImageType(bytesOf(gif), gif.size()), 0u);
}

GLuint load(const std::string& path) {
  GLTexture texture;
  GLuint id = texture.load(path.c_str());
  delete[] texture.name;
  return id;
}

TEST_F(ImageCheck, DamagedOrNonRegularImagesAreNotLoadedAndNamesDoNotDecide) {
  useRealImageLoader();
  ScratchDir dir;
  std::string bmp = tinyBmp();
  // Recognised by content: a bitmap named as a PNG loads, found ignoring case.
  EXPECT_NE(load(dir.write("maps/plain.png", bmp)), 0u);
  EXPECT_NE(load(dir.path() + "/MAPS/PLAIN.PNG"), 0u);
  // Cut short, or a PPM however sound, it is refused before DevIL.
  EXPECT_EQ(load(dir.write("maps/cut.bmp", bmp.substr(0, bmp.size() - 2))), 0u);
  EXPECT_EQ(load(dir.write("maps/red.ppm", "P6\n1 1\n255\n\xff\x10\x10")), 0u);
  // A FIFO would hold the open until a writer came; a folder is no image.
  ASSERT_EQ(mkfifo((dir.path() + "/maps/pipe.png").c_str(), 0644), 0);
  EXPECT_EQ(load(dir.path() + "/maps/PIPE.png"), 0u);
  EXPECT_EQ(load(dir.path() + "/maps"), 0u);
}

}  // namespace
