#include "base/Result.h"
#include "engine3d/ObjectFile.h"
#include "tests/support/ObjectFileFixtures.h"
#include "tests/support/TempDir.h"
#include "tools/ObjectFileWriter.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

class ObjectFileWriteTest : public ObjectFileTest {
protected:
    // The sample model read from its version 16 bytes.
    void LoadSample(C3DObjectFile& file, const C3dxModel& model = SampleModel())
    {
        ASSERT_EQ(LoadBytes(file, Make3dxBytes(model, 16, k3dxAllContent)), RES_OK);
    }

    size_t FilesIn(const std::string& folder) const
    {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
            ++count;
        return count;
    }

    TempDir m_dir;
};

} // namespace

TEST_F(ObjectFileWriteTest, InitGivesZeroedArraysDefaultMaterialsAndIdentity)
{
    C3DObjectFile file(m_data.get());
    EXPECT_EQ(file.GetData(), nullptr);
    ASSERT_EQ(file.Init(2, 3, 4), RES_OK);
    const C3DObjectFileData& block = *file.GetData();
    EXPECT_EQ(block.PartCount(), 2u);
    EXPECT_EQ(block.VertexCount(), 3u);
    EXPECT_EQ(block.IndexCount(), 4u);
    EXPECT_EQ(block.matrix.m[0], 1.0f);
    EXPECT_EQ(block.matrix.m[5], 1.0f);
    EXPECT_EQ(block.matrix.m[1], 0.0f);
    EXPECT_EQ(block.matrix.m[15], 1.0f);
    EXPECT_EQ(block.materials[1].power, 20.0f);
    EXPECT_EQ(block.materials[1].diffuse[3], 0.0f);
    EXPECT_EQ(block.materials[1].ambient[3], 1.0f);
    EXPECT_EQ(block.colors2.size(), 3u);
    EXPECT_EQ(block.colors2[2], 0u);
    EXPECT_EQ(block.partNames[1].text[0], '\0');
    EXPECT_EQ(file.Free(), RES_OK);
    EXPECT_EQ(file.GetData(), nullptr);
}

TEST_F(ObjectFileWriteTest, Version16SavedAndReadBackIdentical)
{
    for (uint32_t kind : {0u, 1u, 2u}) {
        C3dxModel model = SampleModel();
        model.indexKind = kind;
        C3DObjectFile file(m_data.get());
        LoadSample(file, model);
        std::string path = m_dir.File("saved.3dx");
        ASSERT_EQ(file.SaveToFile(m_dir.WideFile("saved.3dx").c_str(), k3dxAllContent), RES_OK);

        // The same bytes as the independent writer makes.
        EXPECT_EQ(TempDir::Read(path), Make3dxBytes(model, 16, k3dxAllContent)) << "kind " << kind;
        C3DObjectFile again(m_data.get());
        ASSERT_EQ(again.LoadFromFile(m_dir.WideFile("saved.3dx").c_str()), RES_OK);
        ExpectSameBlocks(*again.GetData(), *file.GetData());
    }
}

TEST_F(ObjectFileWriteTest, ContentFlagsChooseWhatIsStored)
{
    C3DObjectFile file(m_data.get());
    LoadSample(file);
    const uint32_t flags = k3dxPositions | k3dxTextureNames;
    ASSERT_EQ(file.SaveToFile(m_dir.WideFile("part.3dx").c_str(), flags), RES_OK);
    C3DObjectFile again(m_data.get());
    ASSERT_EQ(again.LoadFromFile(m_dir.WideFile("part.3dx").c_str()), RES_OK);
    ExpectBlockHolds(*again.GetData(), SampleModel(), flags);
    EXPECT_EQ(again.GetData()->materials[0].power, 20.0f);
}

TEST_F(ObjectFileWriteTest, SixteenBitKindWithLargeIndicesIsStoredWide)
{
    C3DObjectFile file(m_data.get());
    ASSERT_EQ(file.Init(1, 70000, 3), RES_OK);
    C3DObjectFileData& block = *file.GetData();
    block.indexKind = k3dxIndexKind16;
    block.indices = {0, 65536, 69999};
    block.parts[0] = {0, 0, 70000, 0, 3, 1, 1, 0};
    ASSERT_EQ(file.SaveToFile(m_dir.WideFile("big.3dx").c_str(), k3dxPositions), RES_OK);

    C3DObjectFile again(m_data.get());
    ASSERT_EQ(again.LoadFromFile(m_dir.WideFile("big.3dx").c_str()), RES_OK);
    EXPECT_EQ(again.GetData()->indices, block.indices);
    EXPECT_EQ(again.GetData()->indexKind, 2u);
}

TEST_F(ObjectFileWriteTest, SavingNeverDestroysTheExistingFile)
{
    std::string old = "keep me";
    std::string threeDs = m_dir.Write("scene.3ds", old);
    std::string threeDx = m_dir.Write("scene.3dx", old);
    C3DObjectFile file(m_data.get());
    EXPECT_EQ(file.SaveToFile(m_dir.WideFile("scene.3dx").c_str(), k3dxAllContent), RES_FAIL);  // nothing loaded
    LoadSample(file);

    EXPECT_EQ(file.SaveToFile(m_dir.WideFile("scene.3ds").c_str(), k3dxAllContent), RES_FAIL);
    EXPECT_EQ(TempDir::Read(threeDs), old);
    EXPECT_NE(LogText().find(u"# C3DObjectFile::SaveToFile failed!"), std::u16string::npos);
    EXPECT_EQ(file.SaveToFile(m_dir.WideFile("scene.txt").c_str(), k3dxAllContent), RES_FAIL);

    // A target that cannot be replaced: the temporary file goes, the folder stays as it was.
    std::filesystem::create_directory(m_dir.File("folder.3dx"));
    m_dir.Write("folder.3dx/inside", old);
    size_t before = FilesIn(m_dir.Path());
    EXPECT_EQ(file.SaveToFile(m_dir.WideFile("folder.3dx").c_str(), k3dxAllContent), RES_FAIL);
    EXPECT_EQ(FilesIn(m_dir.Path()), before);
    EXPECT_EQ(file.SaveToFile(m_dir.WideFile("missing/scene.3dx").c_str(), k3dxAllContent), RES_FAIL);

    // A good save replaces the old file and leaves nothing else behind.
    ASSERT_EQ(file.SaveToFile(m_dir.WideFile("scene.3dx").c_str(), k3dxAllContent), RES_OK);
    EXPECT_EQ(TempDir::Read(threeDx), Make3dxBytes(SampleModel(), 16, k3dxAllContent));
    EXPECT_EQ(FilesIn(m_dir.Path()), before);
}

TEST_F(ObjectFileWriteTest, PartsBuiltByHandFollowEachOther)
{
    C3DObjectFile file(m_data.get());
    ASSERT_EQ(file.GrowParts(2, 1, 2, "pieces"), RES_OK);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(file.AddVertex(1, float(i), 0, 0, 0xFFFFFFFF, 0, 0, 0, 1, 0, 0xFF000000), RES_OK);
    // A vertex for the first part goes before the second part's, which moves up.
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(file.AddVertex(0, 10.0f + float(i), 0, 0, 0xFFFFFFFF, 0, 0, 0, 1, 0, 0xFF000000), RES_OK);
    ASSERT_EQ(file.SetPartTexture(1, "tile.png", 1, 0x52), RES_OK);
    ASSERT_EQ(file.UpdatePrimitiveCounts(), RES_OK);

    const C3DObjectFileData& block = *file.GetData();
    EXPECT_STREQ(block.partNames[1].text, "pieces");
    EXPECT_STREQ(block.textureNames[1].text, "tile.png");
    EXPECT_EQ(block.parts[0].firstVertex, 0u);
    EXPECT_EQ(block.parts[1].firstVertex, 3u);
    EXPECT_EQ(block.parts[1].firstIndex, 3u);
    EXPECT_EQ(block.parts[1].primitiveCount, 1u);
    EXPECT_EQ(block.parts[1].id, 1u);
    EXPECT_EQ(block.positions[0].x, 10.0f);
    EXPECT_EQ(block.positions[3].x, 0.0f);
    EXPECT_EQ(block.indices, std::vector<uint32_t>({0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(file.AddVertex(2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), RES_FAIL);
    EXPECT_EQ(file.SetPartTexture(2, "x", 0, 0), RES_FAIL);

    // The result is a sound object: it saves and reads back.
    ASSERT_EQ(file.SaveToFile(m_dir.WideFile("built.3dx").c_str(), k3dxAllContent), RES_OK);
    C3DObjectFile again(m_data.get());
    ASSERT_EQ(again.LoadFromFile(m_dir.WideFile("built.3dx").c_str()), RES_OK);
    ExpectSameBlocks(*again.GetData(), block);
}

TEST_F(ObjectFileWriteTest, AddPartCopiesVerticesAndTextureEvenFromItself)
{
    C3DObjectFile source(m_data.get());
    LoadSample(source);
    C3DObjectFile file(m_data.get());
    ASSERT_EQ(file.AddPart(1, &source), RES_OK);
    ASSERT_EQ(file.AddPart(0, &file), RES_OK);
    EXPECT_EQ(file.AddPart(2, &source), RES_FAIL);
    EXPECT_EQ(file.AddPart(0, nullptr), RES_FAIL);
    ASSERT_EQ(file.UpdatePrimitiveCounts(), RES_OK);

    const C3DObjectFileData& block = *file.GetData();
    ASSERT_EQ(block.PartCount(), 2u);
    ASSERT_EQ(block.VertexCount(), 6u);
    EXPECT_STREQ(block.textureNames[0].text, "floor.tga");
    EXPECT_STREQ(block.textureNames[1].text, "floor.tga");
    EXPECT_EQ(block.textureFlags[1], kObjectTextureFlags);
    EXPECT_EQ(block.textureParams[1], kObjectTextureParams);
    EXPECT_EQ(block.parts[0].primitiveType, 0u);
    EXPECT_EQ(block.parts[0].cullCode, 1u);
    EXPECT_EQ(block.parts[0].primitiveCount, 1u);  // a strip of three
    for (uint32_t v = 0; v < 3; ++v) {
        EXPECT_EQ(memcmp(&block.positions[v], &source.GetData()->positions[4 + v], sizeof(Vector3)), 0);
        EXPECT_EQ(memcmp(&block.positions[3 + v], &source.GetData()->positions[4 + v], sizeof(Vector3)), 0);
        EXPECT_EQ(block.colors2[3 + v], source.GetData()->colors2[4 + v]);
    }
}
