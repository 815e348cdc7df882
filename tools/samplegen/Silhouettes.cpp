#include "tools/samplegen/Silhouettes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPi = 3.14159265f;

float Circle(float) { return 1.0f; }

// A regular polygon of n sides with its corners on the unit circle.
float Polygon(float angle, int sides, float turn)
{
    const float sector = 2.0f * kPi / sides;
    const float a = std::fmod(angle + turn + 8.0f * kPi, sector) - sector * 0.5f;
    return std::cos(sector * 0.5f) / std::cos(a);
}

// A star of n points, the inner corners at inner.
float Star(float angle, int points, float inner)
{
    const float sector = 2.0f * kPi / points;
    const float a = std::fabs(std::fmod(angle + kPi * 0.5f + 8.0f * kPi, sector) - sector * 0.5f) / (sector * 0.5f);
    return inner + (1.0f - inner) * a;
}

float Star5(float angle) { return Star(angle, 5, 0.45f); }
float Burst8(float angle) { return Star(angle, 8, 0.6f); }
float Triangle(float angle) { return Polygon(angle, 3, kPi * 0.5f); }
float Hexagon(float angle) { return Polygon(angle, 6, 0.0f); }
float Diamond(float angle) { return 1.0f / (std::fabs(std::cos(angle)) / 0.7f + std::fabs(std::sin(angle))); }
float Box(float angle) { return Polygon(angle, 4, kPi * 0.25f); }
float Flower(float angle) { return 0.68f + 0.32f * std::cos(5.0f * angle); }
float Gear(float angle) { return std::cos(10.0f * angle) > 0.0f ? 1.0f : 0.78f; }
float Egg(float angle) { return 0.62f / std::sqrt(std::pow(0.62f * std::cos(angle), 2.0f) + std::pow(std::sin(angle), 2.0f)); }
float Drop(float angle) { return 0.58f + 0.42f * std::sin(angle); }

// A plus sign with arms of half width w: the farther of the two arms a ray meets.
float Cross(float angle)
{
    const float w = 0.36f;
    const float c = std::max(std::fabs(std::cos(angle)), 1e-4f), s = std::max(std::fabs(std::sin(angle)), 1e-4f);
    return std::max(std::min(w / s, 1.0f / c), std::min(1.0f / s, w / c));
}

constexpr uint32_t kRoomWidth = 1024;
constexpr uint32_t kRoomHeight = 768;

// Centres and sizes in the room, chosen to sit on its shelves, table and floor.
constexpr float kPlaces[][3] = {
    {150, 232, 34}, {300, 228, 30}, {470, 230, 32}, {842, 214, 30}, {118, 420, 36}, {330, 440, 30},
    {560, 468, 34}, {732, 452, 30}, {904, 430, 36}, {210, 650, 38}, {520, 680, 34}, {820, 660, 40},
};

} // namespace

const std::vector<CSilhouette>& RoomSilhouettes()
{
    static const std::vector<CSilhouette> shapes = {
        {"ball", {214, 48, 48, 255}, Circle},       {"star", {240, 196, 40, 255}, Star5},
        {"gem", {60, 200, 220, 255}, Diamond},      {"flower", {236, 110, 180, 255}, Flower},
        {"gear", {150, 150, 160, 255}, Gear},       {"cross", {60, 170, 70, 255}, Cross},
        {"nut", {240, 140, 40, 255}, Hexagon},      {"pyramid", {50, 90, 210, 255}, Triangle},
        {"badge", {140, 70, 190, 255}, Burst8},     {"egg", {246, 236, 206, 255}, Egg},
        {"crate", {140, 96, 52, 255}, Box},         {"drop", {30, 130, 120, 255}, Drop},
    };
    return shapes;
}

std::vector<CPlacedObject> RoomObjects()
{
    std::vector<CPlacedObject> objects;
    const std::vector<CSilhouette>& shapes = RoomSilhouettes();
    for (size_t i = 0; i < shapes.size(); ++i)
        objects.push_back({&shapes[i], kPlaces[i][0], kPlaces[i][1], kPlaces[i][2]});
    return objects;
}

std::vector<float> ArrowOutline(const CBox& box)
{
    const float w = box.right - box.left, h = box.bottom - box.top;
    const float points[][2] = {{0, 0.3f}, {0.55f, 0.3f}, {0.55f, 0}, {1, 0.5f}, {0.55f, 1}, {0.55f, 0.7f}, {0, 0.7f}};
    std::vector<float> xy;
    for (const auto& p : points) {
        xy.push_back(box.left + p[0] * w);
        xy.push_back(box.top + p[1] * h);
    }
    return xy;
}

std::vector<float> Outline(const CPlacedObject& object)
{
    std::vector<float> xy;
    for (uint32_t i = 0; i < kOutlinePoints; ++i) {
        const float angle = 2.0f * kPi * i / kOutlinePoints;
        const float r = object.radius * std::min(object.shape->radius(angle), 1.0f);
        xy.push_back(object.x + r * std::cos(angle));
        xy.push_back(object.y - r * std::sin(angle));
    }
    return xy;
}

void DrawObject(CCanvas& canvas, const CPlacedObject& object)
{
    const std::vector<float> outline = Outline(object);
    canvas.FillPolygon(outline, Shade(object.shape->colour, 0.45f));
    std::vector<float> inner = outline;
    for (size_t i = 0; i < inner.size(); i += 2) {
        inner[i] = object.x + (inner[i] - object.x) * 0.86f;
        inner[i + 1] = object.y + (inner[i + 1] - object.y) * 0.86f;
    }
    const CRgba light = Shade(object.shape->colour, 1.3f), dark = Shade(object.shape->colour, 0.8f);
    const float r = object.radius;
    CBox box{object.x - r, object.y - r, object.x + r, object.y + r};
    canvas.FillWhere(box, [&](float x, float y) { return InsidePolygon(inner, x, y); }, [&](float x, float y) {
        const float t = std::clamp(((x - box.left) + (y - box.top)) / (4.0f * r), 0.0f, 1.0f);
        return Mix(light, dark, t);
    });
}

namespace {

C3dxVertex Vertex(float x, float y, float u, float v)
{
    C3dxVertex vertex{};
    vertex.position[0] = x;
    vertex.position[1] = y;
    vertex.normal[2] = -1.0f;
    vertex.colour = 0xFFFFFFFFu;
    vertex.colour2 = 0xFFFFFFFFu;
    vertex.uv[0] = u;
    vertex.uv[1] = v;
    return vertex;
}

} // namespace

C3dxModel RoomDisplayModel(const std::string& roomPicture, const std::string& objectSheet, float width,
                           float height, float sheetSize, float cellSize)
{
    C3dxModel model;
    Add3dxQuad(model, {0, 0, width, height}, {0, 0, width / kRoomWidth, height / kRoomHeight}, roomPicture);
    const std::vector<CPlacedObject> objects = RoomObjects();
    const uint32_t columns = static_cast<uint32_t>(sheetSize / cellSize);
    for (uint32_t i = 0; i < objects.size(); ++i) {
        const CPlacedObject& object = objects[i];
        const CBox box = BoundingBox(Outline(object));
        // The cell shows the object scaled to its cell radius around the cell's centre.
        const float scale = (cellSize * 0.45f) / object.radius;
        const float cx = (i % columns + 0.5f) * cellSize, cy = (i / columns + 0.5f) * cellSize;
        const CBox uv{(cx + (box.left - object.x) * scale) / sheetSize, (cy + (box.top - object.y) * scale) / sheetSize,
                      (cx + (box.right - object.x) * scale) / sheetSize,
                      (cy + (box.bottom - object.y) * scale) / sheetSize};
        Add3dxQuad(model, {box.left, box.top, box.right, box.bottom}, {uv.left, uv.top, uv.right, uv.bottom}, objectSheet);
    }
    const uint32_t cell = static_cast<uint32_t>(objects.size());
    const float u = (cell % columns) * cellSize / sheetSize, v = (cell / columns) * cellSize / sheetSize;
    Add3dxQuad(model, {kRoomArrow.left, kRoomArrow.top, kRoomArrow.right, kRoomArrow.bottom},
               {u, v, u + cellSize / sheetSize, v + cellSize / sheetSize}, objectSheet);
    return model;
}

C3dxModel RoomCollisionModel(float width, float height)
{
    C3dxModel model;
    Add3dxQuad(model, {0, 0, width, height}, {0, 0, 1, 1}, "");
    for (const CPlacedObject& object : RoomObjects()) {
        const std::vector<float> outline = Outline(object);
        C3dxPart part;
        const uint32_t first = static_cast<uint32_t>(model.vertices.size());
        part.record = {static_cast<uint32_t>(model.parts.size()), first, kOutlinePoints + 1,
                       static_cast<uint32_t>(model.indices.size()), 3 * kOutlinePoints, kOutlinePoints, 1, 0};
        model.vertices.push_back(Vertex(object.x, object.y, 0.5f, 0.5f));
        for (uint32_t i = 0; i < kOutlinePoints; ++i) {
            model.vertices.push_back(Vertex(outline[2 * i], outline[2 * i + 1], 0, 0));
            model.indices.insert(model.indices.end(), {0, i + 1, (i + 1) % kOutlinePoints + 1});
        }
        model.parts.push_back(part);
    }
    Add3dxQuad(model, {kRoomArrow.left, kRoomArrow.top, kRoomArrow.right, kRoomArrow.bottom}, {0, 0, 1, 1}, "");
    return model;
}
