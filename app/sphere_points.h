// The vertices of GLUT's solid sphere, for drawing a sphere as points.
#pragma once

#include <GL/gl.h>

#include <vector>

// The distinct vertices glutSolidSphere(radius, slices, stacks) draws, as x, y,
// z triples in the order it generates them: the +z pole, the rings from the
// top down (each from angle 0 turning clockwise about z), then the -z pole.
// Each value is computed in single precision as freeglut computes it, so a
// point lands exactly where the sphere's vertex did. Empty for fewer than 2
// stacks or no slices, where GLUT draws nothing.
std::vector<GLfloat> sphereVertices(GLfloat radius, int slices, int stacks);
