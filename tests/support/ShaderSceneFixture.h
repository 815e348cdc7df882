#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "engine3d/Shader.h"
#include "engine3d/Texture.h"

struct ShaderValueCall {
    uint32_t first, count, flags;
    const void* value;
};

// A shader target that records every value it is given.
class RecordingTarget : public C3DShaderTarget {
public:
    Result SetShaderValue(uint32_t first, uint32_t count, uint32_t flags, const void* value) override
    {
        calls.push_back(ShaderValueCall{first, count, flags, value});
        return RES_OK;
    }

    std::vector<ShaderValueCall> calls;
};

// One shader of the renderer, TShader, on a loaded renderer fixture; tear-down destroys it and
// expects nothing left in the engine's lists. The renderer's test draws the white square.
template <typename TFixture, typename TShader>
class ShaderSceneFixture : public TFixture {
protected:
    void SetUp() override
    {
        TFixture::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        shader = static_cast<TShader*>(this->Engine()->CreateShader(0, 0));
        ASSERT_NE(shader, nullptr);
    }

    void TearDown() override
    {
        if (this->m_rig) {
            EXPECT_EQ(this->Engine()->DestroyShader(shader), RES_OK);
            EXPECT_EQ(this->m_rig->Unload(), 0u);
        }
        TFixture::TearDown();
    }

    // A white square over the screen in the fixed pipeline's own colours.
    virtual void DrawSquare() = 0;

    // A white square over the screen on black, drawn with the shader bound to the textures.
    void DrawBound(C3DTexture* t0 = nullptr, C3DTexture* t1 = nullptr, C3DTexture* t2 = nullptr)
    {
        this->Data()->clearColor = 0xFF000000;
        ASSERT_EQ(this->Engine()->BeginFrame(), RES_OK);
        shader->Bind(t0, t1, t2);
        DrawSquare();
        shader->Unbind();
    }

    // Apply hands the value to the target as one value at 0 and does nothing without a target.
    void ExpectApplyPassesTheValue()
    {
        RecordingTarget target;
        int value = 5;
        shader->Apply(&target, &value);
        ASSERT_EQ(target.calls.size(), 1u);
        EXPECT_EQ(target.calls[0].first, 0u);
        EXPECT_EQ(target.calls[0].count, 1u);
        EXPECT_EQ(target.calls[0].flags, 0u);
        EXPECT_EQ(target.calls[0].value, &value);
        shader->Apply(nullptr, &value);
    }

    TShader* shader = nullptr;
};
