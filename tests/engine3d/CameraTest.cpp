#include "engine3d/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

#include "core/Math3D.h"
#include "core/WorldData.h"
#include "tests/support/WorldDataDefaults.h"

namespace {

constexpr float kTol = 1e-5f;
constexpr float kPi = 3.14159265f;

// Perspective terms for 45 degrees, 1024 x 768, near 1, far 20000, computed by hand:
// t = tan(22.5 degrees) = 0.41421356; x scale = 1 / (t x 4/3); y scale = 1 / t.
constexpr float kXScale = 1.8106602f;
constexpr float kYScale = 2.4142136f;
constexpr float kDepth = 20001.0f / 19999.0f;
constexpr float kDepthOffset = -40000.0f / 19999.0f;

struct Viewport {
    int32_t x, y;
    uint32_t width, height;
};

class RecordingCamera : public C3DCamera {
public:
    using C3DCamera::C3DCamera;
    Result ApplyProjection() override
    {
        ++applied;
        return RES_OK;
    }
    Result SetViewport(int32_t x, int32_t y, uint32_t width, uint32_t height) override
    {
        viewport = Viewport{x, y, width, height};
        return RES_OK;
    }
    int applied = 0;
    Viewport viewport{-1, -1, 0, 0};
};

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data = std::make_unique<CWorldData>();
        data->math = &math;
        data->configuredWidth = 1024;
        data->configuredHeight = 768;
        data->workingWidth = 1024;
        data->workingHeight = 768;
        SetDefaultView(data.get());
        camera = std::make_unique<RecordingCamera>(data.get());
    }

    const Matrix4& Projection() const { return data->matrices[kMatrixProjection]; }
    const Matrix4& Screen() const { return data->matrices[kMatrixScreen]; }

    void ExpectElements(const Matrix4& m, std::initializer_list<std::pair<int, float>> expected)
    {
        Matrix4 want{};
        bool given[16] = {};
        for (const auto& [index, value] : expected) {
            want.m[index] = value;
            given[index] = true;
        }
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(m.m[i], given[i] ? want.m[i] : 0.0f, kTol) << "element " << i;
    }

    Vector3 ToClip(const Matrix4& m, float x, float y, float z)
    {
        Vector3 p{x, y, z};
        return *math.TransformPoint(&p, &p, &m);
    }

    CMath3D math;
    std::unique_ptr<CWorldData> data;
    std::unique_ptr<RecordingCamera> camera;
};

} // namespace

TEST_F(CameraTest, OrientationOneMatrices)
{
    EXPECT_EQ(camera->SetScreenRotation(1), 0.0f);
    EXPECT_EQ(data->aspectRatio, 1.3333334f);
    EXPECT_EQ(camera->applied, 1);
    ExpectElements(Projection(), {{0, kXScale}, {5, kYScale}, {10, kDepth}, {11, 1.0f}, {14, kDepthOffset}});
    // Ortho (2/1024, -2/768, -1/1000) after a translation by (-512, -384).
    ExpectElements(Screen(), {{0, 2.0f / 1024}, {5, -2.0f / 768}, {10, -0.001f}, {12, -1}, {13, 1}, {15, 1}});
    const Vector3 topLeft = ToClip(Screen(), 0, 0, 0);
    EXPECT_NEAR(topLeft.x, -1, kTol);
    EXPECT_NEAR(topLeft.y, 1, kTol);
    const Vector3 bottomRight = ToClip(Screen(), 1024, 768, 500);
    EXPECT_NEAR(bottomRight.x, 1, kTol);
    EXPECT_NEAR(bottomRight.y, -1, kTol);
    EXPECT_NEAR(bottomRight.z, -0.5f, kTol);
    EXPECT_EQ(data->workingWidth, 1024);
}

TEST_F(CameraTest, OrientationFourTurnsAQuarterLeft)
{
    EXPECT_FLOAT_EQ(camera->SetScreenRotation(4), kPi / 2);
    EXPECT_TRUE(camera->SizesSwapped());
    EXPECT_EQ(data->workingWidth, 768);
    EXPECT_EQ(data->workingHeight, 1024);
    EXPECT_EQ(data->configuredWidth, 1024);
    EXPECT_EQ(data->aspectRatio, 1.3333334f);
    // Rz(pi/2) x P: row 0 = row 1 of P, row 1 = -row 0 of P.
    ExpectElements(Projection(), {{1, kYScale}, {4, -kXScale}, {10, kDepth}, {11, 1.0f}, {14, kDepthOffset}});
    // Ortho(0, -1024, -768, 0) = diag(-2/1024, 2/768), turned, then translated by (-384, -512).
    ExpectElements(Screen(), {{1, 2.0f / 768}, {4, 2.0f / 1024}, {10, -0.001f}, {12, -1}, {13, -1}, {15, 1}});
    const Vector3 corner = ToClip(Screen(), 768, 0, 0);
    EXPECT_NEAR(corner.x, -1, kTol);
    EXPECT_NEAR(corner.y, 1, kTol);
}

TEST_F(CameraTest, OrientationThreeTurnsAQuarterRight)
{
    EXPECT_FLOAT_EQ(camera->SetScreenRotation(3), -kPi / 2);
    EXPECT_EQ(data->workingWidth, 768);
    ExpectElements(Projection(), {{1, -kYScale}, {4, kXScale}, {10, kDepth}, {11, 1.0f}, {14, kDepthOffset}});
    ExpectElements(Screen(), {{1, -2.0f / 768}, {4, -2.0f / 1024}, {10, -0.001f}, {12, 1}, {13, 1}, {15, 1}});
    const Vector3 corner = ToClip(Screen(), 768, 1024, 0);
    EXPECT_NEAR(corner.x, -1, kTol);
    EXPECT_NEAR(corner.y, -1, kTol);

    camera->SetScreenRotation(4);
    EXPECT_EQ(data->workingWidth, 768);
    EXPECT_EQ(camera->SetScreenRotation(2), kPi);
    EXPECT_FALSE(camera->SizesSwapped());
    EXPECT_EQ(data->workingWidth, 1024);
    EXPECT_EQ(data->workingHeight, 768);
}

TEST_F(CameraTest, UnknownScreenRotationKeepsAngleAndSizesButRebuilds)
{
    camera->SetScreenRotation(4);
    data->matrices[kMatrixProjection] = Matrix4{};
    const int before = camera->applied;
    EXPECT_FLOAT_EQ(camera->SetScreenRotation(5), kPi / 2);
    EXPECT_EQ(camera->GetOrientation(), 5u);
    EXPECT_EQ(data->workingWidth, 768);
    EXPECT_EQ(camera->applied, before + 1);
    EXPECT_NEAR(Projection().m[1], kYScale, kTol);
    // Not a quarter code any more: the upright screen range, still turned.
    EXPECT_NEAR(Screen().m[1], -2.0f / 768, kTol);
}

TEST_F(CameraTest, SetOrientationSwapsConfiguredSizesOnce)
{
    EXPECT_EQ(camera->SetOrientation(3), RES_OK);
    EXPECT_EQ(data->configuredWidth, 768);
    EXPECT_EQ(data->configuredHeight, 1024);
    EXPECT_EQ(camera->viewport.width, 768u);
    EXPECT_EQ(camera->viewport.height, 1024u);
    EXPECT_EQ(data->aspectRatio, 0.75f);
    // Angle 0, Ortho(0, -768, -1024, 0), translated by (-512, -384).
    ExpectElements(Screen(), {{0, -2.0f / 768}, {5, 2.0f / 1024}, {10, -0.001f}, {12, 4.0f / 3}, {13, -0.75f}, {15, 1}});

    EXPECT_EQ(camera->SetOrientation(3), RES_OK);
    EXPECT_EQ(data->configuredWidth, 768);
    EXPECT_EQ(camera->SetOrientation(1), RES_OK);
    EXPECT_EQ(data->configuredWidth, 1024);
    EXPECT_EQ(data->configuredHeight, 768);
    EXPECT_EQ(camera->viewport.width, 1024u);
    EXPECT_EQ(camera->SetOrientation(4), RES_OK);
    EXPECT_EQ(data->aspectRatio, 0.75f);
    EXPECT_EQ(data->workingWidth, 1024);
}

TEST_F(CameraTest, UpdateAndResetViewInvertTheCameraMatrix)
{
    Matrix4& cameraMatrix = data->matrices[kMatrixCamera];
    math.RotateY(&cameraMatrix, 0.7f);
    math.SetTranslationXYZ(&cameraMatrix, 10, 20, 30);
    EXPECT_EQ(camera->Update(), RES_OK);
    Matrix4 product;
    math.Multiply(&product, &cameraMatrix, &data->matrices[kMatrixView]);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.m[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-4f) << i;
    // The camera sits at (10, 20, 30): the view matrix brings it to the origin.
    Vector3 eye{10, 20, 30};
    math.TransformPoint(&eye, &eye, &data->matrices[kMatrixView]);
    EXPECT_NEAR(eye.x, 0, 1e-4f);
    EXPECT_NEAR(eye.z, 0, 1e-4f);

    const Matrix4 view = data->matrices[kMatrixView];
    data->matrices[kMatrixView] = Matrix4{};
    EXPECT_EQ(camera->ResetView(), RES_OK);
    EXPECT_TRUE(math.Equals(&data->matrices[kMatrixView], &view));
}

TEST_F(CameraTest, SingularCameraMatrixFailsUpdate)
{
    data->matrices[kMatrixCamera] = Matrix4{};
    EXPECT_EQ(camera->Update(), RES_FAIL);
}

TEST_F(CameraTest, NoHelperFailsInsteadOfCrashing)
{
    data->math = nullptr;
    EXPECT_EQ(camera->SetPerspective(), RES_FAIL);
    EXPECT_EQ(camera->Update(), RES_FAIL);
    EXPECT_EQ(camera->ResetView(), RES_FAIL);
    EXPECT_EQ(camera->applied, 0);
}
