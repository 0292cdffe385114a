// The pmap of the generated models: building it at the game's resolution (64)
// for the planet (a closed sphere of about 3,000 triangles) and the fighter
// (several closed parts), and loading the planet's block, checks included.
// The models are the generator's own files, read as the game reads them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/model_3ds.h"
#include "platform/nx/solid_map.h"

namespace {

const uint32_t kResolution = 64;

GLuint noImage(const char*) { return 0; }

// Every object of the model in one mesh, as the game's collision mesh is.
MeshGeometry readMesh(const char* relativePath) {
  const std::string path = std::string(VEKOTRA_GAME_DIR) + "/" + relativePath;
  GLTexture::imageLoader = noImage;
  Model_3DS model;
  if (!model.readFile(path.c_str())) {
    fprintf(stderr, "cannot read %s (build the vekotra_data target)\n", path.c_str());
    exit(1);
  }
  MeshGeometry mesh;
  for (int o = 0; o < model.nb_obj; ++o) {
    const ModelObject& object = model.objects[o];
    const uint32_t base = uint32_t(mesh.points.size());
    for (int v = 0; v < object.vertexCount; ++v)
      mesh.points.push_back({object.vertices[3 * v], object.vertices[3 * v + 1], object.vertices[3 * v + 2]});
    for (int k = 0; k < object.faceIndexCount; ++k) mesh.triangles.push_back(base + object.faceIndices[k]);
  }
  releaseModel(model);
  return mesh;
}

const MeshGeometry& planet() {
  static const MeshGeometry mesh = readMesh("data/map/earth3.3DS");
  return mesh;
}

const MeshGeometry& fighter() {
  static const MeshGeometry mesh = readMesh("data/Tolvar2/TolvarFight2_mini.3ds");
  return mesh;
}

void buildBenchmark(benchmark::State& state, const MeshGeometry& mesh) {
  SolidMap map;
  for (auto _ : state) {
    if (!buildSolidMap(mesh, kResolution, map)) state.SkipWithError("no map");
    benchmark::DoNotOptimize(map.bits.data());
  }
  state.counters["triangles"] = double(mesh.triangleCount());
}

void BM_PmapCreatePlanet(benchmark::State& state) { buildBenchmark(state, planet()); }
void BM_PmapCreateFighter(benchmark::State& state) { buildBenchmark(state, fighter()); }

void BM_PmapLoadPlanet(benchmark::State& state) {
  SolidMap built;
  buildSolidMap(planet(), kResolution, built);
  const uint64_t fingerprint = meshFingerprint(planet());
  const std::vector<uint8_t> block = encodeSolidMap(built, fingerprint);
  for (auto _ : state) {
    SolidMap map;
    if (!decodeSolidMap(block.data(), block.size(), fingerprint, map)) state.SkipWithError("refused");
    benchmark::DoNotOptimize(map.bits.data());
  }
  state.counters["bytes"] = double(block.size());
}

// What checking a block against its mesh costs besides the load, unless the
// mesh keeps its fingerprint.
void BM_PmapFingerprintPlanet(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(meshFingerprint(planet()));
}

}  // namespace

BENCHMARK(BM_PmapCreatePlanet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmapCreateFighter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PmapLoadPlanet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PmapFingerprintPlanet)->Unit(benchmark::kMicrosecond);
