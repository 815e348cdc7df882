#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/Math3D.h"
#include "base/Result.h"
#include "engine3d/Object.h"
#include "engine3d/StencilShadow.h"
#include "tests/support/OpenGLShaderShadowScene.h"

// The scene of the renderers' shadow tests: the camera looks along +z from the origin; light 0
// at (0, 0, -3) pushes every silhouette 30 units further along +z. A white receiver fills the
// view at z = 20. The caster, a triangle at z = 5 up and right of the axis, shadows the receiver
// around the pixel (40, 24); the volume's near end, seen at (55, 9), lies in front of
// unshadowed receiver.
constexpr float kReceiverZ = 20.0f;
constexpr float kCasterZ = 5.0f;
constexpr int kShadowX = 40, kShadowY = 24;
constexpr int kNearEndX = 55, kNearEndY = 9;
constexpr int kClearX = 16, kClearY = 48;

// The scene on a loaded renderer fixture; tear-down destroys the objects and shadows and expects
// nothing left in the engine's lists. TShadow is the renderer's stencil shadow class.
template <typename TFixture, typename TShadow>
class ShadowSceneFixture : public TFixture {
protected:
    void SetUp() override
    {
        TFixture::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure())
            return;
        const float light[3] = {0.0f, 0.0f, -3.0f};
        for (int i = 0; i < 3; ++i)
            this->Data()->lights[0].position[i] = light[i];
        receiver = MakeWorldRectangle(this->Engine(), -10.0f, -10.0f, 10.0f, 10.0f, kReceiverZ, 0xFFFFFFFF);
        ASSERT_NE(receiver, nullptr);
        objects.push_back(receiver);
    }

    void TearDown() override
    {
        if (this->m_rig) {
            for (C3DObject* object : objects)
                EXPECT_EQ(this->Engine()->DestroyObject(object), RES_OK);
            for (C3DStencilShadow* shadow : shadows)
                EXPECT_EQ(this->Engine()->DestroyStencilShadow(shadow), RES_OK);
            EXPECT_EQ(this->m_rig->Unload(), 0u);
        }
        TFixture::TearDown();
    }

    // A triangle at the caster's depth; counter-clockwise as seen by the camera faces the light.
    C3DObject* Triangle(float x0, float y0, float x1, float y1, float x2, float y2)
    {
        C3DObject* object = MakeTriangleMesh(this->Engine(),
                                             {{x0, y0, kCasterZ}, {x1, y1, kCasterZ}, {x2, y2, kCasterZ}}, {0, 1, 2});
        EXPECT_NE(object, nullptr);
        objects.push_back(object);
        return object;
    }

    C3DObject* UpperRightTriangle() { return Triangle(1.0f, 1.0f, 4.0f, 1.0f, 1.0f, 4.0f); }
    C3DObject* LowerLeftTriangle() { return Triangle(-1.0f, -1.0f, -4.0f, -1.0f, -1.0f, -4.0f); }

    // A shadow of colour with one caster per object, each volume built.
    TShadow* Shadow(uint32_t colour, const std::vector<C3DObject*>& casters)
    {
        C3DStencilShadow* shadow =
            this->Engine()->CreateStencilShadow(static_cast<uint32_t>(casters.size()), colour);
        EXPECT_NE(shadow, nullptr);
        if (!shadow)
            return nullptr;
        shadows.push_back(shadow);
        for (uint32_t i = 0; i < casters.size(); ++i) {
            EXPECT_EQ(shadow->SetCaster(i, casters[i], &placement, Vector3{0, 0, 0}, Vector3{0, 0, 0}), RES_OK);
            EXPECT_EQ(shadow->BuildVolumes(i), RES_OK);
        }
        return static_cast<TShadow*>(shadow);
    }

    void Destroy(C3DStencilShadow* shadow)
    {
        EXPECT_EQ(this->Engine()->DestroyStencilShadow(shadow), RES_OK);
        shadows.erase(std::find(shadows.begin(), shadows.end(), shadow));
    }

    void DrawReceiver()
    {
        this->Data()->clearColor = 0xFF000000;
        ASSERT_EQ(this->Engine()->BeginFrame(), RES_OK);
        ASSERT_EQ(receiver->Render(), RES_OK);
    }

    Matrix4 placement{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    C3DObject* receiver = nullptr;
    std::vector<C3DObject*> objects;
    std::vector<C3DStencilShadow*> shadows;
};
