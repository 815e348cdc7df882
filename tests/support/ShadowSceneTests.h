#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/ParamsReader.h"
#include "tests/support/ShadowSceneFixture.h"

// The shadow tests every renderer passes, written once. TypeParam is the renderer's
// ShadowSceneFixture, which adds:
//   uint32_t ShadowColour(uint8_t level)  - the shadow colour that darkens white to grey `level`;
//   StrengthCases()                       - shadow colours and the grey each leaves (0xRRGGBB);
//   void WatchDevice(), ExpectUntouched() - around draws that must leave the device alone;
//   void ExpectSolidFill()                - the fill mode is back to solid;
//   int CountAtLeast(uint8_t level)       - pixels of the frame with every channel at least level.
template <typename TRendererTest>
class ShadowSceneTest : public TRendererTest {};

TYPED_TEST_SUITE_P(ShadowSceneTest);

TYPED_TEST_P(ShadowSceneTest, FactoryListsTheRenderersShadowsWithTheShaders)
{
    EXPECT_TRUE(this->Engine()->IsStencilShadowSupported());
    auto* shadow = this->Shadow(this->ShadowColour(0x80), {this->UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
    EXPECT_NE(dynamic_cast<decltype(shadow)>(static_cast<C3DStencilShadow*>(shadow)), nullptr);
    EXPECT_EQ(this->Engine()->GetShaderCount(), 1u);
    EXPECT_EQ(this->Engine()->GetStencilShadowCount(), 0u);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 18u);
    EXPECT_EQ(shadow->GetCaster(0)->capCount, 18u);
}

TYPED_TEST_P(ShadowSceneTest, ShadowedPointDarkensAndTheRestStays)
{
    auto* shadow = this->Shadow(this->ShadowColour(0x80), {this->UpperRightTriangle()});
    ASSERT_NE(shadow, nullptr);
    this->DrawReceiver();
    this->ExpectPixel(kShadowX, kShadowY, 0xFFFFFF);
    ASSERT_EQ(shadow->Render(0), RES_OK);
    this->ExpectPixel(kShadowX, kShadowY, 0x808080);
    this->ExpectPixel(kClearX, kClearY, 0xFFFFFF);
    this->ExpectPixel(kNearEndX, kNearEndY, 0xFFFFFF);  // in front of the volume, behind nothing
}

TYPED_TEST_P(ShadowSceneTest, TheShadowColourSetsTheDarkening)
{
    C3DObject* caster = this->UpperRightTriangle();
    for (const auto& [colour, seen] : this->StrengthCases()) {
        auto* shadow = this->Shadow(colour, {caster});
        ASSERT_NE(shadow, nullptr);
        this->DrawReceiver();
        ASSERT_EQ(shadow->Render(0), RES_OK);
        this->ExpectPixel(kShadowX, kShadowY, seen);
        this->ExpectPixel(kClearX, kClearY, 0xFFFFFF);
        this->Destroy(shadow);
    }
}

TYPED_TEST_P(ShadowSceneTest, CasterWithoutSilhouetteDrawsNothing)
{
    C3DObject* away = this->Triangle(1.0f, 1.0f, 1.0f, 4.0f, 4.0f, 1.0f);  // clockwise: turned from the light
    auto* shadow = this->Shadow(this->ShadowColour(0), {away, nullptr});
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->GetCaster(0)->sideCount, 0u);
    this->DrawReceiver();
    this->WatchDevice();
    EXPECT_EQ(shadow->Render(0), RES_OK);
    EXPECT_EQ(shadow->Render(1), RES_OK);
    EXPECT_EQ(shadow->Render(2), RES_FAIL);
    this->ExpectUntouched();
    this->ExpectPixel(kShadowX, kShadowY, 0xFFFFFF);
    this->ExpectPixel(kClearX, kClearY, 0xFFFFFF);
}

TYPED_TEST_P(ShadowSceneTest, ShowConstructAddsTheVolumeWireframe)
{
    const std::string settings = "[STENCIL_SHADOW]\nSHOW_CONSTRUCT=1\n";
    CParamsText params(settings.data(), static_cast<uint32_t>(settings.size()));
    C3DObject* caster = this->UpperRightTriangle();
    for (bool construct : {false, true}) {
        this->Data()->engineParams = construct ? &params : nullptr;
        auto* shadow = this->Shadow(this->ShadowColour(0), {caster});
        ASSERT_NE(shadow, nullptr);
        EXPECT_EQ(shadow->ShowsConstruct(), construct);
        this->Data()->clearColor = 0xFF000000;
        ASSERT_EQ(this->Engine()->BeginFrame(), RES_OK);
        ASSERT_EQ(shadow->Render(0), RES_OK);
        EXPECT_EQ(this->CountAtLeast(0xFF) > 20, construct);
        EXPECT_EQ(this->CountAtLeast(0x01) == 0, !construct);
        this->ExpectSolidFill();
        this->Destroy(shadow);
    }
    this->Data()->engineParams = nullptr;
}

REGISTER_TYPED_TEST_SUITE_P(ShadowSceneTest, FactoryListsTheRenderersShadowsWithTheShaders,
                            ShadowedPointDarkensAndTheRestStays, TheShadowColourSetsTheDarkening,
                            CasterWithoutSilhouetteDrawsNothing, ShowConstructAddsTheVolumeWireframe);
