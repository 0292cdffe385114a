#include "app/startup.h"

#include <GL/freeglut.h>

#include "app/frame_loop.h"
#include "app/window_identity.h"
#include "input/keyboard.h"
#include "input/mouse.h"
#include "model/image_library.h"
#include "model/model_table.h"
#include "physics/actors.h"
#include "physics/world.h"

void registerCallbacks() {
  glutReshapeFunc(onReshape);
  glutDisplayFunc(onDisplay);
  glutIdleFunc(onIdle);
  glutWindowStatusFunc(onWindowStatus);
  glutPositionFunc(onWindowMoved);
  glutKeyboardFunc(onKeyboard);
  glutMouseFunc(onMouseButton);
  glutMotionFunc(onMouseMotion);
  glutSpecialFunc(onSpecialKey);
}

void setFixedGLState() {
  static const GLfloat materialAmbient[] = {0.1f, 0.1f, 0.1f, 1.0f};
  static const GLfloat white[] = {1.0f, 1.0f, 1.0f, 1.0f};
  static const GLfloat lightPosition[] = {10.0f, 10.0f, 10.0f, 0.0f};

  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, materialAmbient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, white);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 55.0f);
  // Given while the model-view matrix is the identity, and never again: the
  // light keeps its direction relative to the viewer.
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glLightfv(GL_LIGHT0, GL_AMBIENT, white);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, white);
  glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  glEnable(GL_TEXTURE_2D);
}

void initScene() {
  initImageLibrary();
  identifyWindow();
  if (!initPhysicsWorld()) return;
  setFixedGLState();
  loadModels();
  buildCollisionMesh(1);
  createShipActor(1);
  buildCollisionMesh(4);
  createMeshActor(4, true);
}
