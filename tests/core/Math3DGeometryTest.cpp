#include "core/Math3D.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/VectorExpect.h"

namespace {

constexpr float kTol = 1e-5f;
constexpr float kPi = 3.14159265f;

class Math3DGeometry : public ::testing::Test {
protected:
    Matrix4 Identity()
    {
        Matrix4 m;
        return *math.Identity(&m);
    }

    CMath3D math;
};

} // namespace

TEST_F(Math3DGeometry, LengthsNormalisationAndZeroVectors)
{
    const Vector2 v2{3, 4};
    EXPECT_FLOAT_EQ(math.Length2(&v2), 5.0f);
    Vector2 n2;
    math.Normalize2(&n2, &v2);
    EXPECT_FLOAT_EQ(n2.x, 0.6f);
    EXPECT_FLOAT_EQ(n2.y, 0.8f);
    const Vector2 zero2{0, 0};
    n2 = Vector2{7, 7};
    math.Normalize2(&n2, &zero2);
    EXPECT_EQ(n2.x, 0.0f);
    EXPECT_EQ(n2.y, 0.0f);

    const Vector3 v3{2, 3, 6};
    EXPECT_FLOAT_EQ(math.Length3(&v3), 7.0f);
    Vector3 n3;
    EXPECT_EQ(math.Normalize3(&n3, &v3), &n3);
    EXPECT_VEC3(n3, 2.0f / 7, 3.0f / 7, 6.0f / 7);
    Vector3 zero3{0, 0, 0};
    EXPECT_EQ(math.Normalize3(&zero3, &zero3), &zero3);
    EXPECT_VEC3_NEAR(zero3, 0, 0, 0, 0);
}

TEST_F(Math3DGeometry, CrossAndDot)
{
    Vector3 x{1, 0, 0};
    const Vector3 y{0, 1, 0};
    Vector3 out;
    EXPECT_VEC3_NEAR(*math.Cross(&out, &x, &y), 0, 0, 1, 0);
    const Vector3 a{1, 2, 3};
    const Vector3 b{4, 5, 6};
    EXPECT_VEC3_NEAR(*math.CrossAlt(&out, &a, &b), -3, 6, -3, 0);
    EXPECT_EQ(math.Dot3(&a, &b), 32.0f);
    math.Cross(&x, &x, &y);
    EXPECT_VEC3_NEAR(x, 0, 0, 1, 0);
}

TEST_F(Math3DGeometry, ClampBetweenLowerAndUpper)
{
    const Vector3 upper{1, 1, 1};
    const Vector3 lower{-1, 0, 0.5f};
    Vector3 v{2, -3, 0.75f};
    EXPECT_EQ(math.Clamp(&v, &upper, &lower), &v);
    EXPECT_VEC3_NEAR(v, 1, 0, 0.75f, 0);
    const Vector3 p{-5, 0.5f, 9};
    Vector3 out;
    math.ClampCopy(&out, &p, &upper, &lower);
    EXPECT_VEC3_NEAR(out, -1, 0.5f, 1, 0);
    EXPECT_VEC3_NEAR(p, -5, 0.5f, 9, 0);
}

TEST_F(Math3DGeometry, ProjectToWindowWithOddWidth)
{
    Matrix4 projection;
    math.Projection(&projection, kPi / 2, 2.0f, 1.0f, 3.0f);
    const Matrix4 view = Identity();
    // (0, 0, 2): clip (0, 0, 1, 2); half sizes 400 (801 / 2) and 300.
    const Vector3 centre{0, 0, 2};
    Vector3 out;
    math.Project(&out, 801, 600, nullptr, &view, &projection, &centre);
    EXPECT_VEC3_NEAR(out, 400, 300, 0.75f, 1e-3f);
    // (1, 1, 2): clip (0.5, 1, 1, 2), NDC (0.25, 0.5, 0.5).
    const Vector3 corner{1, 1, 2};
    math.Project(&out, 801, 600, nullptr, &view, &projection, &corner);
    EXPECT_VEC3_NEAR(out, 500, 150, 0.75f, 1e-3f);
    Matrix4 world = Identity();
    math.SetTranslationXYZ(&world, 1, 1, 0);
    math.Project(&out, 801, 600, &world, &view, &projection, &centre);
    EXPECT_VEC3_NEAR(out, 500, 150, 0.75f, 1e-3f);

    const Vector3 eye{0, 0, 0};
    math.Project(&out, 801, 600, nullptr, &view, &projection, &eye);
    EXPECT_VEC3_NEAR(out, 0, 0, -1, 0);
}

TEST_F(Math3DGeometry, UnprojectDoesNotFlipY)
{
    const Matrix4 m = Identity();
    const Vector3 p{400, 150, 0.75f};
    Vector3 out;
    math.Unproject(&out, 800, 600, &m, &p);
    EXPECT_VEC3(out, 0, -0.5f, 0.5f);

    Matrix4 scaleW = Identity();
    scaleW.m[15] = 2;
    math.Unproject(&out, 800, 600, &scaleW, &p);
    EXPECT_VEC3(out, 0, -0.25f, 0.25f);

    const Matrix4 zero{};
    math.Unproject(&out, 800, 600, &zero, &p);
    EXPECT_VEC3_NEAR(out, 0, 0, 0, 0);
}

TEST_F(Math3DGeometry, PickTestAgainstAFrustum)
{
    const Matrix4 view = Identity();
    Matrix4 projection;
    // 90 degrees, square: visible where |x| <= z, |y| <= z, 1 <= z <= 100.
    math.Projection(&projection, kPi / 2, 1.0f, 1.0f, 100.0f);
    const Vector3 inside{0, 0, 10};
    EXPECT_TRUE(math.PickTest(&view, &projection, &inside, 0.5f));
    const Vector3 behind{0, 0, -10};
    EXPECT_FALSE(math.PickTest(&view, &projection, &behind, 0.5f));
    const Vector3 above{0, 20, 10};
    EXPECT_FALSE(math.PickTest(&view, &projection, &above, 0.5f));
    const Vector3 beyond{0, 0, 200};
    EXPECT_FALSE(math.PickTest(&view, &projection, &beyond, 0.5f));
    // Just right of the x = z plane: the X segment crosses it only when long enough.
    const Vector3 edge{10.3f, 0, 10};
    EXPECT_TRUE(math.PickTest(&view, &projection, &edge, 0.5f));
    EXPECT_FALSE(math.PickTest(&view, &projection, &edge, 0.2f));
    // The Z segment alone reaches past the near plane.
    const Vector3 nearEdge{0, 0, 0.8f};
    EXPECT_TRUE(math.PickTest(&view, &projection, &nearEdge, 0.3f));

    Matrix4 moved = Identity();
    math.SetTranslationXYZ(&moved, 0, 0, 10);
    const Vector3 origin{0, 0, 0};
    EXPECT_TRUE(math.PickTest(&moved, &projection, &origin, 0.5f));
    const Vector3 back{0, 0, -20};
    EXPECT_FALSE(math.PickTest(&moved, &projection, &back, 0.5f));
}

TEST_F(Math3DGeometry, DistancePointSegment)
{
    const Vector3 a{0, 0, 0};
    const Vector3 b{10, 0, 0};
    const Vector3 beside{5, 3, 0};
    EXPECT_FLOAT_EQ(math.DistancePointSegment(&beside, &a, &b), 3.0f);
    const Vector3 beforeA{-3, 4, 0};
    EXPECT_FLOAT_EQ(math.DistancePointSegment(&beforeA, &a, &b), 5.0f);
    const Vector3 pastB{13, 4, 0};
    EXPECT_FLOAT_EQ(math.DistancePointSegment(&pastB, &a, &b), 5.0f);
}

TEST_F(Math3DGeometry, DistanceOfPointsOnTheSegmentIsNeverNaN)
{
    const Vector3 a{0.1f, 0.2f, 0.3f};
    const Vector3 b{0.7f, 0.5f, 0.9f};
    for (int i = 0; i <= 200; ++i) {
        const float t = static_cast<float>(i) / 200.0f;
        const Vector3 p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
        const float d = math.DistancePointSegment(&p, &a, &b);
        ASSERT_FALSE(std::isnan(d)) << "t = " << t;
        EXPECT_LT(d, 1e-3f);
    }
}

TEST_F(Math3DGeometry, DistanceToAZeroLengthSegmentIsTheDistanceToItsPoint)
{
    const Vector3 a{1, 1, 1};
    const Vector3 p{1, 1, 4};
    EXPECT_FLOAT_EQ(math.DistancePointSegment(&p, &a, &a), 3.0f);
}

TEST_F(Math3DGeometry, IntersectRayWithTriangle)
{
    const Vector3 p0{0, 0, 5};
    const Vector3 p1{1, 0, 5};
    const Vector3 p2{0, 1, 5};
    const Vector3 origin{0.25f, 0.25f, 0};
    const Vector3 down{0, 0, 2};
    float u = -1;
    float v = -1;
    EXPECT_NEAR(math.Intersect(&origin, &down, &p0, &p1, &p2, &u, &v), 5.0f, kTol);
    EXPECT_NEAR(u, 0.25f, kTol);
    EXPECT_NEAR(v, 0.25f, kTol);

    // The other winding hits too, with u and v exchanged.
    const Vector3 q{0.1f, 0.3f, 0};
    EXPECT_NEAR(math.Intersect(&q, &down, &p0, &p2, &p1, &u, &v), 5.0f, kTol);
    EXPECT_NEAR(u, 0.3f, kTol);
    EXPECT_NEAR(v, 0.1f, kTol);

    const Vector3 onEdge{0, 0.5f, 0};
    EXPECT_NEAR(math.Intersect(&onEdge, &down, &p0, &p1, &p2, &u, &v), 5.0f, kTol);
    EXPECT_EQ(u, 0.0f);

    const Vector3 beyond{0.25f, 0.25f, 10};
    EXPECT_NEAR(math.Intersect(&beyond, &down, &p0, &p1, &p2, nullptr, nullptr), -5.0f, kTol);

    const Vector3 outside{1, 1, 0};
    u = 7;
    EXPECT_EQ(math.Intersect(&outside, &down, &p0, &p1, &p2, &u, &v), 0.0f);
    EXPECT_EQ(u, 7.0f);
}

TEST_F(Math3DGeometry, IntersectDegenerateRays)
{
    const Vector3 p0{0, 0, 5};
    const Vector3 p1{1, 0, 5};
    const Vector3 p2{0, 1, 5};
    const Vector3 origin{0.25f, 0.25f, 5};
    const Vector3 parallel{1, 0, 0};
    EXPECT_EQ(math.Intersect(&origin, &parallel, &p0, &p1, &p2, nullptr, nullptr), 0.0f);
    const Vector3 none{0, 0, 0};
    const Vector3 above{0.25f, 0.25f, 0};
    EXPECT_EQ(math.Intersect(&above, &none, &p0, &p1, &p2, nullptr, nullptr), 0.0f);
    // A flat triangle has no face to hit.
    const Vector3 flat{2, 0, 5};
    const Vector3 down{0, 0, 1};
    EXPECT_EQ(math.Intersect(&above, &down, &p0, &p1, &flat, nullptr, nullptr), 0.0f);
}

TEST_F(Math3DGeometry, TrianglePlaneTestByWinding)
{
    const Vector3 a{0, 0, 0};
    const Vector3 b{1, 0, 0};
    const Vector3 c{0, 1, 0};
    // (a - b) x (a - c) has z = +1 in this order.
    EXPECT_EQ(math.TrianglePlaneTest(&a, &b, &c, nullptr, 0), RES_OK);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &b, &c, nullptr, 1), RES_OK);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &b, &c, nullptr, 2), RES_FAIL);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &c, &b, nullptr, 0), RES_OK);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &c, &b, nullptr, 1), RES_FAIL);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &c, &b, nullptr, 2), RES_OK);
    EXPECT_EQ(math.TrianglePlaneTest(&a, &b, &b, nullptr, 3), RES_FAIL);
}

TEST_F(Math3DGeometry, CircleTriangleOverlap)
{
    // Triangle (0, 0), (10, 0), (0, 10).
    EXPECT_TRUE(math.CircleTriangleTest(11, 0, 1.5f, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(math.CircleTriangleTest(11, 0, 1.0f, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(math.CircleTriangleTest(2, 2, 0.5f, 0, 0, 10, 0, 0, 10));
    EXPECT_TRUE(math.CircleTriangleTest(2, 2, 0.5f, 0, 0, 0, 10, 10, 0));
    // Edge (0, 0)-(10, 0) passes at distance 1 from (5, -1), at 2 from (5, -2).
    EXPECT_TRUE(math.CircleTriangleTest(5, -1, 1.5f, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(math.CircleTriangleTest(5, -2, 1.5f, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(math.CircleTriangleTest(8, 8, 1.0f, 0, 0, 10, 0, 0, 10));
    EXPECT_FALSE(math.CircleTriangleTest(-3, -3, 1.0f, 0, 0, 0, 10, 10, 0));
}

TEST_F(Math3DGeometry, HeadingOfTheZAxis)
{
    for (float angle : {0.5f, 2.5f, -2.5f, -0.3f}) {
        Matrix4 m = Identity();
        math.RotateY(&m, angle);
        math.SetTranslationXYZ(&m, 100, -50, 7);
        EXPECT_NEAR(math.AngleOfAxis(&m), angle, kTol) << angle;
    }
}

TEST_F(Math3DGeometry, MatrixToAnglesOfSingleAndCombinedRotations)
{
    Vector3 angles;
    Matrix4 x = Identity();
    math.RotateX(&x, 0.4f);
    EXPECT_VEC3(*math.GetAngles(&angles, &x), 0.4f, 0, 0);

    Matrix4 z = Identity();
    math.RotateZ(&z, 0.3f);
    EXPECT_VEC3(*math.GetAngles(&angles, &z), 0, 0, 0.3f);

    // Rz(g) x Rx(a) x Ry(b): heading b, pitch a, and roll from the X row of Rz(g) x Rx(a),
    // (cos g, sin g cos a, sin g sin a): pi/2 - atan(cos g / (sin g cos a)).
    const float a = 0.2f;
    const float b = 0.5f;
    const float g = 0.3f;
    Matrix4 m = Identity();
    math.RotateY(&m, b);
    math.RotateX(&m, a);
    math.RotateZ(&m, g);
    math.SetTranslationXYZ(&m, 3, 4, 5);
    float outX = 0;
    float outY = 0;
    float outZ = 0;
    math.MatrixToAngles(&m, &outX, &outY, &outZ);
    EXPECT_NEAR(outY, b, kTol);
    EXPECT_NEAR(outX, a, kTol);
    EXPECT_NEAR(outZ, kPi / 2 - std::atan(std::cos(g) / (std::sin(g) * std::cos(a))), kTol);
}
