#include "model/chunk_io.h"

#include <cstring>

static void addDamage(int32_t* damage) {
  if (damage) ++*damage;
}

bool nextChunk(FILE* file, long pos, long end, ChunkHeader& chunk, int32_t* damage) {
  if (pos >= end) return false;
  unsigned char header[6];
  if (end - pos < 6 || fseek(file, pos, SEEK_SET) != 0 || fread(header, 1, 6, file) != 6) {
    addDamage(damage);
    return false;
  }
  chunk.id = static_cast<uint16_t>(header[0] | header[1] << 8);
  chunk.length = static_cast<uint32_t>(header[2]) | static_cast<uint32_t>(header[3]) << 8 |
                 static_cast<uint32_t>(header[4]) << 16 | static_cast<uint32_t>(header[5]) << 24;
  if (chunk.length < 6) {
    addDamage(damage);
    return false;
  }
  if (chunk.length > static_cast<unsigned long>(end - pos)) {
    addDamage(damage);
    chunk.length = static_cast<uint32_t>(end - pos);
  }
  chunk.data = pos + 6;
  return true;
}

long readName(FILE* file, long pos, long end, char out[80], int32_t* damage) {
  long room = end - pos;
  if (room > 80) room = 80;
  size_t got = 0;
  if (room > 0 && fseek(file, pos, SEEK_SET) == 0) got = fread(out, 1, static_cast<size_t>(room), file);
  const char* zero = static_cast<const char*>(memchr(out, 0, got));
  if (zero) {
    size_t taken = static_cast<size_t>(zero - out) + 1;
    memset(out + taken, 0, 80 - taken);
    return pos + static_cast<long>(taken);
  }
  if (damage) ++*damage;
  size_t kept = got < 80 ? got : 79;
  memset(out + kept, 0, 80 - kept);
  return pos + static_cast<long>(got);
}

bool readCount(FILE* file, long pos, long end, uint16_t& count) {
  unsigned char bytes[2];
  if (end - pos < 2 || fseek(file, pos, SEEK_SET) != 0 || fread(bytes, 1, 2, file) != 2) return false;
  count = static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
  return true;
}
