// Reading and finishing a large 3DS model (normals, totals, texture
// coordinates), without textures or display list: 20 objects of 60,000
// faces, each object one triangle strip of 60,002 vertices with one material group.
// Reported as faces per second.
//
// The first benchmark of a process writes its arrays into pages fresh from
// the kernel, as the game's single load does; later ones mostly reuse pages
// the allocator kept. Run one filter per process to compare like with like:
//   bench_model_reader --benchmark_filter=FromMemory   (fresh pages)
//   bench_model_reader --benchmark_filter=WarmHeap     (reused pages)
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include <malloc.h>
#include <unistd.h>

#include "model/model_3ds.h"

namespace {

const int objectCount = 20;
const int facesPerObject = 60000;

std::string u16(uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; }
std::string u32(uint32_t v) { return u16(uint16_t(v & 0xFFFF)) + u16(uint16_t(v >> 16)); }
std::string f32(float f) {
  uint32_t bits;
  memcpy(&bits, &f, 4);
  return u32(bits);
}
std::string chunk(uint16_t id, const std::string& payload) { return u16(id) + u32(uint32_t(6 + payload.size())) + payload; }

std::string syntheticModel() {
  std::string objects;
  for (int o = 0; o < objectCount; ++o) {
    const int vertexCount = facesPerObject + 2;
    std::string vertices = u16(uint16_t(vertexCount));
    for (int k = 0; k < vertexCount; ++k) {
      vertices += f32(float(k / 2)) + f32(float(k % 2)) + f32(float(o) + 0.001f * float(k % 7));
    }
    std::string faces = u16(uint16_t(facesPerObject));
    std::string group = std::string("Hull") + '\0' + u16(uint16_t(facesPerObject));
    for (int f = 0; f < facesPerObject; ++f) {
      int a = f, b = f + 1, c = f + 2;
      if (f % 2) std::swap(b, c);  // every face of the strip wound the same way
      faces += u16(uint16_t(a)) + u16(uint16_t(b)) + u16(uint16_t(c)) + u16(0);
      group += u16(uint16_t(f));
    }
    std::string mesh = chunk(0x4110, vertices) + chunk(0x4120, faces + chunk(0x4130, group));
    objects += chunk(0x4000, std::string("Part") + char('A' + o) + '\0' + chunk(0x4100, mesh));
  }
  std::string material = chunk(0xAFFF, chunk(0xA000, std::string("Hull") + '\0') +
                                           chunk(0xA020, chunk(0x0011, std::string("\x80\x80\x80", 3))));
  return chunk(0x4D4D, chunk(0x3D3D, material + objects));
}

const std::string& modelBytes() {
  static const std::string bytes = syntheticModel();
  return bytes;
}

void checkLoaded(benchmark::State& state, const Model_3DS& model) {
  if (model.tot_faces != objectCount * facesPerObject || model.damage != 0) {
    state.SkipWithError("the synthetic model did not read back whole");
  }
}

// Faces per second over the timed iterations.
void reportFaces(benchmark::State& state) {
  state.counters["faces/s"] = benchmark::Counter(double(state.iterations()) * objectCount * facesPerObject,
                                                 benchmark::Counter::kIsRate);
}

// Reads the synthetic model from memory once per iteration.
void readFromMemory(benchmark::State& state) {
  std::string buffer = modelBytes();
  for (auto _ : state) {
    FILE* file = fmemopen(&buffer[0], buffer.size(), "rb");
    Model_3DS model;
    model.readStream(file, "bench/synthetic.3ds");
    checkLoaded(state, model);
    releaseModel(model);
  }
  state.SetItemsProcessed(state.iterations() * objectCount * facesPerObject);
  state.SetBytesProcessed(state.iterations() * int64_t(buffer.size()));
  reportFaces(state);
}

// From memory: the reader's own cost, the fresh memory of its arrays included
// (the kernel's page faults are a large part of it).
void ReadModelFromMemory(benchmark::State& state) { readFromMemory(state); }
BENCHMARK(ReadModelFromMemory)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

// From a file (in the page cache after the first run), as the game reads.
void ReadModelFromFile(benchmark::State& state) {
  char path[] = "/tmp/vekotra-bench-XXXXXX.3ds";
  int fd = mkstemps(path, 4);
  if (fd < 0 || write(fd, modelBytes().data(), modelBytes().size()) != ssize_t(modelBytes().size())) {
    state.SkipWithError("cannot write the model file");
    return;
  }
  close(fd);
  for (auto _ : state) {
    Model_3DS model;
    if (!model.readFile(path)) state.SkipWithError("cannot read the model file");
    checkLoaded(state, model);
    releaseModel(model);
  }
  unlink(path);
  state.SetItemsProcessed(state.iterations() * objectCount * facesPerObject);
  reportFaces(state);
}
BENCHMARK(ReadModelFromFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

// The yardstick: copying the file's bytes into fresh memory, nothing else.
void CopyBytesOnly(benchmark::State& state) {
  const std::string& bytes = modelBytes();
  for (auto _ : state) {
    char* copy = static_cast<char*>(malloc(bytes.size()));
    memcpy(copy, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(copy);
    free(copy);
  }
  reportFaces(state);
}
BENCHMARK(CopyBytesOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

// From memory into a heap that keeps its pages between runs: the reader's
// work without the kernel's cost of handing out new memory. Runs last, since
// the allocator settings stay for the process.
void ReadModelWarmHeap(benchmark::State& state) {
  mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024);
  readFromMemory(state);
}
BENCHMARK(ReadModelWarmHeap)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(false);

}  // namespace
