#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

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
