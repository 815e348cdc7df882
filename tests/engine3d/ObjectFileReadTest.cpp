#include "core/PackerFile.h"
#include "base/Result.h"
#include "base/WideString.h"
#include "engine3d/ObjectFile.h"
#include "tests/support/ObjectFileFixtures.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"
#include "tools/ObjectFileWriter.h"

#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kVersions[] = {2, 4, 8, 16};
constexpr size_t kHeaderBytes = 20;
constexpr size_t kVersion2PartBytes = 624;

class ObjectFileReadTest : public ObjectFileTest {
protected:
    // Loads the bytes and expects a clean failure with a log line.
    void ExpectRejected(const std::string& bytes, const char* what)
    {
        C3DObjectFile file(m_data.get());
        ClearLog();
        EXPECT_EQ(LoadBytes(file, bytes), RES_FAIL) << what;
        EXPECT_NE(LogText().find(u"# C3DObjectFile::LoadFromAddress failed! \"model.3dx\""), std::u16string::npos)
            << what;
    }
};

C3DMaterial Version2Material(const C3dxPart& part)
{
    C3DMaterial material = DefaultMaterial();
    memcpy(material.diffuse, &part.material[0], 3 * sizeof(float));
    memcpy(material.ambient, &part.material[4], 3 * sizeof(float));
    memcpy(material.specular, &part.material[8], 3 * sizeof(float));
    return material;
}

} // namespace

TEST_F(ObjectFileReadTest, EveryVersionReadsBackWhatTheWriterStored)
{
    C3dxModel model = SampleModel();
    for (uint32_t version : {4u, 8u, 16u}) {
        for (uint32_t flags : {k3dxAllContent, k3dxPositions | k3dxUVs | k3dxTextureNames, 0u}) {
            C3DObjectFile file(m_data.get());
            ASSERT_EQ(LoadBytes(file, Make3dxBytes(model, version, flags)), RES_OK) << version << " " << flags;
            ExpectBlockHolds(*file.GetData(), model, flags);
            EXPECT_EQ(file.GetData()->indexKind, version == 16 ? 2u : 0u);
        }
    }
}

TEST_F(ObjectFileReadTest, Version2BuildsRecordsKeepsIndicesRelativeAndStepsOver76ByteVertices)
{
    // Version 2 stores no ids or primitive counts; the reader numbers the parts and counts
    // triangles, which the sample's records already say.
    C3dxModel model = SampleModel();
    std::string bytes = Make3dxBytes(model, 2, k3dxVertexContent);
    ASSERT_EQ(bytes.size(), kHeaderBytes + 2 * kVersion2PartBytes + 7 * 76 + 9 * 4);

    C3DObjectFile file(m_data.get());
    ASSERT_EQ(LoadBytes(file, bytes), RES_OK);
    C3dxModel expected = model;
    for (C3dxPart& part : expected.parts) {
        C3DMaterial material = Version2Material(part);
        memcpy(part.material.data(), &material, sizeof(material));
        part.textureFlags = kObjectTextureFlags;
        part.textureParams = kObjectTextureParams;
    }
    ExpectBlockHolds(*file.GetData(), expected, k3dxAllContent);
}

TEST_F(ObjectFileReadTest, Version2NeedsEveryVertexField)
{
    std::string bytes = Make3dxBytes(SampleModel(), 2, k3dxVertexContent & ~k3dxColors2);
    ExpectRejected(bytes, "version 2 without second colours");
}

TEST_F(ObjectFileReadTest, TextureNameFields)
{
    C3dxModel model = SampleModel();
    model.parts[0].textureName = std::string(200, 'a');
    model.parts[1].textureName = "x";

    // Versions 4 and 8 keep 128 bytes whatever is stored in them.
    C3DObjectFile file(m_data.get());
    for (uint32_t version : {4u, 8u}) {
        ASSERT_EQ(LoadBytes(file, Make3dxBytes(model, version, k3dxTextureNames)), RES_OK);
        EXPECT_EQ(std::string(file.GetData()->textureNames[0].text), std::string(128, 'a'));
        EXPECT_STREQ(file.GetData()->textureNames[1].text, "x");
        EXPECT_EQ(Make3dxBytes(model, version, k3dxTextureNames).size(), kHeaderBytes + 2 * (32 + 128) + 9 * 4);
    }

    // Version 16 takes up to 259 characters; 260 does not fit the slot.
    model.parts[0].textureName = std::string(259, 'b');
    ASSERT_EQ(LoadBytes(file, Make3dxBytes(model, 16, k3dxTextureNames)), RES_OK);
    EXPECT_EQ(std::string(file.GetData()->textureNames[0].text), std::string(259, 'b'));
    model.parts[0].textureName = std::string(260, 'b');
    ExpectRejected(Make3dxBytes(model, 16, k3dxTextureNames), "260-byte name");

    // Version 2: the same limit on its zero-ended 512-byte field.
    model.parts[0].textureName = std::string(259, 'c');
    ASSERT_EQ(LoadBytes(file, Make3dxBytes(model, 2, k3dxVertexContent)), RES_OK);
    EXPECT_EQ(std::string(file.GetData()->textureNames[0].text), std::string(259, 'c'));
    model.parts[0].textureName = std::string(300, 'c');
    ExpectRejected(Make3dxBytes(model, 2, k3dxVertexContent), "version 2 name of 300");
}

TEST_F(ObjectFileReadTest, Version16NarrowIndicesAndFilesWithoutIndices)
{
    C3dxModel model = SampleModel();
    model.indexKind = 1;
    std::string narrow = Make3dxBytes(model, 16, k3dxPositions);
    EXPECT_EQ(narrow.size(), kHeaderBytes + 2 * 32 + 7 * 12 + 4 + 9 * 2);
    C3DObjectFile file(m_data.get());
    ASSERT_EQ(LoadBytes(file, narrow), RES_OK);
    EXPECT_EQ(file.GetData()->indexKind, 1u);
    EXPECT_EQ(file.GetData()->indices, model.indices);

    // No indices: the file ends after the vertices, without an index kind.
    model.indices.clear();
    for (C3dxPart& part : model.parts)
        part.record[3] = part.record[4] = part.record[5] = 0;
    for (uint32_t version : {8u, 16u}) {
        std::string bytes = Make3dxBytes(model, version, k3dxPositions);
        EXPECT_EQ(bytes.size(), kHeaderBytes + 2 * 32 + 7 * 12);
        ASSERT_EQ(LoadBytes(file, bytes), RES_OK) << version;
        EXPECT_EQ(file.GetData()->IndexCount(), 0u);
    }
}

TEST_F(ObjectFileReadTest, UnknownVersionAndEmptyData)
{
    std::string bytes = Make3dxBytes(SampleModel(), 16, k3dxAllContent);
    ExpectRejected(WithU32(bytes, 12, 3), "version 3");
    ExpectRejected(WithU32(bytes, 12, 32), "version 32");
    C3DObjectFile file(m_data.get());
    EXPECT_EQ(file.LoadFromAddress(nullptr, 0, u"model.3dx"), RES_FAIL);
    EXPECT_EQ(file.GetData(), nullptr);
}

TEST_F(ObjectFileReadTest, EveryTruncationFailsCleanly)
{
    C3dxModel model = SampleModel();
    for (uint32_t version : kVersions) {
        uint32_t flags = version == 2 ? k3dxVertexContent : k3dxAllContent;
        std::string bytes = Make3dxBytes(model, version, flags);
        for (size_t size = 1; size < bytes.size(); ++size) {
            C3DObjectFile file(m_data.get());
            ASSERT_EQ(LoadBytes(file, bytes.substr(0, size)), RES_FAIL) << "version " << version << " size " << size;
        }
        C3DObjectFile file(m_data.get());
        EXPECT_EQ(LoadBytes(file, bytes), RES_OK);
    }
}

TEST_F(ObjectFileReadTest, CountsBeyondTheDataFailBeforeAllocating)
{
    std::string bytes = Make3dxBytes(SampleModel(), 16, k3dxAllContent);
    ExpectRejected(WithU32(bytes, 0, 0xFFFFFFFF), "part count");
    ExpectRejected(WithU32(bytes, 4, 0xFFFFFFFF), "vertex count");
    ExpectRejected(WithU32(bytes, 8, 0xFFFFFFFF), "index count");
    // Without stored vertex fields the vertex count is bounded on its own.
    std::string bare = Make3dxBytes(SampleModel(), 16, k3dxMaterials);
    ExpectRejected(WithU32(bare, 4, 0x40000000), "bare vertex count");
    ExpectRejected(WithU32(bare, 4, 0x10001), "bare vertices past what 16-bit indices name");
}

TEST_F(ObjectFileReadTest, PartsThatPointOutsideTheArraysAreRejected)
{
    C3dxModel model = SampleModel();
    const size_t record1 = kHeaderBytes + 32;  // second record, version 16 without part extras
    std::string bytes = Make3dxBytes(model, 16, k3dxPositions);

    ExpectRejected(WithU32(bytes, record1 + 4, 5), "vertex range past the end");
    ExpectRejected(WithU32(bytes, record1 + 12, 7), "index range past the end");
    ExpectRejected(WithU32(bytes, record1 + 4, 0xFFFFFFFE), "first vertex wraps");
    ExpectRejected(WithU32(bytes, record1 + 20, 2), "strip of 2 primitives over 3 indices");
    ExpectRejected(WithU32(bytes, record1 + 24, 6), "unknown primitive type");
    size_t lastIndex = bytes.size() - 4;
    ExpectRejected(WithU32(bytes, lastIndex, 3), "index past the part's vertices");

    // Version 4 places each part's data by its record: a range past the arrays is refused
    // before anything is stored.
    std::string v4 = Make3dxBytes(model, 4, k3dxPositions);
    size_t v4record1 = kHeaderBytes + 32 + 4 * 12 + 6 * 4;
    ExpectRejected(WithU32(v4, v4record1 + 4, 6), "version 4 vertex range");
    ExpectRejected(WithU32(v4, v4record1 + 12, 8), "version 4 index range");

    // Version 2 counts that overrun the header's totals.
    std::string v2 = Make3dxBytes(model, 2, k3dxVertexContent);
    ExpectRejected(WithU32(v2, kHeaderBytes + kVersion2PartBytes - 8, 8), "version 2 vertex count");
}

TEST_F(ObjectFileReadTest, RandomDamageNeverCrashes)
{
    C3dxModel model = SampleModel();
    std::mt19937 random(1234);
    for (uint32_t version : kVersions) {
        std::string bytes = Make3dxBytes(model, version, version == 2 ? k3dxVertexContent : k3dxAllContent);
        for (int round = 0; round < 1500; ++round) {
            std::string damaged = bytes;
            int changes = 1 + int(random() % 4);
            for (int c = 0; c < changes; ++c)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            C3DObjectFile file(m_data.get());
            Result result = LoadBytes(file, damaged);
            ASSERT_TRUE(result == RES_OK || result == RES_FAIL) << result;
        }
    }
}

TEST_F(ObjectFileReadTest, PakEntryIsReadNoFurtherThanItsSize)
{
    std::string good = Make3dxBytes(SampleModel(), 16, k3dxAllContent);
    std::string cut = good.substr(0, good.size() - 4);
    PakTestFile pak(PakEntryBytes("scene\\good.3dx", good) + PakEntryBytes("scene\\cut.3dx", cut) +
                    PakEntryBytes("scene\\pad.bin", "ab") +
                    PakEntryBytes("scene\\other.png", good));

    C3DObjectFile file(m_data.get());
    ASSERT_EQ(FindPackerEntry(u"scene\\good.3dx", pak.Record()), RES_OK);
    ASSERT_EQ(file.LoadFromPacker(pak.Record()), RES_OK);
    ExpectBlockHolds(*file.GetData(), SampleModel(), k3dxAllContent);

    // The next entry's size word (2) would complete the cut file with a valid last index: the
    // entry's own size must stop the read.
    ASSERT_EQ(FindPackerEntry(u"scene\\cut.3dx", pak.Record()), RES_OK);
    EXPECT_EQ(file.LoadFromPacker(pak.Record()), RES_FAIL);
    EXPECT_NE(LogText().find(u"LoadFromPacker failed! \"scene\\cut.3dx\""), std::u16string::npos);

    ASSERT_EQ(FindPackerEntry(u"scene\\other.png", pak.Record()), RES_OK);
    EXPECT_EQ(file.LoadFromPacker(pak.Record()), RES_FAIL);
    EXPECT_EQ(file.LoadFromPacker(nullptr), RES_FAIL);
}

TEST_F(ObjectFileReadTest, NamesAndExtensions)
{
    TempDir dir;
    std::string bytes = Make3dxBytes(SampleModel(), 8, k3dxAllContent);
    dir.Write("Model.3DX", bytes);
    dir.Write("model.bin", bytes);

    C3DObjectFile file(m_data.get());
    EXPECT_EQ(LoadBytes(file, bytes, u"MODEL.3DX"), RES_OK);
    EXPECT_EQ(LoadBytes(file, bytes, u"model.3dx.bak"), RES_FAIL);
    EXPECT_EQ(LoadBytes(file, bytes, nullptr), RES_FAIL);
    EXPECT_EQ(file.LoadFromFile(dir.WideFile("Model.3DX").c_str()), RES_OK);
    ExpectBlockHolds(*file.GetData(), SampleModel(), k3dxAllContent);
    EXPECT_EQ(file.LoadFromFile(dir.WideFile("model.bin").c_str()), RES_FAIL);
    EXPECT_EQ(file.LoadFromFile(dir.WideFile("missing.3dx").c_str()), RES_FAIL);
    EXPECT_NE(LogText().find(u"# C3DObjectFile::LoadFromFile failed!"), std::u16string::npos);
}
