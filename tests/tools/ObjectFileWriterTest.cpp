#include "tools/ObjectFileWriter.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

uint32_t U32At(const std::string& bytes, size_t offset)
{
    uint32_t value = 0;
    memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

// One part of two vertices and three indices.
C3dxModel Tiny()
{
    C3dxModel model;
    C3dxPart part;
    part.record = {0, 0, 2, 0, 3, 1, 1, 0};
    part.textureName = "t.png";
    model.parts.push_back(part);
    model.vertices.resize(2);
    model.vertices[1].colour = 0xAABBCCDD;
    model.indices = {0, 1, 0};
    return model;
}

} // namespace

TEST(ObjectFileWriterTest, HeaderAndBodySizesOfEachVersion)
{
    const C3dxModel model = Tiny();
    std::string v16 = Make3dxBytes(model, 16, kWrite3dxEverything);
    EXPECT_EQ(U32At(v16, 0), 1u);
    EXPECT_EQ(U32At(v16, 4), 2u);
    EXPECT_EQ(U32At(v16, 8), 3u);
    EXPECT_EQ(U32At(v16, 12), 16u);
    EXPECT_EQ(U32At(v16, 16), kWrite3dxEverything);
    // Record, name length and text, two words, material; 2 x 40-byte vertices; kind and indices.
    EXPECT_EQ(v16.size(), 20u + 32 + 4 + 5 + 8 + 68 + 2 * 40 + 4 + 3 * 4);
    EXPECT_EQ(U32At(v16, 20 + 32), 5u);

    std::string v8 = Make3dxBytes(model, 8, kWrite3dxEverything);
    EXPECT_EQ(v8.size(), 20u + 32 + 128 + 8 + 68 + 2 * 40 + 3 * 4);
    std::string v4 = Make3dxBytes(model, 4, kWrite3dxEverything);
    EXPECT_EQ(v4.size(), v8.size());
    EXPECT_EQ(std::string(v4.data() + 20, 5), "t.png");  // version 4 opens each part with its name

    std::string v2 = Make3dxBytes(model, 2, 0);
    EXPECT_EQ(v2.size(), 20u + 624 + 2 * 76 + 3 * 4);
    EXPECT_EQ(v2[20 + 512], '\xCD');
    EXPECT_EQ(U32At(v2, 20 + 624 + 76 + 48), 0xAABBCCDDu);  // second vertex's colour
}

TEST(ObjectFileWriterTest, RefusesWhatItCannotLayOut)
{
    C3dxModel model = Tiny();
    EXPECT_TRUE(Make3dxBytes(model, 3, 0).empty());
    model.parts[0].record[2] = 3;  // more vertices than the model has
    EXPECT_TRUE(Make3dxBytes(model, 4, 0).empty());
    EXPECT_TRUE(Make3dxBytes(model, 2, 0).empty());
    EXPECT_FALSE(Make3dxBytes(model, 16, 0).empty());
    EXPECT_FALSE(Write3dxFile("/nonexistent-folder/x.3dx", Tiny(), 16, 0));
}
