#pragma once
#include <cstdint>
#include <string>

#include "tools/vddata/GameSource.h"
#include "tools/vddata/SourceReaders.h"

// The parts of a level description that its type adds (hidden-object records, JIGSAW, SLIDING,
// SHOOT), meshes made of quads, and the level files and fresh profile sections they give.

// Meshes given as "display" and "collision" files, or as "quads": each quad
// {rect: [left, top, right, bottom], uv: [..], texture: file, kind, phase, flags, itemId, radius}
// is a part of the display object (textured), of the collision object (when wanted) and of the
// scene block, whose point is the rectangle's centre. Quads stand instead of mesh files and
// the scene's parts.
bool ReadMeshes(const CSourceContext& c, CYamlFields& f, CMeshSource& display, CMeshSource* collision,
                CSceneBlockModel& scene);

// True for a type a level source can give; the types as text ("0x4001 to 0x4004").
bool IsLevelType(uint32_t type);
std::string LevelTypeRange();

// The type's own map ("hiddenObject", "jigsaw", "sliding" or "shoot") of a level.
bool ReadLevelType(const CSourceContext& c, CYamlFields& f, CLevelSource& level);

// The description file's body of the level, as its type writes it.
std::string LevelFileBody(const CLevelSource& level);

// What a level or tooltip saves in a profile before play: its parts' flags with alpha 0, then
// its own fields as a fresh description leaves them.
std::string FreshLevelSection(const CLevelSource& level);
std::string FreshTooltipSection(const CTooltipModel& tooltip);
