#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/WideString.h"
#include "core/PackerFile.h"
#include "tests/support/PakTestFile.h"
#include "tests/support/ShaderSceneFixture.h"
#include "tests/support/TempDir.h"
#include "tools/PakWriter.h"

// The shader tests every renderer passes, written once. TypeParam is the renderer's
// ShaderSceneFixture, which adds:
//   ConstantShader(rgba), Suffix()       - a source drawing one colour, the file name suffix;
//   BrokenSources()                      - sources its shader language refuses;
//   Result LoadText(text, name)          - loads the text from memory, followed by bytes not to read;
//   void ExpectDeviceShader(bool held)   - whether the shader holds its device objects;
//   void ExpectNoneBound()               - no shader is bound to the device;
//   void ExpectDeviceShaders(count)      - the device holds that many shaders (OpenGL cannot count
//                                          them: there no error is left).
template <typename TRendererTest>
class ShaderSceneTest : public TRendererTest {
protected:
    static std::u16string Name(const std::string& stem) { return Utf8ToUtf16(stem + TRendererTest::Suffix()); }
};

TYPED_TEST_SUITE_P(ShaderSceneTest);

TYPED_TEST_P(ShaderSceneTest, EachSourceShowsItsShaderInThePixels)
{
    ASSERT_EQ(this->LoadText(this->ConstantShader("1.0, 0.5, 0.0, 1.0"), this->Name("Data\\Shaders\\orange").c_str()),
              RES_OK);
    this->ExpectDeviceShader(true);
    EXPECT_EQ(std::u16string(this->shader->GetName()), this->Name("orange"));
    this->DrawBound();
    this->ExpectPixel(32, 32, 0xFF8000);
    this->ExpectNoneBound();

    CPakWriter writer;
    const std::string green = "shaders\\green" + std::string(this->Suffix());
    ASSERT_EQ(writer.Add(green, this->ConstantShader("0.0, 1.0, 0.0, 1.0")), RES_OK);
    ASSERT_EQ(writer.Add("shaders\\other" + std::string(this->Suffix()), "not read"), RES_OK);
    PakTestFile pak(writer.Bytes());
    ASSERT_EQ(FindPackerEntry(Utf8ToUtf16(green).c_str(), pak.Record()), RES_OK);
    ASSERT_EQ(this->shader->LoadFromPacker(pak.Record()), RES_OK);
    EXPECT_EQ(std::u16string(this->shader->GetName()), Utf8ToUtf16(green));
    this->DrawBound();
    this->ExpectPixel(32, 32, 0x00FF00);

    TempDir dir;
    const std::string blue = "Shaders/blue" + std::string(this->Suffix());
    dir.Write(blue, this->ConstantShader("0.0, 0.0, 1.0, 1.0"));
    ASSERT_EQ(this->shader->LoadFromFile(dir.WideFile(blue).c_str()), RES_OK);
    EXPECT_EQ(std::u16string(this->shader->GetName()), this->Name("blue"));
    this->DrawBound();
    this->ExpectPixel(32, 32, 0x0000FF);

    // After Unbind the fixed pipeline draws the square's own colour.
    this->DrawSquare();
    this->ExpectPixel(32, 32, 0xFFFFFF);
    this->ExpectDeviceShaders(1);
}

TYPED_TEST_P(ShaderSceneTest, BrokenShaderFailsCleanly)
{
    for (const std::string& text : this->BrokenSources()) {
        ASSERT_EQ(this->LoadText(this->ConstantShader("1.0, 0.0, 0.0, 1.0"), this->Name("red").c_str()), RES_OK);
        EXPECT_EQ(this->LoadText(text, this->Name("broken").c_str()), RES_FAIL) << text;
        this->ExpectDeviceShader(false);
        EXPECT_EQ(std::u16string(this->shader->GetName()), this->Name("broken"));
        this->ExpectDeviceShaders(0);
        this->DrawBound();  // Bind and Unbind do nothing: the fixed pipeline draws
        this->ExpectPixel(32, 32, 0xFFFFFF);
    }
    RecordingTarget target;
    this->shader->Apply(&target, &target);
    EXPECT_TRUE(target.calls.empty());

    // A good source loads again on the same shader.
    ASSERT_EQ(this->LoadText(this->ConstantShader("1.0, 0.0, 0.0, 1.0"), nullptr), RES_OK);
    EXPECT_EQ(std::u16string(this->shader->GetName()), this->Name("broken"));
    this->DrawBound();
    this->ExpectPixel(32, 32, 0xFF0000);
}

REGISTER_TYPED_TEST_SUITE_P(ShaderSceneTest, EachSourceShowsItsShaderInThePixels, BrokenShaderFailsCleanly);
