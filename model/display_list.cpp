// The display list that draws a model: its geometry, normals and texture
// coordinates are captured when the list is compiled.
#include "model/model_3ds.h"

void Model_3DS::createDisplayList() {
  displayList = glGenLists(1);
  glNewList(displayList, GL_COMPILE);
  if (visible) {
    glPushMatrix();
    for (int o = 0; o < nb_obj; ++o) {
      const ModelObject& obj = objects[o];
      // Client-array state is not recorded in the list but decides what
      // glDrawElements captures: an object without its own coordinates must
      // not pick up the previous object's texture-coordinate array.
      if (obj.textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, obj.texCoords);
      } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
      }
      if (lit) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, 0, obj.normals);
      } else {
        glDisableClientState(GL_NORMAL_ARRAY);
      }
      glEnableClientState(GL_VERTEX_ARRAY);
      glVertexPointer(3, GL_FLOAT, 0, obj.vertices);

      for (int g = 0; g < obj.groupCount; ++g) {
        const FaceGroup& group = obj.groups[g];
        // A group naming no material shows the plain surface. Texturing is
        // on for the whole run, so it is switched back on after the group:
        // whatever the frame draws after this model keeps its textures.
        bool plain = group.material < 0;
        if (plain) {
          glDisable(GL_TEXTURE_2D);
        } else {
          materials[group.material].texture.bind();
        }
        glPushMatrix();
        glTranslatef(obj.position[0], obj.position[1], obj.position[2]);
        if (group.indexCount > 0) {
          glDrawElements(GL_TRIANGLES, group.indexCount, GL_UNSIGNED_SHORT, group.indices);
        }
        glPopMatrix();
        if (plain) glEnable(GL_TEXTURE_2D);
      }

      if (showNormals) {
        glDisable(GL_TEXTURE_2D);
        for (int k = 0; k < obj.vertexCount; ++k) {
          const float* v = obj.vertices + 3 * k;
          const float* n = obj.normals + 3 * k;
          if (lit) glDisable(GL_LIGHTING);
          glColor3f(0, 0, 1);
          glBegin(GL_LINES);
          glVertex3f(v[0], v[1], v[2]);
          glVertex3f(v[0] + n[0], v[1] + n[1], v[2] + n[2]);
          glEnd();
          glColor3f(1, 1, 1);
          if (lit) glEnable(GL_LIGHTING);
        }
        glEnable(GL_TEXTURE_2D);
      }
    }
    glPopMatrix();
  }
  glEndList();
  // Nothing else draws from client arrays; leave none enabled.
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

void Model_3DS::draw() {
  if (displayList != 0) glCallList(displayList);
}
