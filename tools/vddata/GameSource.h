#pragma once
#include <any>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/RawFileWriter.h"
#include "tools/vddata/YamlFields.h"

// The game's construction as the source tree describes it: "construction.yaml" and the level
// and tooltip files it names, read into the raw files' models. Paths are relative to the
// source folder; an empty mesh path means no mesh. A description may give its meshes as quads
// instead: their ".3dx" bytes are made while reading.

struct CMeshSource {
    std::string path;
    std::string bytes;  // made from quads; packed instead of the file

    bool Empty() const { return path.empty() && bytes.empty(); }
};

struct CLevelSource {
    CMeshSource display;
    CMeshSource collision;
    uint32_t type = 0;
    CLevelModel model;
    // The level type's own model, as its entry in the level type sources reads and writes it;
    // empty when the level gives none.
    std::any part;
};

struct CTooltipSource {
    CMeshSource display;
    CMeshSource collision;
    CTooltipModel model;
};

struct CMenuSource {
    CMeshSource display;
    CLayeredMenuModel model;
};

constexpr uint32_t kLayeredMenuCount = 2;  // intro, outro
constexpr uint32_t kPrefetchSwitches = 5;

struct CGameSource {
    std::string app;
    CConstructModel construct;  // the level types and the tooltip count follow the lists
    std::array<uint32_t, kTutorialEntries> tutorialTable{};
    std::string charsetFont;
    std::vector<std::string> sounds;  // file names below the data folder, in bank order
    CMenuDialogModel dialog;
    std::array<CMenuSource, kLayeredMenuCount> menus;
    uint32_t starsClickSound = kNoSound;
    uint32_t hintSound = kNoSound;
    uint16_t hintStartCount = 0;  // as the game reads it from "<app>.External.Desktop.ini"
    std::vector<CLevelSource> levels;
    std::vector<CTooltipSource> tooltips;
    std::string labelsDisplay;
    CLabelsModel labels;
    std::string timerDisplay;
    CTimerModel timer;
    bool hasPrefetch = false;
    std::array<uint8_t, kPrefetchSwitches> prefetch{};
    std::vector<std::string> sourceFiles;  // the YAML files read, never packed
};

constexpr char kConstructionSource[] = "construction.yaml";
constexpr char kDiskFolder[] = "disk";

// Reads "construction.yaml" of folder and the files it names; every mesh and sound must exist.
bool ReadGameSource(const std::string& folder, CGameSource* source, CSourceErrors& errors);

// The blank profile of the construction: its counts, its totals as the game adds them up (the
// parts of the layered menus, levels, tooltips, labels and timer; the records of the levels).
CBlankProfileModel BlankProfileOf(const CGameSource& source);
