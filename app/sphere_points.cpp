#include "app/sphere_points.h"

#include <cmath>
#include <cstdlib>

// Sines and cosines at n equal steps around a circle (half a circle when
// `half`), the direction turned by the sign of n: the step in single
// precision, each value taken in double and rounded to a float.
static void circleTable(int n, bool half, std::vector<GLfloat>& sines, std::vector<GLfloat>& cosines) {
  const int size = std::abs(n);
  const GLfloat step = (half ? 1 : 2) * static_cast<GLfloat>(M_PI) / static_cast<GLfloat>(n == 0 ? 1 : n);
  sines.assign(size, 0.0f);
  cosines.assign(size, 1.0f);
  for (int i = 1; i < size; ++i) {
    sines[i] = static_cast<GLfloat>(std::sin(static_cast<double>(step * i)));
    cosines[i] = static_cast<GLfloat>(std::cos(static_cast<double>(step * i)));
  }
}

std::vector<GLfloat> sphereVertices(GLfloat radius, int slices, int stacks) {
  std::vector<GLfloat> vertices;
  if (slices <= 0 || stacks < 2) return vertices;
  std::vector<GLfloat> sinAround, cosAround, sinDown, cosDown;
  circleTable(-slices, false, sinAround, cosAround);
  circleTable(stacks, true, sinDown, cosDown);

  vertices.reserve(3 * (static_cast<size_t>(slices) * (stacks - 1) + 2));
  vertices.insert(vertices.end(), {0.0f, 0.0f, radius});
  for (int i = 1; i < stacks; ++i) {
    for (int j = 0; j < slices; ++j) {
      const GLfloat x = cosAround[j] * sinDown[i];
      const GLfloat y = sinAround[j] * sinDown[i];
      const GLfloat z = cosDown[i];
      vertices.insert(vertices.end(), {x * radius, y * radius, z * radius});
    }
  }
  vertices.insert(vertices.end(), {0.0f, 0.0f, -radius});
  return vertices;
}
