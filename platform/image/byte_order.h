// Unsigned integers read from file bytes, least or most significant byte
// first, as image headers store them.
#pragma once

#include <cstdint>

inline uint32_t le16(const uint8_t* p) { return p[0] | p[1] << 8; }
inline uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }
inline uint32_t be16(const uint8_t* p) { return p[0] << 8 | p[1]; }
inline uint32_t be32(const uint8_t* p) { return be16(p) << 16 | be16(p + 2); }
