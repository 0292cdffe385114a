// The user object each physics actor carries: it ties the actor to the model
// that draws it, says what kind of actor it is, and keeps the event mask of
// the actor's last contact.
#pragma once

#include <cstdint>

#include "platform/nx/nx.h"

class MyNXWrapper {
 public:
  int32_t type;           // 0 the player's ship, 2 a mesh actor that is only drawn
  uint32_t contactFlags;  // event mask of the last contact notification (bits 2, 4, 8)
  NxActor* actor;         // not owned
  int32_t modelSlot;      // ModelTable slot that draws the actor

  MyNXWrapper(int32_t t, NxActor* a, int32_t slot) : type(t), contactFlags(0), actor(a), modelSlot(slot) {}

  // Draws the model at the actor's global pose.
  virtual void draw() = 0;
  virtual void setType(int32_t t) { type = t; }
  virtual int32_t getType() { return type; }
  // Copies, never references into the actor.
  virtual NxVec3 getPosition();
  virtual NxMat33 getOrientation();
  virtual void setPosition(const float position[3]);
  virtual void setOrientation(const float orientation[9]);  // row by row
  virtual void setVelocity(const float velocity[3]);

 protected:
  // Created once, never destroyed: no virtual destructor is needed.
  ~MyNXWrapper() {}
  // Pushes the matrix, applies the actor's pose, sets the colour, draws the
  // model slot, pops the matrix.
  void drawWithColor(float r, float g, float b);
};

// The planet: drawn with colour (1, 2, 8).
class MyNX3DS : public MyNXWrapper {
 public:
  MyNX3DS(NxActor* a, int32_t slot) : MyNXWrapper(2, a, slot) {}
  void draw() override;
};

// The player's ship: drawn with colour (1, 1, 1).
class MyNXAvatar : public MyNXWrapper {
 public:
  MyNXAvatar(NxActor* a, int32_t slot) : MyNXWrapper(0, a, slot) {}
  void draw() override;
};

// The OpenGL matrix of a pose, column by column: the rotation's rows become
// columns, the translation the fourth column.
void poseToGLMatrix(const NxMat34& pose, float matrix[16]);
