#include "base/Result.h"
#include "base/WideString.h"
#include "engine3d/ObjectFile.h"
#include "tests/support/ObjectFile3dsFixtures.h"
#include "tests/support/ObjectFileFixtures.h"
#include "tests/support/TempDir.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

class ObjectImport3dsTest : public ObjectFileTest {
protected:
    void SetUp() override
    {
        ObjectFileTest::SetUp();
        m_path = m_dir.File("scene.3ds");
        ASSERT_TRUE(Write3dsFixture(m_path));
        // Some damaged files keep lib3ds busy without end; they are given up sooner here.
        m_file.SetImportTimeout(2000);
    }
    Result Import(const std::string& path)
    {
        ClearLog();
        return m_file.LoadFromFile(Utf8ToUtf16(path).c_str());
    }
    bool Logged() const { return LogText().find(u"# C3DObjectFile::Import3DS failed!") != std::u16string::npos; }

    TempDir m_dir;
    std::string m_path;
    C3DObjectFile m_file{m_data.get()};
};

} // namespace

TEST_F(ObjectImport3dsTest, OnePartPerMaterialFromTheObjectNodes)
{
    ASSERT_EQ(Import(m_path), RES_OK);
    const C3DObjectFileData& block = *m_file.GetData();
    ASSERT_EQ(block.PartCount(), 2u);  // lib3ds keeps its materials sorted: blue, red

    // Blue: the box's face (2, 3, 0).
    const C3DPrimitiveGroup& blue = block.parts[0];
    EXPECT_EQ(blue.firstVertex, 0u);
    EXPECT_EQ(blue.vertexCount, 3u);
    EXPECT_EQ(blue.indexCount, 3u);
    EXPECT_EQ(blue.primitiveCount, 1u);
    EXPECT_EQ(blue.primitiveType, 1u);
    EXPECT_EQ(blue.cullCode, 0u);
    EXPECT_STREQ(block.textureNames[0].text, "");
    EXPECT_EQ(block.textureFlags[0], 0u);

    // Red: the box's face (0, 1, 2), then the face (2, 1, 0) of the child node's own mesh.
    const C3DPrimitiveGroup& red = block.parts[1];
    EXPECT_EQ(red.id, 1u);
    EXPECT_EQ(red.firstVertex, 3u);
    EXPECT_EQ(red.vertexCount, 6u);
    EXPECT_EQ(red.firstIndex, 3u);
    EXPECT_EQ(red.indexCount, 6u);
    EXPECT_STREQ(block.textureNames[1].text, "brick.png");
    EXPECT_EQ(block.textureFlags[1], kObjectTextureFlags);
    EXPECT_EQ(block.textureParams[1], kObjectTextureParams);
    EXPECT_EQ(block.indices, std::vector<uint32_t>({0, 1, 2, 0, 1, 2, 3, 4, 5}));

    // Box point 2 lies at (4, 8, 12): x is mirrored; blue has no texture scale.
    EXPECT_EQ(block.positions[0].x, -4.0f);
    EXPECT_EQ(block.positions[0].y, 8.0f);
    EXPECT_EQ(block.positions[0].z, 12.0f);
    EXPECT_EQ(block.uvs[0].x, 0.5f);
    EXPECT_EQ(block.uvs[0].y, 1.0f - 0.25f);
    // Box point 1 at (3, 6, 9) in red: uv (0.25, 0.125) scaled by 2 and 3.
    EXPECT_EQ(block.positions[4].x, -3.0f);
    EXPECT_EQ(block.uvs[4].x, 0.5f);
    EXPECT_EQ(block.uvs[4].y, (1.0f - 0.125f) * 3.0f);
    // Child point 2, without texture coordinates.
    EXPECT_EQ(block.positions[6].x, -4.0f);
    EXPECT_EQ(block.uvs[6].x, 0.0f);
    EXPECT_EQ(block.uvs[6].y, 0.0f);

    EXPECT_EQ(block.colors[3], 0xFFFF8040u);  // lib3ds keeps the diffuse colour as bytes
    EXPECT_EQ(block.colors2[3] & 0x00FFFFFFu, 0x336699u);
    EXPECT_EQ(block.colors[0] & 0x00FFFFFFu, 0x0000FFu);
    EXPECT_EQ(block.normals[3].y, 0.0f);
    EXPECT_EQ(block.materials[1].power, 20.0f);
}

TEST_F(ObjectImport3dsTest, UnreadableFilesFailWithALogLine)
{
    EXPECT_EQ(Import(m_dir.File("absent.3ds")), RES_FAIL);
    EXPECT_TRUE(Logged());
    EXPECT_EQ(Import(m_dir.Write("text.3ds", "not a 3ds file at all")), RES_FAIL);
    EXPECT_TRUE(Logged());
    EXPECT_EQ(Import(m_dir.Write("empty.3ds", "")), RES_FAIL);
}

TEST_F(ObjectImport3dsTest, TruncatedAndDamagedFilesNeverCrash)
{
    std::string bytes = TempDir::Read(m_path);
    ASSERT_FALSE(bytes.empty());
    for (size_t size = 0; size < bytes.size(); size += 11) {
        Result result = Import(m_dir.Write("cut.3ds", bytes.substr(0, size)));
        ASSERT_TRUE(result == RES_OK || (result == RES_FAIL && Logged())) << size;
    }
    std::mt19937 random(99);
    for (int round = 0; round < 200; ++round) {
        std::string damaged = bytes;
        damaged[random() % damaged.size()] = static_cast<char>(random());
        Result result = Import(m_dir.Write("damaged.3ds", damaged));
        ASSERT_TRUE(result == RES_OK || (result == RES_FAIL && Logged())) << round;
    }
}

TEST_F(ObjectImport3dsTest, ImportedObjectSavesAsVersion16)
{
    ASSERT_EQ(Import(m_path), RES_OK);
    ASSERT_EQ(m_file.SaveToFile(m_dir.WideFile("scene.3dx").c_str(), k3dxAllContent), RES_OK);
    C3DObjectFile again(m_data.get());
    ASSERT_EQ(again.LoadFromFile(m_dir.WideFile("scene.3dx").c_str()), RES_OK);
    ExpectSameBlocks(*again.GetData(), *m_file.GetData());
}
