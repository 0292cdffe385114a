// The .pmap cache of a model whose folder cannot be written: kept under the
// user's cache folder, read back from there, checked like the file beside;
// written whole or not at all; never waited on.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "model/model_table.h"
#include "physics/collision_mesh.h"
#include "physics/world.h"
#include "platform/nx/nx_objects.h"

namespace {

// Every test of this program writes its caches under a scratch
// XDG_CACHE_HOME, never into the cache of the user who runs them.
struct ScratchCache : testing::Environment {
  std::string root;
  void SetUp() override {
    char pattern[] = "/tmp/vekotra-cache-XXXXXX";
    root = mkdtemp(pattern);
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(root); }
};
ScratchCache* const scratchCache =
    static_cast<ScratchCache*>(testing::AddGlobalTestEnvironment(new ScratchCache));

// A closed box of one object, 8 corners and 12 triangles, `shift` along x.
void makeBoxModel(Model_3DS& model, const char* path, float shift) {
  model = Model_3DS();
  model.modelname = path;
  model.nb_obj = 1;
  model.objects = new ModelObject[1]();
  ModelObject& box = model.objects[0];
  box.vertices = new float[24];
  for (int i = 0; i < 8; ++i) {
    box.vertices[3 * i + 0] = (i & 1 ? 3.0f : 0.0f) + shift;
    box.vertices[3 * i + 1] = i & 2 ? 2.0f : 0.0f;
    box.vertices[3 * i + 2] = i & 4 ? 1.0f : 0.0f;
  }
  static uint16_t faces[36] = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                               2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
  box.vertexCount = 8;
  box.faceIndices = faces;
  box.faceIndexCount = 36;
  model.tot_verts = 8;
  model.tot_faces = 12;
}

std::string build(int slot) {
  testing::internal::CaptureStdout();
  buildCollisionMesh(slot);
  return testing::internal::GetCapturedStdout();
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(PMapCache, UnwritableModelFolderKeepsThePMapInTheUserCache) {
  ASSERT_TRUE(initPhysicsWorld());
  // The game's paths are relative to its working directory, doubled slashes
  // and all; the model's folder does not exist, so nothing can be written
  // beside it (as in a read-only installed data folder).
  const std::string work = scratchCache->root + "/work";
  ASSERT_TRUE(std::filesystem::create_directory(work));
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(work.c_str()), 0);
  const char* model = "data//map//box.3DS";
  const std::string beside = "data/map/box.3DS.pmap";
  const std::string cached = scratchCache->root + "/cache/vekotra/data/map/box.3DS.pmap";
  makeBoxModel(ModelTable[2], model, 0.0f);

  // First start: computed, written under the cache folder's same path, with
  // the folders made for it.
  EXPECT_EQ(build(2), "Precomputing [data//map//box.3DS.pmap]...  OK\n");
  ASSERT_NE(collisionMesh, nullptr);
  EXPECT_TRUE(collisionMesh->hasPMap());
  const std::string good = readAll(cached);
  EXPECT_GT(good.size(), 0u);
  struct stat info;
  ASSERT_EQ(stat((scratchCache->root + "/cache/vekotra").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  // Second start: read from the cache, nothing computed or printed.
  EXPECT_EQ(build(2), "");
  EXPECT_TRUE(collisionMesh->hasPMap());

  // A cached block made for another mesh (the model was replaced), or cut
  // short, is refused as one beside the model would be, then computed and
  // written afresh: the next start reads the new copy.
  makeBoxModel(ModelTable[2], model, 7.0f);
  EXPECT_EQ(build(2), "Precomputing [data//map//box.3DS.pmap]...  OK\n");
  EXPECT_TRUE(collisionMesh->hasPMap());
  EXPECT_NE(readAll(cached), good);
  EXPECT_EQ(build(2), "");
  EXPECT_TRUE(collisionMesh->hasPMap());
  makeBoxModel(ModelTable[2], model, 0.0f);
  writeAll(cached, good.substr(0, good.size() / 2));
  EXPECT_EQ(build(2), "Precomputing [data//map//box.3DS.pmap]...  OK\n");
  EXPECT_TRUE(collisionMesh->hasPMap());
  EXPECT_EQ(readAll(cached), good);

  // The file beside the model comes first: a good one there is used even
  // though the cache's copy is damaged.
  ASSERT_TRUE(std::filesystem::create_directories("data/map"));
  writeAll(beside, good);
  writeAll(cached, good.substr(0, good.size() / 2));
  EXPECT_EQ(build(2), "");
  EXPECT_TRUE(collisionMesh->hasPMap());

  // A writable model folder gets the file beside the model and the cache is
  // not touched.
  ASSERT_EQ(remove(beside.c_str()), 0);
  ASSERT_EQ(remove(cached.c_str()), 0);
  EXPECT_EQ(build(2), "Precomputing [data//map//box.3DS.pmap]...  OK\n");
  EXPECT_TRUE(collisionMesh->hasPMap());
  EXPECT_EQ(readAll(beside), good);
  EXPECT_NE(access(cached.c_str(), F_OK), 0);

  ASSERT_EQ(chdir(previous), 0);
}

TEST(PMapCache, WithoutACacheFolderTheComputedPMapIsStillUsed) {
  ASSERT_TRUE(initPhysicsWorld());
  // The cache folder's place is taken by a file: no copy can be written.
  const std::string blocked = scratchCache->root + "/blocked";
  writeAll(blocked, "x");
  setenv("XDG_CACHE_HOME", blocked.c_str(), 1);
  const std::string model = scratchCache->root + "/missing/box.3DS";
  makeBoxModel(ModelTable[2], model.c_str(), 0.0f);
  EXPECT_EQ(build(2), "Precomputing [" + model + ".pmap]...  OK\n");
  EXPECT_TRUE(collisionMesh->hasPMap());
  EXPECT_EQ(readAll(blocked), "x");
  // So the next start computes it again.
  EXPECT_EQ(build(2), "Precomputing [" + model + ".pmap]...  OK\n");
  setenv("XDG_CACHE_HOME", (scratchCache->root + "/cache").c_str(), 1);
}

// Runs buildCollisionMesh(slot) in a child process, which `prepare` sets up
// first; the child's wait status, or -1 when it had not ended after 20 s
// (it is killed then).
int buildInChild(int slot, void (*prepare)()) {
  fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    // Its console goes nowhere: a file would count against a size limit.
    if (freopen("/dev/null", "w", stdout) == nullptr) _exit(4);
    prepare();
    buildCollisionMesh(slot);
    _exit(collisionMesh != nullptr && collisionMesh->hasPMap() ? 0 : 3);
  }
  int status = 0;
  for (int waited = 0; waited < 2000; ++waited) {
    if (waitpid(child, &status, WNOHANG) == child) return status;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(child, SIGKILL);
  waitpid(child, &status, 0);
  return -1;
}

// A start killed while it writes a .pmap (here by a file-size limit's
// signal, SIGXFSZ, after 16 bytes) leaves no .pmap behind, which every later
// start would refuse; the next start computes and writes it whole.
TEST(PMapCache, AStartKilledWhileWritingLeavesNoPMap) {
  ASSERT_TRUE(initPhysicsWorld());
  const std::string folder = scratchCache->root + "/killed";
  ASSERT_TRUE(std::filesystem::create_directory(folder));
  static std::string model;
  model = folder + "/box.3DS";
  makeBoxModel(ModelTable[2], model.c_str(), 0.0f);
  int status = buildInChild(2, [] {
    rlimit none{0, 0}, small{16, 16};
    setrlimit(RLIMIT_CORE, &none);
    signal(SIGXFSZ, SIG_DFL);
    setrlimit(RLIMIT_FSIZE, &small);
  });
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "status " << status;
  EXPECT_NE(access((model + ".pmap").c_str(), F_OK), 0) << "a partial .pmap was left";
  EXPECT_EQ(build(2), "Precomputing [" + model + ".pmap]...  OK\n");
  EXPECT_EQ(build(2), "");
  EXPECT_TRUE(collisionMesh->hasPMap());
}

// A FIFO at the cache copy's path (the model's folder missing, so the copy is
// what a start reads): start-up neither waits for a writer nor stops; it
// computes the pmap and puts a file in the FIFO's place.
TEST(PMapCache, AFifoInTheCacheHoldsNoStart) {
  ASSERT_TRUE(initPhysicsWorld());
  static std::string model;
  model = scratchCache->root + "/absent/box.3DS";
  const std::string cached = scratchCache->root + "/cache/vekotra" + model + ".pmap";
  ASSERT_TRUE(std::filesystem::create_directories(std::filesystem::path(cached).parent_path()));
  ASSERT_EQ(mkfifo(cached.c_str(), 0600), 0);
  makeBoxModel(ModelTable[2], model.c_str(), 0.0f);
  ASSERT_EQ(buildInChild(2, [] {}), 0) << "-1: held by the FIFO";
  struct stat info;
  ASSERT_EQ(stat(cached.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(build(2), "") << "the next start reads the cache's copy";
  EXPECT_TRUE(collisionMesh->hasPMap());
}

}  // namespace
