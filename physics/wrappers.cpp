#include "physics/wrappers.h"

#include <GL/gl.h>

#include "model/model_table.h"

void poseToGLMatrix(const NxMat34& pose, float matrix[16]) {
  for (int column = 0; column < 3; ++column) {
    for (int row = 0; row < 3; ++row) matrix[column * 4 + row] = pose.M.m[row][column];
    matrix[column * 4 + 3] = 0.0f;
  }
  matrix[12] = pose.t.x;
  matrix[13] = pose.t.y;
  matrix[14] = pose.t.z;
  matrix[15] = 1.0f;
}

NxVec3 MyNXWrapper::getPosition() { return actor->getGlobalPosition(); }

NxMat33 MyNXWrapper::getOrientation() { return actor->getGlobalOrientation(); }

void MyNXWrapper::setPosition(const float position[3]) {
  actor->setGlobalPosition(NxVec3(position[0], position[1], position[2]));
}

void MyNXWrapper::setOrientation(const float orientation[9]) {
  NxMat33 m;
  m.setRowMajor(orientation);
  actor->setGlobalOrientation(m);
}

void MyNXWrapper::setVelocity(const float velocity[3]) {
  actor->setLinearVelocity(NxVec3(velocity[0], velocity[1], velocity[2]));
}

void MyNXWrapper::drawWithColor(float r, float g, float b) {
  glPushMatrix();
  float matrix[16];
  poseToGLMatrix(actor->getGlobalPose(), matrix);
  glMultMatrixf(matrix);
  glColor3f(r, g, b);
  ModelTable[modelSlot].draw();
  glPopMatrix();
}

void MyNX3DS::draw() { drawWithColor(1.0f, 2.0f, 8.0f); }

void MyNXAvatar::draw() { drawWithColor(1.0f, 1.0f, 1.0f); }
