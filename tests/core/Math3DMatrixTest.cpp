#include "core/Math3D.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/VectorExpect.h"

namespace {

constexpr float kTol = 1e-5f;
constexpr float kHalfPi = 1.57079633f;

Matrix4 Make(std::initializer_list<float> values)
{
    Matrix4 m{};
    int i = 0;
    for (float v : values)
        m.m[i++] = v;
    return m;
}

void ExpectMatrixNear(const Matrix4& actual, const Matrix4& expected, float tol = kTol)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], tol) << "element " << i;
}

class Math3DMatrix : public ::testing::Test {
protected:
    Matrix4 Identity()
    {
        Matrix4 m;
        return *math.Identity(&m);
    }
    float Det(const Matrix4& m) { return math.Determinant(&m); }
    Vector3 Apply(const Matrix4& m, float x, float y, float z)
    {
        Vector3 p{x, y, z};
        math.TransformPoint(&p, &p, &m);
        return p;
    }

    CMath3D math;
};

} // namespace

TEST_F(Math3DMatrix, TransformsUseRowVectorsWithTranslationInTheLastRow)
{
    const Matrix4 m = Make({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    // (1, 1, 2, 1) x m = (1 + 5 + 18 + 13, 2 + 6 + 20 + 14, 3 + 7 + 22 + 15, 4 + 8 + 24 + 16)
    EXPECT_VEC3_NEAR(Apply(m, 1, 1, 2), 37, 42, 47, 0);
    const Vector3 p{1, 1, 2};
    EXPECT_EQ(math.TransformZ(&p, &m), 47.0f);
    Vector4 v{1, 1, 2, 1};
    math.TransformVector4(&v, &v, &m);
    EXPECT_EQ(v.w, 52.0f);
    EXPECT_EQ(v.x, 37.0f);
}

TEST_F(Math3DMatrix, LayoutReadColumnMajorIsTheSameTransformWithColumnVectors)
{
    Matrix4 m = Identity();
    math.RotateY(&m, 0.7f);
    math.Scale(&m, 2, 3, 4);
    math.Translate(&m, 5, -6, 7);
    const float p[4] = {0.5f, -1.5f, 2.5f, 1.0f};
    // OpenGL: element (row r, column c) at index 4c + r, multiplied by a column vector.
    float gl[4] = {};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c)
            gl[r] += m.m[4 * c + r] * p[c];
    }
    Vector4 v{p[0], p[1], p[2], p[3]};
    math.TransformVector4(&v, &v, &m);
    EXPECT_NEAR(v.x, gl[0], kTol);
    EXPECT_NEAR(v.y, gl[1], kTol);
    EXPECT_NEAR(v.z, gl[2], kTol);
    EXPECT_NEAR(v.w, gl[3], kTol);
}

TEST_F(Math3DMatrix, MultiplyByHandAndWithAliasedOperands)
{
    const Matrix4 a = Make({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 3, 4, 5, 1});
    const Matrix4 b = Make({2, 0, 0, 0, 0, 3, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1});
    const Matrix4 expected = Make({2, 6, 0, 0, 0, 3, 0, 0, 1, 0, 1, 0, 11, 12, 5, 1});
    Matrix4 out;
    ExpectMatrixNear(*math.Multiply(&out, &a, &b), expected, 0);

    Matrix4 left = a;
    math.Multiply(&left, &left, &b);
    ExpectMatrixNear(left, expected, 0);
    Matrix4 right = b;
    math.Multiply(&right, &a, &right);
    ExpectMatrixNear(right, expected, 0);
    Matrix4 both = a;
    math.Multiply(&both, &both, &both);
    math.Multiply(&out, &a, &a);
    ExpectMatrixNear(both, out, 0);

    Matrix4 row = Matrix4{};
    math.MultiplyRow2(&row, &a, &b);
    ExpectMatrixNear(row, Make({0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0}), 0);
}

TEST_F(Math3DMatrix, DeterminantOfKnownMatrices)
{
    EXPECT_FLOAT_EQ(Det(Make({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 5})), 120.0f);
    // Two 2x2 blocks: (4 - 6) x (40 - 42).
    EXPECT_FLOAT_EQ(Det(Make({1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 5, 6, 0, 0, 7, 8})), 4.0f);
    // Rows 0 and 3 couple: 2 x 1 - 1 x 1.
    EXPECT_FLOAT_EQ(Det(Make({2, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1})), 1.0f);
    // Swapping rows 0 and 1 of the identity.
    EXPECT_FLOAT_EQ(Det(Make({0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1})), -1.0f);
    EXPECT_EQ(Det(Make({1, 2, 3, 0, 2, 4, 6, 0, 0, 0, 1, 0, 0, 0, 0, 1})), 0.0f);
}

TEST_F(Math3DMatrix, InvertScaleAndTranslationByHand)
{
    Matrix4 m = Make({2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 8, 0, 1, 2, 3, 1});
    Matrix4 out;
    float k = 0;
    math.Invert(&out, &k, &m);
    EXPECT_FLOAT_EQ(k, 1.0f / 64.0f);
    ExpectMatrixNear(out, Make({0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, -0.5f, -0.5f, -0.375f, 1}));

    math.InvertInPlace(&m);
    ExpectMatrixNear(m, out, 0);
}

TEST_F(Math3DMatrix, InvertRotationWithTranslationGivesIdentityProduct)
{
    Matrix4 m = Identity();
    math.RotateX(&m, 0.3f);
    math.RotateY(&m, -1.1f);
    math.RotateZ(&m, 2.0f);
    math.Translate(&m, 4, -5, 6);
    Matrix4 inverse;
    float k = 0;
    math.Invert(&inverse, &k, &m);
    EXPECT_NEAR(k, 1.0f, kTol);
    Matrix4 product;
    ExpectMatrixNear(*math.Multiply(&product, &inverse, &m), Identity());
    ExpectMatrixNear(*math.Multiply(&product, &m, &inverse), Identity());
}

TEST_F(Math3DMatrix, InvertSingularMatrixGivesInfiniteReciprocal)
{
    const Matrix4 singular = Make({1, 2, 3, 0, 2, 4, 6, 0, 0, 0, 1, 0, 5, 5, 5, 1});
    Matrix4 out;
    float k = 0;
    math.Invert(&out, &k, &singular);
    EXPECT_TRUE(std::isinf(k));
    EXPECT_FALSE(std::isfinite(out.m[0]) && std::isfinite(out.m[5]) && std::isfinite(out.m[12]));
}

TEST_F(Math3DMatrix, TranslateThenScaleScalesPointsFirst)
{
    Matrix4 m = Identity();
    math.Translate(&m, 1, 2, 3);
    EXPECT_EQ(math.Scale(&m, 2, 2, 2), &m);
    EXPECT_VEC3(Apply(m, 1, 1, 1), 3, 4, 5);

    Matrix4 n = Identity();
    math.Scale(&n, 2, 2, 2);
    math.Translate(&n, 1, 2, 3);
    EXPECT_VEC3(Apply(n, 1, 1, 1), 4, 6, 8);
}

TEST_F(Math3DMatrix, GetScaleGivesRowLengths)
{
    Matrix4 m = Identity();
    math.RotateY(&m, 0.8f);
    math.Scale(&m, 2, 3, 4);
    math.Translate(&m, 9, 9, 9);
    Vector3 s;
    EXPECT_VEC3(*math.GetScale(&s, &m), 2, 3, 4);
}

TEST_F(Math3DMatrix, RotationsAboutEachAxisAreLeftHanded)
{
    Matrix4 x = Identity();
    math.RotateX(&x, kHalfPi);
    EXPECT_VEC3(Apply(x, 0, 1, 0), 0, 0, 1);
    EXPECT_VEC3(Apply(x, 0, 0, 1), 0, -1, 0);

    Matrix4 y = Identity();
    math.RotateY(&y, kHalfPi);
    EXPECT_VEC3(Apply(y, 1, 0, 0), 0, 0, -1);
    EXPECT_VEC3(Apply(y, 0, 0, 1), 1, 0, 0);

    Matrix4 z = Identity();
    math.RotateZ(&z, kHalfPi);
    EXPECT_VEC3(Apply(z, 1, 0, 0), 0, 1, 0);
    EXPECT_VEC3(Apply(z, 0, 1, 0), -1, 0, 0);

    // Rows as stated: about Z, row 0 = (c, s, 0, 0) and row 1 = (-s, c, 0, 0).
    Matrix4 r = Identity();
    math.RotateZ(&r, 0.5f);
    const float c = std::cos(0.5f);
    const float s = std::sin(0.5f);
    ExpectMatrixNear(r, Make({c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}));
}

TEST_F(Math3DMatrix, RotationsPremultiplyAndProductFormsAgree)
{
    Matrix4 m = Identity();
    math.Translate(&m, 5, 0, 0);
    math.RotateZ(&m, kHalfPi);
    EXPECT_VEC3(Apply(m, 1, 0, 0), 5, 1, 0);

    Matrix4 base = Make({1, 2, 3, 0.5f, -1, 0, 2, 0.25f, 3, 1, -2, 0, 4, 5, 6, 1});
    for (int axis = 0; axis < 3; ++axis) {
        Matrix4 direct = base;
        Matrix4 product = base;
        if (axis == 0) {
            math.RotateX(&direct, 0.9f);
            math.RotateXByProduct(&product, 0.9f);
        } else if (axis == 1) {
            math.RotateY(&direct, 0.9f);
            math.RotateYByProduct(&product, 0.9f);
        } else {
            math.RotateZ(&direct, 0.9f);
            math.RotateZByProduct(&product, 0.9f);
        }
        ExpectMatrixNear(direct, product);
    }
}

TEST_F(Math3DMatrix, RotateVectorTurnsAboutZThenYThenX)
{
    Matrix4 m = Identity();
    const Vector3 angles{kHalfPi, 0, kHalfPi};
    math.RotateVector(&m, &angles);
    // (1, 0, 0) about Z gives (0, 1, 0), then about X gives (0, 0, 1).
    EXPECT_VEC3(Apply(m, 1, 0, 0), 0, 0, 1);

    const Vector3 onlyY{0, 0.6f, 0};
    Matrix4 a = Identity();
    Matrix4 b = Identity();
    math.RotateAngles(&a, &onlyY);
    math.RotateY(&b, 0.6f);
    ExpectMatrixNear(a, b);
}

TEST_F(Math3DMatrix, OrthonormalizeKeepsTranslationAndFourthColumn)
{
    Matrix4 m = Make({2, 0, 0, 0.5f, 0, 3, 0, 0.25f, 0, 0, 4, 0.125f, 5, 6, 7, 1});
    math.Orthonormalize(&m);
    ExpectMatrixNear(m, Make({1, 0, 0, 0.5f, 0, 1, 0, 0.25f, 0, 0, 1, 0.125f, 5, 6, 7, 1}), 0);

    Matrix4 skew = Make({3, 4, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 2, 3, 1});
    math.Orthonormalize(&skew);
    ExpectMatrixNear(skew, Make({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}), 0);

    Matrix4 tilted = Make({3, 4, 0, 0, 0, 2, 0, 0, 0, 0, 5, 0, 0, 0, 0, 1});
    math.Orthonormalize(&tilted);
    EXPECT_FLOAT_EQ(tilted.m[0], 0.6f);
    EXPECT_FLOAT_EQ(tilted.m[1], 0.8f);
}

TEST_F(Math3DMatrix, BasisFromDirectionAndLookAt)
{
    Matrix4 m = Identity();
    math.SetTranslationXYZ(&m, 1, 2, 3);
    m.m[3] = 0.5f;
    const Vector3 ahead{1, 2, 13};
    math.BasisFromDirection(&m, &ahead);
    ExpectMatrixNear(m, Make({1, 0, 0, 0.5f, 0, 1, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));

    // Looking along +X: side = up x dir = (0, 0, -1), up = dir x side = (0, 1, 0).
    const Vector3 right{11, 2, 3};
    EXPECT_EQ(math.LookAt(&m, &right), &m);
    ExpectMatrixNear(m, Make({0, 0, -1, 0.5f, 0, 1, 0, 0, 1, 0, 0, 0, 1, 2, 3, 1}));
}

TEST_F(Math3DMatrix, ApplyKeepTranslationRestoresTheFormerTranslation)
{
    Matrix4 m = Identity();
    math.SetTranslationXYZ(&m, 1, 2, 3);
    Matrix4 other = Identity();
    math.RotateZ(&other, kHalfPi);
    math.SetTranslationXYZ(&other, 10, 0, 0);
    math.ApplyKeepTranslation(&m, &other);
    ExpectMatrixNear(m, Make({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1}));
}

TEST_F(Math3DMatrix, ProjectionsByHand)
{
    // fovy 90 degrees: t = near = 1, r = 2 with aspect 2, far 3.
    Matrix4 out;
    math.Projection(&out, kHalfPi, 2.0f, 1.0f, 3.0f);
    ExpectMatrixNear(out, Make({0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -3, 0}));
    Vector4 nearPoint{0, 0, 1, 1};
    math.TransformVector4(&nearPoint, &nearPoint, &out);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, -1.0f, kTol);
    Vector4 farPoint{0, 0, 3, 1};
    math.TransformVector4(&farPoint, &farPoint, &out);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, kTol);

    math.ProjectionRH(&out, kHalfPi, 2.0f, 1.0f, 3.0f);
    ExpectMatrixNear(out, Make({0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -2, -1, 0, 0, -3, 0}));
    Vector4 rhNear{0, 0, -1, 1};
    math.TransformVector4(&rhNear, &rhNear, &out);
    EXPECT_NEAR(rhNear.z / rhNear.w, -1.0f, kTol);
}

TEST_F(Math3DMatrix, OrthoOffCenterHasNoOffsetRow)
{
    Matrix4 out = Make({9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9});
    math.OrthoOffCenter(&out, 0, 1024, 768, 0, -1000, 1000);
    ExpectMatrixNear(out, Make({2.0f / 1024, 0, 0, 0, 0, -2.0f / 768, 0, 0, 0, 0, -0.001f, 0, 0, 0, 0, 1}));
    EXPECT_EQ(out.m[12], 0.0f);
}

TEST_F(Math3DMatrix, ViewMatrixConstants)
{
    Matrix4 a;
    Matrix4 b;
    math.ViewMatrix(&a, &b, 640, 480);
    ExpectMatrixNear(a, Make({0.49382713f, 0, 0, 0, 0, 0.42735043f, 0, 0, 0, 0, 0.5f, 0, -0.0098765334f, 0.94658118f,
                              0.5f, 1}),
                     0);
    ExpectMatrixNear(b, Make({640, 0, 0, 0, 0, -480, 0, 0, 0, 0, 1, 0, 0, 480, 0, 1}), 0);
}
