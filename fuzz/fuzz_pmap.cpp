// Fuzz target of the pmap loader: any bytes are decoded as a pmap block, for
// the mesh of the corpus (a small octahedron) and for whatever mesh the block
// names, both as they are and with their checksum made right, so the checks
// past the checksum are reached too. A block that is accepted must encode
// back to exactly its own bytes, and points are looked up in its map.
//
//   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DVEKOTRA_FUZZ=ON
//   cmake --build build/fuzz --target fuzz_pmap
//   build/fuzz/fuzz/fuzz_pmap -max_len=4096 <work corpus folder> fuzz/corpus/pmap
//
// Without libFuzzer, fuzz/replay/replay_main.cpp turns this file into a
// program that replays the saved corpus (the test nx.fuzz_pmap_corpus).
// fuzz/corpus/make_pmap_seeds.py writes the seeds.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/nx/solid_map.h"

namespace {

// The seeds' mesh: the octahedron with vertices at +/-1 on each axis.
uint64_t seedFingerprint() {
  MeshGeometry mesh;
  mesh.points = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};
  for (uint32_t x : {0u, 1u})
    for (uint32_t y : {2u, 3u})
      for (uint32_t z : {4u, 5u}) mesh.triangles.insert(mesh.triangles.end(), {x, y, z});
  return meshFingerprint(mesh);
}

uint64_t namedFingerprint(const std::vector<uint8_t>& block) {
  uint64_t value = 0;
  for (int k = 0; k < 8 && 36 + k < int(block.size()); ++k) value |= uint64_t(block[36 + k]) << (8 * k);
  return value;
}

void fail(const char* problem) {
  fprintf(stderr, "pmap: %s\n", problem);
  abort();
}

void tryBlock(const std::vector<uint8_t>& block, uint64_t fingerprint) {
  SolidMap map;
  map.resolution = 3;  // must survive a refusal as it is
  if (!decodeSolidMap(block.data(), block.size(), fingerprint, map)) {
    if (map.resolution != 3 || !map.bits.empty()) fail("refused block changed the map");
    return;
  }
  if (encodeSolidMap(map, fingerprint) != block) fail("accepted block does not encode back to itself");

  const Vec3 lo = map.boundsMin, hi = map.boundsMax;
  const Vec3 mid = (lo + hi) * 0.5f;
  const Vec3 points[] = {lo, hi, mid, lo - Vec3{1, 1, 1}, {NAN, mid.y, mid.z}, {mid.x, INFINITY, mid.z},
                         {mid.x, mid.y, -INFINITY}, {std::nextafter(hi.x, lo.x), hi.y, mid.z}};
  for (const Vec3& p : points) {
    const bool within = p.x >= lo.x && p.x < hi.x && p.y >= lo.y && p.y < hi.y && p.z >= lo.z && p.z < hi.z;
    if (solidMapContains(map, p) && !within) fail("a point outside the bounds is solid");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const uint64_t fingerprint = seedFingerprint();
  std::vector<uint8_t> block(data, data + size);
  tryBlock(block, fingerprint);
  tryBlock(block, namedFingerprint(block));
  sealSolidMapBlock(block);
  tryBlock(block, namedFingerprint(block));
  // The raw pointer path, with no bytes at all behind it.
  SolidMap map;
  if (decodeSolidMap(size ? data : nullptr, 0, fingerprint, map)) fail("empty block accepted");
  return 0;
}
