#include <gtest/gtest.h>

#include "app/frame_loop.h"

namespace {

void expectMatrix(const float m[9], const float expected[9]) {
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6f) << "element " << i;
}

TEST(Quaternion, NoRotationIsIdentity) {
  float angles[3] = {0, 0, 0};
  Quaternion q = eulerToQuaternion(angles);
  EXPECT_FLOAT_EQ(q.w, 1.0f);
  float m[9];
  quaternionToMatrix(q, m);
  const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  expectMatrix(m, identity);
}

TEST(Quaternion, HeadingNinetySendsMinusZToMinusX) {
  float angles[3] = {0, 90, 0};
  Quaternion q = eulerToQuaternion(angles);
  EXPECT_NEAR(q.x, 0.0f, 1e-7f);
  EXPECT_NEAR(q.y, 0.70710677f, 1e-6f);
  EXPECT_NEAR(q.z, 0.0f, 1e-7f);
  EXPECT_NEAR(q.w, 0.70710677f, 1e-6f);
  float m[9];
  quaternionToMatrix(q, m);
  const float expected[9] = {0, 0, 1, 0, 1, 0, -1, 0, 0};
  expectMatrix(m, expected);
}

TEST(Quaternion, TurnsAboutZThenXThenY) {
  // Roll 90 then pitch 90 then heading 90: follow the x axis through them.
  float angles[3] = {90, 90, 90};
  float m[9];
  quaternionToMatrix(eulerToQuaternion(angles), m);
  // z-turn: x -> y; x-turn: y -> z; y-turn: z -> x.
  EXPECT_NEAR(m[0], 1.0f, 1e-5f);
  EXPECT_NEAR(m[3], 0.0f, 1e-5f);
  EXPECT_NEAR(m[6], 0.0f, 1e-5f);
}

}  // namespace
