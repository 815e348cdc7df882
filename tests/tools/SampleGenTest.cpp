#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "tools/samplegen/Canvas.h"
#include "tools/samplegen/SamplePictures.h"
#include "tools/samplegen/SampleSounds.h"
#include "tools/samplegen/Silhouettes.h"

TEST(SampleGen, TheRoomsObjectsAreDistinctApartAndTheirPartsFollowTheirOutlines)
{
    const std::vector<CPlacedObject> objects = RoomObjects();
    ASSERT_EQ(objects.size(), 12u);
    std::set<std::string> names;
    std::set<uint32_t> colours;
    for (const CPlacedObject& o : objects) {
        names.insert(o.shape->name);
        colours.insert(o.shape->colour.r << 16 | o.shape->colour.g << 8 | o.shape->colour.b);
    }
    EXPECT_EQ(names.size(), 12u);
    EXPECT_EQ(colours.size(), 12u);

    const C3dxModel display = RoomDisplayModel("room.png", "sheet.png", 1024, 768, 512, 128);
    const C3dxModel collision = RoomCollisionModel(1024, 768);
    ASSERT_EQ(display.parts.size(), 14u);  // the room, the objects, the arrow
    ASSERT_EQ(collision.parts.size(), 14u);
    for (size_t i = 0; i < objects.size(); ++i) {
        const CBox box = BoundingBox(Outline(objects[i]));
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= 1024 && box.bottom <= 768) << i;
        for (size_t j = 0; j < i; ++j) {
            const CBox other = BoundingBox(Outline(objects[j]));
            EXPECT_TRUE(box.right < other.left || other.right < box.left || box.bottom < other.top ||
                        other.bottom < box.top) << i << " overlaps " << j;
        }
        // The display quad is the outline's box; the fan's triangles all start at the centre.
        const C3dxVertex& topLeft = display.vertices[display.parts[i + 1].record[1]];
        EXPECT_FLOAT_EQ(topLeft.position[0], box.left);
        EXPECT_FLOAT_EQ(topLeft.position[1], box.top);
        EXPECT_GE(topLeft.uv[0], (i % 4) / 4.0f);
        EXPECT_LE(topLeft.uv[0], (i % 4 + 1) / 4.0f);
        EXPECT_EQ(collision.parts[i + 1].record[5], kOutlinePoints);
        EXPECT_FLOAT_EQ(collision.vertices[collision.parts[i + 1].record[1]].position[0], objects[i].x);
    }
}

TEST(SampleGen, ObjectsDrawOpaqueInsideTheirOutlineAndLeaveTheRestClear)
{
    CCanvas canvas(128, 128);
    const CPlacedObject ball{&RoomSilhouettes()[0], 64, 64, 40};
    DrawObject(canvas, ball);
    EXPECT_EQ(canvas.At(64, 64).a, 255);
    EXPECT_EQ(canvas.At(64, 64).r > canvas.At(64, 64).g, true);
    EXPECT_EQ(canvas.At(64, 110).a, 0);
    EXPECT_GT(canvas.At(64, 24).a, 0);  // the edge is blended
}

TEST(SampleGen, EveryPictureHasItsOwnPathAndEverySoundIsA16BitWavThatLoopsCleanly)
{
    std::set<std::string> paths;
    for (const CSamplePicture& picture : SamplePictures())
        EXPECT_TRUE(paths.insert(picture.path).second) << picture.path;

    const std::vector<CSampleSound> sounds = SynthesiseSounds();
    ASSERT_EQ(sounds.size(), 11u);
    for (const CSampleSound& sound : sounds) {
        ASSERT_FALSE(sound.samples.empty()) << sound.name;
        EXPECT_LT(std::fabs(sound.samples.back()), 0.02f) << sound.name;
        float peak = 0.0f;
        for (float s : sound.samples)
            peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.05f) << sound.name;
        EXPECT_LE(peak, 1.0f) << sound.name;
    }
    const std::string wav = WavFileBytes({-2.0f, 0.5f});
    ASSERT_EQ(wav.size(), 48u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(static_cast<uint8_t>(wav[44]) | static_cast<uint8_t>(wav[45]) << 8, 0x8001);  // clipped to -1
}

namespace {

CCanvas Drawn(const std::string& path)
{
    for (const CSamplePicture& picture : SamplePictures()) {
        if (picture.path == path) {
            CCanvas canvas(picture.width, picture.height);
            picture.draw(canvas);
            return canvas;
        }
    }
    ADD_FAILURE() << "no picture " << path;
    return CCanvas(1, 1);
}

// Pixels that differ by more than a few levels between two square cells of a sheet.
size_t Differences(const CCanvas& sheet, uint32_t side, uint32_t a, uint32_t b)
{
    const uint32_t columns = sheet.Width() / side;
    size_t count = 0;
    for (uint32_t y = 0; y < side; ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            const CRgba p = sheet.At((a % columns) * side + x, (a / columns) * side + y);
            const CRgba q = sheet.At((b % columns) * side + x, (b / columns) * side + y);
            count += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 24;
        }
    }
    return count;
}

} // namespace

TEST(SampleGen, ScreenPicturesAndPuzzlePicturesAreOpaque)
{
    for (const char* path : {"levels/backdrop.png", "dlg_body.png", "logos/editor.png", "logos/developer.png",
                             "levels/jigsaw.png", "levels/jigsaw_table.png", "levels/shoot.png", "menus/intro.0.png",
                             "menus/outro.0.png"}) {
        const CCanvas canvas = Drawn(path);
        size_t clear = 0;
        for (uint32_t y = 0; y < canvas.Height(); ++y) {
            for (uint32_t x = 0; x < canvas.Width(); ++x)
                clear += canvas.At(x, y).a != 255;
        }
        EXPECT_EQ(clear, 0u) << path;
    }
}

TEST(SampleGen, EveryToolAndNavigationButtonLooksItsOwn)
{
    // The jigsaw's nine tools; the close, next and previous buttons against each other and
    // against a cell no button uses.
    const CCanvas tools = Drawn("levels/jigsaw_tools.png");
    for (uint32_t a = 0; a < 9; ++a) {
        for (uint32_t b = 0; b < a; ++b)
            EXPECT_GT(Differences(tools, 128, a, b), 400u) << a << " and " << b;
    }
    const CCanvas nav = Drawn("buttons.2.png");
    for (uint32_t a : {24u, 25u, 26u, 28u}) {
        for (uint32_t b : {24u, 25u, 26u, 28u, 27u}) {
            if (a != b) {
                EXPECT_GT(Differences(nav, 64, a, b), 300u) << a << " and " << b;
            }
        }
    }
}

TEST(SampleGen, TheDialogBackgroundVeilsTheSceneAndMarksThePenaltyWithAnHourglass)
{
    // Drawn black behind pop-ups only its alpha shows; in the click-abuse tint its colours do.
    const CCanvas background = Drawn("dlg_background.png");
    const CRgba veil = background.At(512, 40), box = background.At(200, 384), mark = background.At(512, 300);
    EXPECT_GT(veil.a, 100);
    EXPECT_LT(veil.a, box.a);
    EXPECT_LT(box.a, 255) << "the scene shows through";
    // The box holds what lies between the navigation margins: the more-games grid's corners, the
    // credits logos at the left edge; the navigation row stays veiled.
    for (const auto& [x, y] : {std::pair{30, 80}, {994, 688}, {20, 634}, {512, 690}})
        EXPECT_EQ(background.At(x, y).a, box.a) << x << ", " << y;
    EXPECT_EQ(background.At(512, 730).a, veil.a);
    EXPECT_EQ(veil.r + veil.g + veil.b, 3 * 255) << "a white ground tints to the penalty's colour";
    EXPECT_LT(mark.r + mark.g + mark.b, 3 * 100) << "the hourglass";
}
