#include <gtest/gtest.h>

#include <string>

#include "core/PackerFile.h"
#include "base/WideString.h"
#include "tests/support/MemoryRenderer.h"
#include "tests/support/MemoryShaderShadow.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

namespace {

const std::string kSource("!!ARBfp1.0\0MOV result.color, fragment.color;\nEND\n", 49);

class ShaderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(engine->DestroyShader(shader), RES_OK);
        EXPECT_EQ(renderer.Unload(), 0u);
    }

    Result LoadText(const std::string& text, const char16_t* name)
    {
        return shader->LoadFromAddress(text.data(), static_cast<uint32_t>(text.size()), name);
    }

    std::u16string Name() const { return shader->GetName() ? shader->GetName() : u"(none)"; }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CMemoryShader* shader = static_cast<CMemoryShader*>(engine->CreateShader(0, 0));
};

} // namespace

TEST_F(ShaderTest, FromMemoryKeepsEveryByteAndTheFileName)
{
    ASSERT_EQ(LoadText(kSource, u"Data\\Shaders\\water.psh"), RES_OK);
    EXPECT_EQ(shader->Source(), kSource);
    EXPECT_EQ(Name(), u"water.psh");

    ASSERT_EQ(LoadText("second", nullptr), RES_OK);  // a reload without a name keeps the name
    EXPECT_EQ(shader->Source(), "second");
    EXPECT_EQ(Name(), u"water.psh");

    EXPECT_EQ(shader->LoadFromAddress(nullptr, 4, u"gone.psh"), RES_FAIL);
    EXPECT_FALSE(shader->IsCompiled());
    EXPECT_EQ(Name(), u"gone.psh");

    ASSERT_EQ(LoadText(kSource, u"water.psh"), RES_OK);
    EXPECT_EQ(shader->Release(), RES_OK);
    EXPECT_FALSE(shader->IsCompiled());
    EXPECT_EQ(shader->GetName(), nullptr);
}

TEST_F(ShaderTest, FromPakReadsTheFoundEntryWhole)
{
    CPakWriter writer;
    ASSERT_EQ(writer.Add("shaders\\blur.psh", kSource), RES_OK);
    ASSERT_EQ(writer.Add("shaders\\glow.psh", "glow"), RES_OK);
    PakTestFile pak(writer.Bytes());
    ASSERT_EQ(FindPackerEntry(u"shaders\\blur.psh", pak.Record()), RES_OK);
    ASSERT_EQ(shader->LoadFromPacker(pak.Record()), RES_OK);
    EXPECT_EQ(shader->Source(), kSource);
    EXPECT_EQ(Name(), u"shaders\\blur.psh");

    // The last entry claiming more bytes than the file holds: no shader, the name kept.
    ASSERT_EQ(FindPackerEntry(u"shaders\\glow.psh", pak.Record()), RES_OK);
    pak.Record()->foundSize += 64;
    EXPECT_EQ(shader->LoadFromPacker(pak.Record()), RES_FAIL);
    EXPECT_FALSE(shader->IsCompiled());
    EXPECT_EQ(Name(), u"shaders\\glow.psh");

    CPackerFile closed{};
    EXPECT_EQ(shader->LoadFromPacker(&closed), RES_FAIL);
    EXPECT_EQ(shader->LoadFromPacker(nullptr), RES_FAIL);
}

TEST_F(ShaderTest, FromFileNamesItByTheDataRoot)
{
    TempDir dir;
    dir.Write("Data/Shaders/Water.psh", kSource);
    const std::u16string path = dir.WideFile("Data/Shaders/Water.psh");
    const int32_t root = static_cast<int32_t>(dir.WideFile("Data/").size());
    CWorldData* data = renderer.Data();

    ASSERT_EQ(shader->LoadFromFile(path.c_str()), RES_OK);  // no prefix: the file name
    EXPECT_EQ(shader->Source(), kSource);
    EXPECT_EQ(Name(), u"Water.psh");
    data->dataRootPrefixLength = root;
    ASSERT_EQ(shader->LoadFromFile(path.c_str()), RES_OK);
    EXPECT_EQ(Name(), u"Shaders/Water.psh");
    data->dataRootPrefixLength = static_cast<int32_t>(path.size()) + 1;
    ASSERT_EQ(shader->LoadFromFile(path.c_str()), RES_OK);
    EXPECT_EQ(Name(), path);

    const std::u16string missing = dir.WideFile("Data/Shaders/None.psh");
    data->dataRootPrefixLength = root;
    EXPECT_EQ(shader->LoadFromFile(missing.c_str()), RES_MISSING_FILE);
    EXPECT_EQ(data->lastError, RES_MISSING_FILE);
    EXPECT_FALSE(shader->IsCompiled());
    EXPECT_EQ(Name(), u"Shaders/None.psh");
}

TEST_F(ShaderTest, BrokenShaderLeavesNothingToBind)
{
    C3DTexture* texture = engine->CreateTexture(0, 0);
    ASSERT_EQ(LoadText(kSource, u"ok.psh"), RES_OK);
    shader->Bind(texture, nullptr, texture);
    EXPECT_TRUE(shader->IsBound());
    EXPECT_EQ(shader->BoundTextures()[2], texture);
    shader->Unbind();
    EXPECT_FALSE(shader->IsBound());

    shader->FailCompiles(true);
    EXPECT_EQ(LoadText(kSource, u"refused.psh"), RES_FAIL);
    shader->FailCompiles(false);
    TempDir dir;
    const std::u16string empty = Utf8ToUtf16(dir.Write("empty.psh", ""));
    EXPECT_EQ(shader->LoadFromFile(empty.c_str()), RES_FAIL);
    EXPECT_EQ(Name(), u"empty.psh");
    shader->Bind(texture, texture, texture);
    EXPECT_FALSE(shader->IsBound());
    EXPECT_EQ(shader->BindCount(), 1u);
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
}
