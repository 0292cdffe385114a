// Bounded reading of 3DS chunks from a stdio stream, for the model reader
// only. Every read stays inside the range it is given, so a damaged file can
// make the reader skip data but never read past a chunk or its parent.
#pragma once

#include <cstdint>
#include <cstdio>

// A sub-chunk header met while walking [pos, end).
struct ChunkHeader {
  uint16_t id;
  uint32_t length;  // whole chunk, header included; at least 6 and never past end
  long data;        // file position of the chunk's data
};

// Reads the header of the sub-chunk at `pos` of a walk that ends at `end`.
// Returns false when the walk is over: pos reached end, fewer than 6 bytes
// are left, or the length is below 6 (nothing after it can be trusted).
// A length running past `end` is cut to end there. Each of these faults adds
// one to *damage when damage is not null.
bool nextChunk(FILE* file, long pos, long end, ChunkHeader& chunk, int32_t* damage);

// Reads a zero-terminated name starting at `pos`: up to and including its
// zero byte, never more than 80 bytes and never past `end`. `out` (80 bytes)
// always ends up zero-terminated; a name without its zero byte is cut to 79
// characters and counted in *damage. Returns the position after the bytes
// taken.
long readName(FILE* file, long pos, long end, char out[80], int32_t* damage);

// Reads a little-endian unsigned 16-bit count at `pos` when 2 bytes are left
// before `end`; false otherwise.
bool readCount(FILE* file, long pos, long end, uint16_t& count);

// Arrays of the file are read straight into memory: the 3DS byte order is the
// machine's.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the 3DS reader expects a little-endian machine");
