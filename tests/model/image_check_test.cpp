// The check in front of the decoders: the image formats a 3DS file may name
// are recognised by their content, and truncated, oversized or PNM images
// are never decoded. Under AddressSanitizer the decodes below also show that
// what passes the check is decoded safely, cut at every length.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/image/image_check.h"
#include "platform/image/image_pixels.h"
#include "tests/model/image_files.h"
#include "tests/model/model_test_util.h"

using imagefiles::bytesOf;

namespace {

struct Seed {
  std::string name, bytes;
  ImageType type;
};

// The saved seeds of the texture fuzz target, one or more per format.
std::vector<Seed> seeds() {
  const std::map<std::string, ImageType> types = {
      {"bmp", kBmpImage}, {"jpg", kJpegImage}, {"png", kPngImage}, {"tga", kTgaImage},
      {"gif", kGifImage}, {"pcx", kPcxImage},  {"ppm", kNoImage},  {"pgm", kNoImage}};  // PNM is never decoded
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

TEST(ImageCheck, FormatsAreRecognisedByContentAndCutImagesAreDecodedSafely) {
  std::set<ImageType> formats;
  for (const Seed& seed : seeds()) {
    ImagePixels image;
    EXPECT_EQ(decodeImage(bytesOf(seed.bytes), seed.bytes.size(), image), seed.type != kNoImage) << seed.name;
    formats.insert(checkedImageType(bytesOf(seed.bytes), seed.bytes.size()));
    for (size_t length = 0; length < seed.bytes.size(); ++length) {
      ImageType type = checkedImageType(bytesOf(seed.bytes), length);
      // A PNG must be whole to its end chunk; the others may be refused by
      // their decoder, which decoding each one here shows is done safely.
      EXPECT_EQ(type, seed.type == kPngImage ? kNoImage : type) << seed.name << " cut at " << length;
      EXPECT_TRUE(type == kNoImage || type == seed.type) << seed.name << " cut at " << length;
      decodeImage(bytesOf(seed.bytes), length, image);
    }
  }
  EXPECT_EQ(formats.size(), 7u);  // six formats and the refused PNM
}

TEST(ImageCheck, ImagesDeclaringTooManyPixelsAreRefused) {
  std::string bmp = tinyBmp();
  ASSERT_EQ(checkedImageType(bytesOf(bmp), bmp.size()), kBmpImage);
  std::string wider = bmp;
  wider[18] = 3;  // a row of 3 pixels needs 12 bytes, the file holds 8
  EXPECT_EQ(checkedImageType(bytesOf(wider), wider.size()), kNoImage);
  std::string huge = bmp;
  huge[20] = 2;  // 131074 pixels wide: more than a texture may be
  EXPECT_EQ(checkedImageType(bytesOf(huge), huge.size()), kNoImage);
  // A GIF's first frame may overhang the screen, but not be larger than a
  // texture may be: 8193 pixels wide.
  imagefiles::GifFrame frame{0, 0, 8192, 1, std::string(1, '\0')};
  std::string gif = imagefiles::gif(1, 1, std::string(6, '\0'), 0, {frame});
  EXPECT_EQ(checkedImageType(bytesOf(gif), gif.size()), kGifImage);
  gif[13 + 6 + 5] = 1;  // the frame's width, past the colour table: 8193
  EXPECT_EQ(checkedImageType(bytesOf(gif), gif.size()), kNoImage);
  // A PCX whose file is too short for the rows it declares, even coded.
  std::string pcx = imagefiles::pcx(8, 3, 64, 64, 64, std::string(64 * 3 * 64, '\x01'));
  ASSERT_EQ(checkedImageType(bytesOf(pcx), pcx.size()), kPcxImage);
  EXPECT_EQ(checkedImageType(bytesOf(pcx), 128 + 64 * 3 * 64 / 32 - 1), kNoImage);
}

GLuint load(const std::string& path) {
  GLTexture texture;
  GLuint id = texture.load(path.c_str());
  delete[] texture.name;
  return id;
}

TEST(ImageCheck, DamagedOrNonRegularImagesAreNotLoadedAndNamesDoNotDecide) {
  prepareGL();
  useRealImageLoader();
  ScratchDir dir;
  std::string bmp = tinyBmp();
  // Recognised by content: a bitmap named as a PNG loads, found ignoring case.
  EXPECT_NE(load(dir.write("maps/plain.png", bmp)), 0u);
  EXPECT_NE(load(dir.path() + "/MAPS/PLAIN.PNG"), 0u);
  // Cut short, or a PPM however sound, it is refused before any decoder.
  EXPECT_EQ(load(dir.write("maps/cut.bmp", bmp.substr(0, bmp.size() - 2))), 0u);
  EXPECT_EQ(load(dir.write("maps/red.ppm", "P6\n1 1\n255\n\xff\x10\x10")), 0u);
  // A FIFO would hold the open until a writer came; a folder is no image.
  ASSERT_EQ(mkfifo((dir.path() + "/maps/pipe.png").c_str(), 0644), 0);
  EXPECT_EQ(load(dir.path() + "/maps/PIPE.png"), 0u);
  EXPECT_EQ(load(dir.path() + "/maps"), 0u);
}

}  // namespace
