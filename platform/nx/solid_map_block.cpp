// The pmap's byte block (layout in solid_map.h), the mesh fingerprint that
// ties a block to its mesh, and the point-in-map query. Every field is
// written and read byte by byte, so the block is the same on any machine.
#include <cmath>
#include <cstring>

#include "platform/nx/solid_map.h"

namespace {

const uint8_t kMagic[4] = {'V', 'P', 'M', 'P'};
const uint32_t kVersion = 1;
const size_t kChecksumOffset = 44;
const size_t kHeaderBytes = 52;
static_assert(solidMapBlockBytes(1) == kHeaderBytes + 1, "the header's length");

const uint64_t kFnvOffset = 14695981039346656037ull;
const uint64_t kFnvPrime = 1099511628211ull;

// 64-bit FNV-1a, continuing from `hash`. Each byte goes through a bijection
// of the running hash, so any single changed byte changes the result.
uint64_t fnv1a(const uint8_t* bytes, size_t size, uint64_t hash) {
  for (size_t k = 0; k < size; ++k) hash = (hash ^ bytes[k]) * kFnvPrime;
  return hash;
}

uint64_t fnv1aU32(uint32_t value, uint64_t hash) {
  for (int k = 0; k < 4; ++k) hash = (hash ^ ((value >> (8 * k)) & 0xFF)) * kFnvPrime;
  return hash;
}

uint32_t floatBits(float f) {
  uint32_t bits;
  memcpy(&bits, &f, 4);
  return bits;
}

void putU32(uint8_t* at, uint32_t value) {
  for (int k = 0; k < 4; ++k) at[k] = uint8_t(value >> (8 * k));
}

void putU64(uint8_t* at, uint64_t value) {
  for (int k = 0; k < 8; ++k) at[k] = uint8_t(value >> (8 * k));
}

uint32_t getU32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint64_t getU64(const uint8_t* at) { return uint64_t(getU32(at)) | uint64_t(getU32(at + 4)) << 32; }

float getFloat(const uint8_t* at) {
  uint32_t bits = getU32(at);
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

uint64_t cellCount(uint32_t resolution) { return uint64_t(resolution) * resolution * resolution; }

// The checksum of a whole block: every byte but the checksum's own.
uint64_t blockChecksum(const uint8_t* block, size_t size) {
  uint64_t hash = fnv1a(block, kChecksumOffset, kFnvOffset);
  return fnv1a(block + kHeaderBytes, size - kHeaderBytes, hash);
}

}  // namespace

uint64_t meshFingerprint(const MeshGeometry& mesh) {
  uint64_t hash = fnv1aU32(uint32_t(mesh.points.size()), kFnvOffset);
  hash = fnv1aU32(mesh.triangleCount(), hash);
  for (const Vec3& p : mesh.points) {
    hash = fnv1aU32(floatBits(p.x), hash);
    hash = fnv1aU32(floatBits(p.y), hash);
    hash = fnv1aU32(floatBits(p.z), hash);
  }
  for (uint32_t index : mesh.triangles) hash = fnv1aU32(index, hash);
  return hash;
}

std::vector<uint8_t> encodeSolidMap(const SolidMap& map, uint64_t fingerprint) {
  if (map.resolution < 1 || map.resolution > kSolidMapMaxResolution) return {};
  const uint64_t cells = cellCount(map.resolution);
  if (map.bits.size() != (cells + 7) / 8) return {};

  std::vector<uint8_t> block(kHeaderBytes + map.bits.size());
  memcpy(&block[0], kMagic, 4);
  putU32(&block[4], kVersion);
  putU32(&block[8], map.resolution);
  const float bounds[6] = {map.boundsMin.x, map.boundsMin.y, map.boundsMin.z,
                           map.boundsMax.x, map.boundsMax.y, map.boundsMax.z};
  for (int k = 0; k < 6; ++k) putU32(&block[12 + 4 * k], floatBits(bounds[k]));
  putU64(&block[36], fingerprint);
  memcpy(&block[kHeaderBytes], map.bits.data(), map.bits.size());
  if (cells % 8) block.back() &= uint8_t((1u << (cells % 8)) - 1);
  sealSolidMapBlock(block);
  return block;
}

void sealSolidMapBlock(std::vector<uint8_t>& block) {
  if (block.size() < kHeaderBytes) return;
  putU64(&block[kChecksumOffset], blockChecksum(block.data(), block.size()));
}

bool decodeSolidMap(const void* data, size_t size, uint64_t fingerprint, SolidMap& map) {
  const uint8_t* block = static_cast<const uint8_t*>(data);
  if (!block || size < kHeaderBytes) return false;
  if (memcmp(block, kMagic, 4) != 0 || getU32(block + 4) != kVersion) return false;
  const uint32_t resolution = getU32(block + 8);
  if (resolution < 1 || resolution > kSolidMapMaxResolution) return false;
  const uint64_t cells = cellCount(resolution);
  const uint64_t bitBytes = (cells + 7) / 8;
  if (size - kHeaderBytes != bitBytes) return false;

  float bounds[6];
  for (int k = 0; k < 6; ++k) {
    bounds[k] = getFloat(block + 12 + 4 * k);
    if (!std::isfinite(bounds[k])) return false;
  }
  for (int k = 0; k < 3; ++k)
    if (!(bounds[k] < bounds[k + 3])) return false;
  if (getU64(block + 36) != fingerprint) return false;
  // Bits past the last cell are 0, so each map has exactly one block.
  if (cells % 8 && (block[size - 1] >> (cells % 8)) != 0) return false;
  if (getU64(block + kChecksumOffset) != blockChecksum(block, size)) return false;

  map.resolution = resolution;
  map.boundsMin = {bounds[0], bounds[1], bounds[2]};
  map.boundsMax = {bounds[3], bounds[4], bounds[5]};
  map.bits.assign(block + kHeaderBytes, block + size);
  return true;
}

namespace {

// The cell index of `value` along one axis, or -1 outside [lo, hi).
int64_t cellOf(float value, float lo, float hi, uint32_t n) {
  const double f = (double(value) - lo) / (double(hi) - lo) * n;
  if (!(f >= 0 && f < n)) return -1;
  return int64_t(f);
}

}  // namespace

// The cell of the point, or false outside the bounds (or for a map that is
// not whole).
static bool cellOfPoint(const SolidMap& map, Vec3 point, int64_t cell[3]) {
  const uint32_t n = map.resolution;
  if (n < 1 || n > kSolidMapMaxResolution || map.bits.size() != (cellCount(n) + 7) / 8) return false;
  cell[0] = cellOf(point.x, map.boundsMin.x, map.boundsMax.x, n);
  cell[1] = cellOf(point.y, map.boundsMin.y, map.boundsMax.y, n);
  cell[2] = cellOf(point.z, map.boundsMin.z, map.boundsMax.z, n);
  return cell[0] >= 0 && cell[1] >= 0 && cell[2] >= 0;
}

// The bit of cell (x, y, z); cells beyond the border are 0.
static bool solidCell(const SolidMap& map, int64_t x, int64_t y, int64_t z) {
  const int64_t n = map.resolution;
  if (x < 0 || y < 0 || z < 0 || x >= n || y >= n || z >= n) return false;
  const uint64_t cell = uint64_t(x) + n * (uint64_t(y) + n * uint64_t(z));
  return (map.bits[cell / 8] >> (cell % 8)) & 1;
}

bool solidMapContains(const SolidMap& map, Vec3 point) {
  int64_t c[3];
  return cellOfPoint(map, point, c) && solidCell(map, c[0], c[1], c[2]);
}

MapRegion solidMapRegion(const SolidMap& map, Vec3 point) {
  int64_t c[3];
  if (!cellOfPoint(map, point, c)) return kMapOutside;
  const bool solid = solidCell(map, c[0], c[1], c[2]);
  for (int64_t dz = -1; dz <= 1; ++dz)
    for (int64_t dy = -1; dy <= 1; ++dy)
      for (int64_t dx = -1; dx <= 1; ++dx)
        if (solidCell(map, c[0] + dx, c[1] + dy, c[2] + dz) != solid) return kMapNearSurface;
  return solid ? kMapInside : kMapOutside;
}
