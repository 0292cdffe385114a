#include <cmath>

#include "app/frame_loop.h"

static const float kDegreesToRadians = 0.017453292f;

static Quaternion axisRotation(float degrees, float ax, float ay, float az) {
  float half = (degrees * 0.5f) * kDegreesToRadians;
  float s = sinf(half);
  return Quaternion{ax * s, ay * s, az * s, cosf(half)};
}

// The Hamilton product a * b.
static Quaternion multiply(const Quaternion& a, const Quaternion& b) {
  return Quaternion{
      a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
      a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z,
      a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x,
      a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
  };
}

Quaternion eulerToQuaternion(const float angles[3]) {
  Quaternion qX = axisRotation(angles[0], 1.0f, 0.0f, 0.0f);
  Quaternion qY = axisRotation(angles[1], 0.0f, 1.0f, 0.0f);
  Quaternion qZ = axisRotation(angles[2], 0.0f, 0.0f, 1.0f);
  return multiply(multiply(qY, qX), qZ);
}

void quaternionToMatrix(const Quaternion& q, float m[9]) {
  float x = q.x, y = q.y, z = q.z, w = q.w;
  m[0] = 1 - 2 * y * y - 2 * z * z;
  m[1] = 2 * x * y - 2 * z * w;
  m[2] = 2 * x * z + 2 * w * y;
  m[3] = 2 * x * y + 2 * z * w;
  m[4] = 1 - 2 * x * x - 2 * z * z;
  m[5] = 2 * y * z - 2 * x * w;
  m[6] = 2 * x * z - 2 * w * y;
  m[7] = 2 * y * z + 2 * x * w;
  m[8] = 1 - 2 * x * x - 2 * y * y;
}
