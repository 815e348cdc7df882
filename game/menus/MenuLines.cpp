#include "game/menus/MenuLines.h"

namespace {

// Consecutive line ids sharing their columns; the ids 0 to 106 follow each other without a gap.
struct CTemplateRun {
    uint8_t first, last;
    uint8_t kind, state, picture, variant, paired;
};

constexpr CTemplateRun kTemplateRuns[] = {
    {0, 1, kLineButton, 0, 0, 0, 0},       {2, 2, kLineButton, 0, kPictureCurrentProfile, 0, 0},
    {3, 9, kLineButton, 0, 0, 0, 0},       {10, 11, kLineMode, 0, 0, 0, 0},
    {12, 13, kLineMode, 0, kPictureStory, 0, 0}, {14, 15, kLineMode, 0, kPictureTimed, 0, 0},
    {16, 19, kLineButton, 0, 0, 0, 0},     {20, 20, kLineText, 0, 0, 0, 0},
    {21, 22, kLineButton, 0, 0, 0, 0},     {23, 30, kLineText, 0, 0, 0, 0},
    {31, 33, kLineButton, 0, 0, 0, 0},     {34, 34, kLineText, 0, 0, 0, 0},
    {35, 35, kLineButton, 0, 0, 0, 0},     {36, 37, kLineText, 0, 0, 0, 0},
    {38, 38, kLineButton, 0, 0, 0, 0},     {39, 41, kLineText, 0, 0, 0, 0},
    {42, 46, kLineButton, 0, 0, 0, 0},     {47, 47, kLineButton, kLineOtherChoice, kPictureProfile1, 1, 0},
    {48, 48, kLineButton, kLineOtherChoice, kPictureProfile1 + 1, 1, 0},
    {49, 49, kLineButton, kLineOtherChoice, kPictureProfile1 + 2, 1, 0},
    {50, 51, kLineButton, 0, 0, 0, 0},     {52, 52, kLineText, 0, 0, 0, 0},
    {53, 53, kLineText, 0, kPictureCurrentProfile, 0, 0}, {54, 54, kLineText, 0, kPictureStory, 0, 0},
    {55, 55, kLineText, 0, kPictureTimed, 0, 0}, {56, 56, kLineText, 0, kPictureStory, 0, 0},
    {57, 57, kLineText, 0, kPictureTimed, 0, 0}, {58, 63, kLineText, 0, 0, 0, 0},
    {64, 67, kLineButton, 0, 0, 0, 0},     {68, 79, kLineButton, 0, 0, 0, 1},
    {80, 80, kLineButton, 0, 0, 0, 0},     {81, 83, kLineCredits, 0, 0, 0, 0},
    {84, 106, kLineButton, 0, 0, 0, 0},
};

} // namespace

CMenuLine MenuLineTemplate(uint32_t id)
{
    for (const CTemplateRun& run : kTemplateRuns) {
        if (id >= run.first && id <= run.last)
            return {id, kLineOwnId, run.kind, run.state, run.picture, run.variant, 0, kSideNone, run.paired};
    }
    return {id, kLineOwnId, kLineText, 0, 0, 0, 0, kSideNone, 0};
}
