#pragma once
#include <string>

// Writes a 3DS file through lib3ds's own writer: the materials "red" (diffuse 1, 0.5, 0.25,
// specular 0.2, 0.4, 0.6, texture "brick.png" scaled 2 by 3) and "blue" (diffuse 0, 0, 1, no
// texture); the mesh "Box" of four textured points with four faces: red (0, 1, 2), one without
// a material, blue (2, 3, 0), one with an unknown material; the mesh "Child" of three
// untextured points with one red face; and the mesh "Hidden" that no node names. The keyframe
// nodes: "Box" (found by its own name), a "$$$DUMMY" node with the instance "Child" below it,
// and a "$$$DUMMY" node with no instance. False when lib3ds cannot write the file.
bool Write3dsFixture(const std::string& path);
