#pragma once
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "tools/samplegen/Canvas.h"

// A picture of the sample game: its path below the data folder and how it is drawn.
struct CSamplePicture {
    std::string path;
    uint32_t width, height;
    std::function<void(CCanvas&)> draw;
};

// Every picture the game loads, the room's object sheet and the mini-games' pictures.
std::vector<CSamplePicture> SamplePictures();

// Draws every picture into folder as PNG files, then the room's display and collision objects.
Result WritePictures(const std::string& folder, std::string* error);

// Where the room's files lie below the data folder.
constexpr char kRoomPicture[] = "levels/room.png";
constexpr char kRoomObjectSheet[] = "levels/room_objects.png";
constexpr char kRoomDisplayObject[] = "levels/room.obj.3dx";
constexpr char kRoomCollisionObject[] = "levels/room.col.3dx";
constexpr float kRoomSheetSize = 512.0f;
constexpr float kRoomCellSize = 128.0f;
// The sliding picture's board: its frame and its cells, in pixels drawn one to a screen unit.
constexpr float kSlidingFrame = 32.0f;
constexpr float kSlidingCell = 112.0f;
