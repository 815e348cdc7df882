#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A profile file cut into its sections by the file layout alone (the game's readers are not
// used): the frame's header, the progress record and the world's fields, then the hint, the
// toolbar, the timer, each tooltip and each level, and while a level is current its scene
// section and each tooltip's.

enum class SavedLevelKind { HiddenObject, Jigsaw, Shoot, Sliding };

// What the layout leaves to the construction: the kind of each level and, for the scene section,
// the cells (or SHOOT slots) of the current level's board.
struct CProfileShape {
    std::vector<SavedLevelKind> levels;
    uint32_t boardCells = 0;
};

struct SavedSection {
    std::string name;   // "header", "record", "world", "hint", "toolbar", "timer", "tooltip 0",
                        // "level 2", "scene", "scene stars", "scene board", "scene tooltip 0"
    std::string bytes;
};

// The sections in file order; empty when the bytes do not split whole by the layout (what
// could not be split is in error).
std::vector<SavedSection> SplitProfile(const std::string& file, const CProfileShape& shape, std::string* error);

// The current level a profile file names (the world's first field), or -1 for none or a file
// too short to name one.
int64_t SavedCurrentLevel(const std::string& file);

// Where the hint's charge (f32) stands in a profile file; 0 for a file too short to hold it.
size_t SavedHintChargeOffset(const std::string& file);
