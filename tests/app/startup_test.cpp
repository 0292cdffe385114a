// The fixed OpenGL state that every later drawing relies on.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "app/startup.h"

namespace {

void expectColour(const GLfloat actual[4], float r, float g, float b, float a) {
  EXPECT_FLOAT_EQ(actual[0], r);
  EXPECT_FLOAT_EQ(actual[1], g);
  EXPECT_FLOAT_EQ(actual[2], b);
  EXPECT_FLOAT_EQ(actual[3], a);
}

TEST(Startup, FixedGLState) {
  setFixedGLState();
  GLint value;
  glGetIntegerv(GL_POLYGON_SMOOTH_HINT, &value);
  EXPECT_EQ(value, GL_NICEST);
  glGetIntegerv(GL_SHADE_MODEL, &value);
  EXPECT_EQ(value, GL_SMOOTH);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
  glGetIntegerv(GL_DEPTH_FUNC, &value);
  EXPECT_EQ(value, GL_LESS);

  GLfloat c[4];
  for (GLenum face : {GL_FRONT, GL_BACK}) {
    glGetMaterialfv(face, GL_AMBIENT, c);
    expectColour(c, 0.1f, 0.1f, 0.1f, 1.0f);
    glGetMaterialfv(face, GL_DIFFUSE, c);
    expectColour(c, 1, 1, 1, 1);
    glGetMaterialfv(face, GL_SPECULAR, c);
    expectColour(c, 1, 1, 1, 1);
    glGetMaterialfv(face, GL_SHININESS, c);
    EXPECT_FLOAT_EQ(c[0], 55.0f);
  }
  glGetLightfv(GL_LIGHT0, GL_AMBIENT, c);
  expectColour(c, 1, 1, 1, 1);
  glGetLightfv(GL_LIGHT0, GL_DIFFUSE, c);
  expectColour(c, 1, 1, 1, 1);
  glGetLightfv(GL_LIGHT0, GL_SPECULAR, c);
  expectColour(c, 1, 1, 1, 1);
  // Given under the identity matrix: stored in eye coordinates as written.
  glGetLightfv(GL_LIGHT0, GL_POSITION, c);
  expectColour(c, 10, 10, 10, 0);
}

}  // namespace
