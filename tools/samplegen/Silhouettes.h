#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/ObjectFileWriter.h"
#include "tools/samplegen/Canvas.h"

// The findable objects of the hidden-object room: each a star-shaped outline around its centre,
// so the outline is also its collision fan and its bounding box its display quad.

struct CSilhouette {
    const char* name;
    CRgba colour;
    float (*radius)(float angle);  // outline distance from the centre at an angle, up to 1
};

constexpr uint32_t kOutlinePoints = 48;

const std::vector<CSilhouette>& RoomSilhouettes();

struct CPlacedObject {
    const CSilhouette* shape;
    float x, y;    // centre in the room, pixels
    float radius;  // outline scale, pixels
};

// The objects where the room shows them.
std::vector<CPlacedObject> RoomObjects();

// The outline as x, y pairs, kOutlinePoints of them, counter-clockwise from angle 0.
std::vector<float> Outline(const CPlacedObject& object);

// Draws the object: the shaded silhouette with a darker rim.
void DrawObject(CCanvas& canvas, const CPlacedObject& object);

// The arrow that leads out of the room, and its outline pointing right within a box.
constexpr CBox kRoomArrow = {930, 290, 1010, 360};
std::vector<float> ArrowOutline(const CBox& box);

// The room's display object: part 0 the room picture over the whole screen, then one quad per
// object over its outline's box, cut from its cell of the objects' sheet (cells of cellSize in a
// sheet of sheetSize, object i in cell i, row by row), then the arrow from the next cell. Screen
// units, y down, z 0.
C3dxModel RoomDisplayModel(const std::string& roomPicture, const std::string& objectSheet, float width,
                           float height, float sheetSize, float cellSize);
// The collision object: part 0 the whole room as two triangles, then each object's outline as a
// fan of triangles around its centre, then the arrow's box.
C3dxModel RoomCollisionModel(float width, float height);
