#pragma once
// OpenGL for the Direct3D 8 layer: core entry points and extensions through GLEW, loaded on the
// device's context when it is made.
#include <GL/glew.h>
