// The model table: the statistics print and loadModels over a data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include "model/model_table.h"
#include "tests/model/bytes_3ds.h"
#include "tests/model/model_test_util.h"

using namespace bytes3ds;

namespace {

std::string capture(void (*print)(int), int slot) {
  fflush(stdout);
  testing::internal::CaptureStdout();
  print(slot);
  fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

std::string boxObject(const std::string& objectName, int vertexCount, int faceCount) {
  std::vector<Vec3> points(vertexCount, Vec3{0, 0, 0});
  for (int k = 0; k < vertexCount; ++k) points[k] = {float(k), float(k * k % 7), 1};
  std::vector<Tri> tris;
  for (int f = 0; f < faceCount; ++f) {
    tris.push_back({uint16_t(f % vertexCount), uint16_t((f + 1) % vertexCount), uint16_t((f + 3) % vertexCount)});
  }
  return object(objectName, vertices(points) + faces(tris));
}

TEST(ModelStats, TwoObjectsPrintByteForByte) {
  readBytes(ModelTable[2], file3ds(boxObject("A", 8, 12) + boxObject("B", 24, 36)), "two.3ds");
  EXPECT_EQ(capture(printModelStats, 2),
            "****************************\n"
            "modelname  :         two.3ds\n"
            "nb_obj     :               2\n"
            "tot_verts  :              32\n"
            "tot_faces  :              48\n"
            "----------------------------\n"
            "totalVerts :               8\n"
            "totalFaces :              12\n"
            "totalVerts :              24\n"
            "totalFaces :              36\n"
            "****************************\n");
}

TEST(ModelStats, LongPathIsPrintedWholeAndEmptyModelHasNoObjectLines) {
  readBytes(ModelTable[3], file3ds(""), "data//Satellite//MRO.3ds");
  EXPECT_EQ(capture(printModelStats, 3),
            "****************************\n"
            "modelname  : data//Satellite//MRO.3ds\n"
            "nb_obj     :               0\n"
            "tot_verts  :               0\n"
            "tot_faces  :               0\n"
            "----------------------------\n"
            "****************************\n");
}

TEST(ModelStats, SlotNeverLoadedPrintsZeroesAndDrawsNothing) {
  std::string text = capture(printModelStats, 9);
  EXPECT_NE(text.find("modelname  :                \n"), std::string::npos) << text;
  EXPECT_NE(text.find("nb_obj     :               0\n"), std::string::npos);
  EXPECT_EQ(ModelTable[9].displayList, 0u);
  EXPECT_EQ(capture(printModelStats, 10), "");  // no slot 10
}

// loadModels in a working folder holding the six models: six blocks in slot
// order, each model in its slot, texture files found ignoring case.
TEST(ModelTableLoad, LoadsTheSixModelsInSlotOrder) {
  prepareGL();
  ScratchDir dir;
  const char* files[] = {"data/Tolvar2/TolvarFight2_mini.3ds", "data/map/earth3.3DS", "data/Weapons/saber04.3DS",
                         "data/Satellite/MRO.3ds", "data/map/mars.3DS", "data/map/pluton.3DS"};
  int slots[] = {1, 4, 5, 6, 7, 8};
  for (int i = 0; i < 6; ++i) {
    dir.write(files[i], file3ds(solidMaterial("M", 10, 20, 30) + boxObject("O", 4 + i, 2 + i)));
  }
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  fflush(stdout);
  testing::internal::CaptureStdout();
  loadModels();
  fflush(stdout);
  std::string text = testing::internal::GetCapturedStdout();
  ASSERT_EQ(chdir(previous), 0);

  const char* paths[] = {"data//Tolvar2//TolvarFight2_mini.3ds", "data//map//earth3.3DS", "data//Weapons//saber04.3DS",
                         "data//Satellite//MRO.3ds", "data//map//mars.3DS", "data//map//pluton.3DS"};
  size_t at = 0;
  for (int i = 0; i < 6; ++i) {
    const Model_3DS& model = ModelTable[slots[i]];
    EXPECT_STREQ(model.modelname, paths[i]);
    EXPECT_EQ(model.tot_verts, 4 + i);
    EXPECT_EQ(model.tot_faces, 2 + i);
    EXPECT_NE(model.displayList, 0u);
    std::string block = "****************************\nmodelname  : " + std::string(paths[i]) + "\n";
    size_t found = text.find(block, at);
    ASSERT_NE(found, std::string::npos) << "block of slot " << slots[i] << " missing or out of order:\n" << text;
    at = found + block.size();
  }
  EXPECT_EQ(ModelTable[0].modelname, nullptr);
  EXPECT_EQ(ModelTable[2].displayList, 0u);
}

}  // namespace
