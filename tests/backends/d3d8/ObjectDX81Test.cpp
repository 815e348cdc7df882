#include <algorithm>
#include <cstring>

#include "backends/d3d8/ObjectDX81Formats.h"
#include "backends/d3d8/ObjectIndexDX81.h"
#include "backends/d3d8/TextureDX81.h"
#include "core/WorldData.h"
#include "engine3d/Object.h"
#include "tests/backends/d3d8/DX81Fixture.h"

namespace {

std::string N(uint64_t value)
{
    return std::to_string(value);
}

std::string RS(D3DRENDERSTATETYPE state, uint64_t value)
{
    return "SetRenderState(" + N(state) + ", " + N(value) + ")";
}

std::string TSS(DWORD stage, D3DTEXTURESTAGESTATETYPE type, uint64_t value)
{
    return "SetTextureStageState(" + N(stage) + ", " + N(type) + ", " + N(value) + ")";
}

float FloatAt(const uint8_t* p)
{
    float value;
    memcpy(&value, p, sizeof value);
    return value;
}

uint32_t WordAt(const uint8_t* p)
{
    uint32_t value;
    memcpy(&value, p, sizeof value);
    return value;
}

class ObjectDX81Test : public DX81LoadedFixture {
protected:
    // An object of quads drawn as strips, one part per quad, every vertex white.
    C3DObjectDX81* MakeQuads(uint32_t flagsA, uint32_t flagsB, uint32_t quads = 1, uint32_t cull = kCullNone)
    {
        auto* object = static_cast<C3DObjectDX81*>(Engine()->CreateObject(flagsA, flagsB));
        EXPECT_NE(object, nullptr);
        EXPECT_EQ(object->Create(quads, quads * 4, quads * 4), RES_OK);
        EXPECT_EQ(object->Lock(), RES_OK);
        for (uint32_t q = 0; q < quads; ++q) {
            for (uint32_t v = 0; v < 4; ++v) {
                const float x = static_cast<float>(16 * q + 16 * (v % 2));
                const float y = static_cast<float>(16 * (v / 2));
                object->SetVertex(q * 4 + v, x, y, 0.0f, 0xFFFFFFFFu, 0.0f, 0.0f, 0.0f, 0.0f, -1.0f, 0);
            }
            object->FillIndexRange(q * 4, 4);
            EXPECT_EQ(object->SetPrimitiveGroup(q, q * 4, 4, q * 4, 4, 2, kPrimitiveTriangleStrip, cull, kPartNumberId),
                      RES_OK);
        }
        EXPECT_EQ(object->Unlock(1), RES_OK);
        return object;
    }

    C3DTextureDX81* MakeTexture(uint32_t sampling)
    {
        auto* texture = static_cast<C3DTextureDX81*>(Engine()->CreateTexture(0, sampling));
        const uint8_t pixel[4] = {255, 255, 255, 255};
        EXPECT_EQ(texture->Create(1, 1, 32, pixel, nullptr), RES_OK);
        return texture;
    }

    static uint64_t IndexNumber(C3DObject* object)
    {
        return D3D8ObjectNumber(static_cast<C3DObjectIndexBaseDX81*>(object->GetIndexBuffer())->GetDeviceBuffer());
    }

    // Renders between BeginScene and EndScene with the trace on; the calls of the draw.
    std::vector<std::string> TraceRender(C3DObject* object, const std::vector<std::string>& skipped = {})
    {
        Device()->BeginScene();
        D3D8TraceStart();
        EXPECT_EQ(object->Render(), RES_OK);
        D3D8TraceStop();
        Device()->EndScene();
        return Sequence(skipped);
    }
};

} // namespace

// ---- Vertex layouts ------------------------------------------------------------------------

TEST_F(ObjectDX81Test, EveryFormatWritesItsVertexLayoutIntoTheVertexBuffer)
{
    struct Row {
        uint32_t format;
        uint32_t size;
        DWORD fvf;
    };
    const Row rows[] = {{kFormatNormalTex, 40, 0x1d2}, {kFormatNormalTex2, 48, 0x2d2}, {kFormatColor, 16, 0x42},
                        {kFormatColorTex, 24, 0x142}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        auto* object = static_cast<C3DObjectDX81*>(Engine()->CreateObject(row.format, 0));
        ASSERT_EQ(object->Create(1, 2, 2), RES_OK);
        EXPECT_EQ(object->GetFvf(), row.fvf);
        EXPECT_EQ(object->GetDeviceVertexSize(), row.size);
        EXPECT_EQ(object->GetUsage(), 0x208u);
        D3DVERTEXBUFFER_DESC desc{};
        ASSERT_EQ(object->GetVertexBuffer()->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(desc.FVF, row.fvf);
        EXPECT_EQ(desc.Size, row.size * 2);
        EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
        EXPECT_EQ(desc.Usage, 0x208u);

        uint8_t size = 0;
        EXPECT_EQ(object->GetVertexSize(&size), nullptr);
        EXPECT_EQ(size, row.size);
        ASSERT_EQ(object->Lock(), RES_OK);
        object->SetVertex(1, 1.0f, 2.0f, 3.0f, 0x11223344u, 0.25f, 0.75f, 4.0f, 5.0f, 6.0f, 0x55667788u);
        const uint8_t* v = static_cast<const uint8_t*>(object->GetVertexSize(&size)) + size;
        EXPECT_EQ(FloatAt(v), 1.0f);
        EXPECT_EQ(FloatAt(v + 8), 3.0f);
        switch (row.format) {
        case kFormatNormalTex2:
            EXPECT_EQ(FloatAt(v + 40), 0.25f);
            EXPECT_EQ(FloatAt(v + 44), 0.75f);
            [[fallthrough]];
        case kFormatNormalTex:
            EXPECT_EQ(FloatAt(v + 12), 4.0f);
            EXPECT_EQ(FloatAt(v + 20), 6.0f);
            EXPECT_EQ(WordAt(v + 24), 0x11223344u);
            EXPECT_EQ(WordAt(v + 28), 0x55667788u);
            EXPECT_EQ(FloatAt(v + 32), 0.25f);
            EXPECT_EQ(FloatAt(v + 36), 0.75f);
            break;
        case kFormatColor:
            EXPECT_EQ(WordAt(v + 12), 0x11223344u);
            break;
        default:
            EXPECT_EQ(WordAt(v + 12), 0x11223344u);
            EXPECT_EQ(FloatAt(v + 16), 0.25f);
            EXPECT_EQ(FloatAt(v + 20), 0.75f);
            break;
        }
        EXPECT_EQ(object->Unlock(0), RES_OK);
    }
}

TEST_F(ObjectDX81Test, GettersReadWhatTheFormatHoldsAndZerosElse)
{
    auto* points = static_cast<C3DObjectDX81*>(Engine()->CreateObject(kFormatColor, 0));
    ASSERT_EQ(points->Create(1, 1, 1), RES_OK);
    ASSERT_EQ(points->Lock(), RES_OK);
    points->SetVertex(0, 1.0f, 2.0f, 3.0f, 0xFF00FF00u, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f, 0xFFFFFFFFu);
    Vector2 uv{9.0f, 9.0f};
    Vector3 normal{9.0f, 9.0f, 9.0f};
    Vector3 position{};
    uint32_t colour = 0;
    points->GetVertex(0, &position, &colour, &uv, &normal, nullptr);
    EXPECT_EQ(position.y, 2.0f);
    EXPECT_EQ(colour, 0xFF00FF00u);
    EXPECT_EQ(uv.x, 0.0f);
    EXPECT_EQ(normal.z, 0.0f);
    EXPECT_EQ(points->GetSpecular(0), 0u);
    EXPECT_EQ(points->Unlock(0), RES_OK);

    auto* normals = static_cast<C3DObjectDX81*>(Engine()->CreateObject(kFormatNormalTex, 0));
    ASSERT_EQ(normals->Create(1, 2, 2), RES_OK);
    ASSERT_EQ(normals->Lock(), RES_OK);
    const Vector2 second{0.5f, 0.25f};
    normals->SetUV2(0, &second);
    normals->GetUV2(&uv, 0);
    EXPECT_EQ(uv.x, 0.0f);
    normals->SetSpecular(0, 0x80808080u);
    EXPECT_EQ(normals->GetSpecular(0), 0x80808080u);
    // Past the vertices: nothing written, zeros read.
    normals->SetVertexColor(2, 0x12345678u);
    EXPECT_EQ(normals->GetVertexColor(2), 0u);
    EXPECT_EQ(normals->Unlock(0), RES_OK);
    // Unlocked: nothing written, zeros read.
    normals->SetSpecular(0, 0x01010101u);
    EXPECT_EQ(normals->GetSpecular(0), 0u);
    ASSERT_EQ(normals->Lock(), RES_OK);
    EXPECT_EQ(normals->GetSpecular(0), 0x80808080u);
    EXPECT_EQ(normals->Unlock(0), RES_OK);
}

// ---- The draw ------------------------------------------------------------------------------

TEST_F(ObjectDX81Test, OneDrawOfATexturedTextureFactorObject)
{
    const uint32_t flagsB = 0x20C29;  // factor, stage 0, state block, material, alpha, lights
    C3DObjectDX81* object = MakeQuads(kFormatColorTex, flagsB);
    C3DTextureDX81* texture = MakeTexture(0x52);
    ASSERT_EQ(object->SetTextureAll(texture, 0), RES_OK);
    object->SetColor(0x80FF0000u);

    const std::string vertexBuffer = N(D3D8ObjectNumber(object->GetVertexBuffer()));
    const std::vector<std::string> expected = {
        "ApplyStateBlock(" + N(object->GetStateBlock()) + ")",
        RS(D3DRS_TEXTUREFACTOR, 0x80FF0000u),
        RS(D3DRS_ZENABLE, 0),
        RS(D3DRS_ZWRITEENABLE, 0),
        RS(D3DRS_FOGENABLE, 0),
        RS(D3DRS_ALPHABLENDENABLE, 1),
        RS(D3DRS_ALPHATESTENABLE, 1),
        RS(D3DRS_SPECULARENABLE, 0),
        RS(D3DRS_FILLMODE, D3DFILL_SOLID),
        "SetTransform(3, 1)",
        "SetTransform(2, 1)",
        "SetTransform(256, 1)",
        "SetStreamSource(0, " + vertexBuffer + ", 24)",
        "SetVertexShader(322)",
        "SetPixelShader(0)",
        "SetTexture(0, 0)",
        "SetMaterial(1)",
        RS(D3DRS_ALPHATESTENABLE, 1),
        RS(D3DRS_ALPHABLENDENABLE, 1),
        TSS(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
        TSS(0, D3DTSS_ALPHAARG0, D3DTA_CURRENT),
        TSS(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE),
        TSS(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR),
        TSS(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
        TSS(0, D3DTSS_COLORARG0, D3DTA_CURRENT),
        TSS(0, D3DTSS_COLORARG1, D3DTA_TEXTURE),
        TSS(0, D3DTSS_COLORARG2, D3DTA_TFACTOR),
        RS(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
        RS(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA),
        TSS(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP),
        TSS(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP),
        TSS(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR),
        TSS(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR),
        TSS(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR),
        "SetTexture(0, " + N(D3D8ObjectNumber(texture->GetDeviceTexture())) + ")",
        RS(D3DRS_CULLMODE, D3DCULL_NONE),
        "SetIndices(" + N(IndexNumber(object)) + ", 0)",
        "DrawIndexedPrimitive(5, 0, 4, 0, 2)"};
    EXPECT_EQ(TraceRender(object), expected);

    // Without a texture the factor alone colours the part.
    ASSERT_EQ(object->ReleaseTextureStage(0), RES_OK);
    const std::vector<std::string> factor = TraceRender(object);
    const std::vector<std::string> part(factor.begin() + 15, factor.end());
    const std::vector<std::string> expectedPart = {"SetTexture(0, 0)",
                                                   "SetMaterial(1)",
                                                   RS(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA),
                                                   RS(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA),
                                                   TSS(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE),
                                                   TSS(0, D3DTSS_ALPHAARG0, D3DTA_CURRENT),
                                                   TSS(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE),
                                                   TSS(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR),
                                                   TSS(0, D3DTSS_COLOROP, D3DTOP_MODULATE),
                                                   TSS(0, D3DTSS_COLORARG0, D3DTA_CURRENT),
                                                   TSS(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE),
                                                   TSS(0, D3DTSS_COLORARG2, D3DTA_TFACTOR),
                                                   RS(D3DRS_CULLMODE, D3DCULL_NONE),
                                                   "SetIndices(" + N(IndexNumber(object)) + ", 0)",
                                                   "DrawIndexedPrimitive(5, 0, 4, 0, 2)"};
    EXPECT_EQ(part, expectedPart);
}

TEST_F(ObjectDX81Test, ThePointFormatDrawsPointListsWithItsPointSize)
{
    C3DObjectDX81* points = MakeQuads(kFormatColor, 0);
    points->SetPointSize(0.5f);
    const std::vector<std::string> calls = TraceRender(points);
    EXPECT_NE(std::find(calls.begin(), calls.end(), RS(D3DRS_POINTSIZE, D3D8FloatBits(31.5f))), calls.end());
    EXPECT_EQ(calls.back(), "DrawPrimitive(1, 0, 2)");
    // RenderPart skips the depth-test state.
    Device()->BeginScene();
    D3D8TraceStart();
    EXPECT_EQ(points->RenderPart(0), RES_OK);
    EXPECT_EQ(points->RenderPart(1), RES_FAIL);
    D3D8TraceStop();
    Device()->EndScene();
    for (const CD3D8TraceCall& call : Calls("IDirect3DDevice8::SetRenderState"))
        EXPECT_NE(call.args[0], static_cast<uint64_t>(D3DRS_ZENABLE));
}

TEST_F(ObjectDX81Test, APartWhoseIdNamesAnotherDrawsThatPartWithItsMaterial)
{
    C3DObjectDX81* object = MakeQuads(kFormatColorTex, kObjectMaterials, 2);
    object->GetMaterial(1)->diffuse[0] = 0.5f;
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 4, 0, 4, 2, kPrimitiveTriangleStrip, kCullNone, 1), RES_OK);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    const std::vector<std::string> calls = TraceRender(object);
    const std::string draw = "DrawIndexedPrimitive(5, 0, 4, 4, 2)";
    const std::string select = "SetIndices(" + N(IndexNumber(object)) + ", 4)";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), draw), 2);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), select), 2);
    EXPECT_EQ(D3D8InspectState(Device()).material.Diffuse.r, 0.5f);
}

TEST_F(ObjectDX81Test, RecordsNamingNoRecordOrReachingPastTheBuffersAreNotDrawn)
{
    C3DObjectDX81* object = MakeQuads(kFormatColorTex, 0, 3);
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->SetPrimitiveGroup(0, 0, 4, 0, 4, 2, kPrimitiveTriangleStrip, kCullNone, 7), RES_OK);
    EXPECT_EQ(object->SetPrimitiveGroup(1, 4, 4, 10, 4, 2, kPrimitiveTriangleStrip, kCullNone, kPartNumberId), RES_OK);
    EXPECT_EQ(object->SetPrimitiveGroup(2, 8, 4, 8, 4, 2, 9, kCullNone, kPartNumberId), RES_OK);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    TraceRender(object);
    EXPECT_TRUE(Calls("IDirect3DDevice8::DrawIndexedPrimitive").empty());
    EXPECT_EQ(object->ApplyPartState(0), RES_FAIL);
    EXPECT_EQ(object->DrawVertices(0, 10, 2, kPrimitiveTriangleStrip, -1), RES_FAIL);
    EXPECT_EQ(object->DrawVertices(0, 0, 2, 6, -1), RES_FAIL);
}

TEST_F(ObjectDX81Test, PartDrawsHandTheCullCodeOverWhileVertexRangesReadIt)
{
    C3DObjectDX81* object = MakeQuads(kFormatColorTex, 0, 4);
    ASSERT_EQ(object->Lock(), RES_OK);
    for (uint32_t code = 0; code < 4; ++code)
        object->SetCullMode(code, code);
    EXPECT_EQ(object->Unlock(0), RES_OK);
    TraceRender(object);
    std::vector<uint64_t> culls;
    for (const CD3D8TraceCall& call : Calls("IDirect3DDevice8::SetRenderState")) {
        if (call.args[0] == D3DRS_CULLMODE)
            culls.push_back(call.args[1]);
    }
    EXPECT_EQ(culls, (std::vector<uint64_t>{D3DCULL_NONE, D3DCULL_NONE, D3DCULL_CW, D3DCULL_CCW}));

    Device()->BeginScene();
    ASSERT_EQ(object->ApplyPartState(1), RES_OK);
    EXPECT_EQ(object->DrawVertices(0, 4, 2, kPrimitiveTriangleStrip, kCullCounterClockwise), D3D_OK);
    EXPECT_EQ(D3D8InspectState(Device()).Render(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CCW));
    EXPECT_EQ(object->DrawVertices(0, 4, 2, kPrimitiveTriangleStrip, kCullClockwise), D3D_OK);
    EXPECT_EQ(D3D8InspectState(Device()).Render(D3DRS_CULLMODE), static_cast<DWORD>(D3DCULL_CW));
    D3D8TraceStart();
    EXPECT_EQ(object->DrawVertices(0, 0, 3, -1, -1), D3D_OK);
    EXPECT_EQ(object->RenderPartGeometry(2), RES_OK);
    D3D8TraceStop();
    Device()->EndScene();
    const std::vector<std::string> expected = {RS(D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu),
                                               RS(D3DRS_CULLMODE, D3DCULL_CCW),
                                               "DrawPrimitive(1, 0, 3)",
                                               "SetTransform(3, 1)",
                                               "SetTransform(2, 1)",
                                               "SetTransform(256, 1)",
                                               "SetStreamSource(0, " + N(D3D8ObjectNumber(object->GetVertexBuffer())) +
                                                   ", 24)",
                                               "SetVertexShader(322)",
                                               "SetPixelShader(0)",
                                               "SetIndices(" + N(IndexNumber(object)) + ", 8)",
                                               "DrawIndexedPrimitive(5, 0, 4, 8, 2)"};
    EXPECT_EQ(Sequence(), expected);
}

TEST_F(ObjectDX81Test, ApplyPartStateSetsNeitherPointSizeNorCullMode)
{
    C3DObjectDX81* points = MakeQuads(kFormatColor, kObjectStateBlock);
    Device()->BeginScene();
    D3D8TraceStart();
    ASSERT_EQ(points->ApplyPartState(0), RES_OK);
    D3D8TraceStop();
    Device()->EndScene();
    for (const CD3D8TraceCall& call : Calls("IDirect3DDevice8::SetRenderState")) {
        EXPECT_NE(call.args[0], static_cast<uint64_t>(D3DRS_POINTSIZE));
        EXPECT_NE(call.args[0], static_cast<uint64_t>(D3DRS_CULLMODE));
        EXPECT_NE(call.args[0], static_cast<uint64_t>(D3DRS_ZENABLE));
    }
    EXPECT_EQ(Calls("IDirect3DDevice8::ApplyStateBlock").size(), 1u);
    EXPECT_EQ(Calls("IDirect3DDevice8::SetIndices").size(), 1u);
    EXPECT_TRUE(Calls("IDirect3DDevice8::DrawIndexedPrimitive").empty());
}

// ---- The recorded state --------------------------------------------------------------------

TEST_F(ObjectDX81Test, TheStateBlockHoldsTheObjectsFixedState)
{
    Data()->lighting[0] = 1;
    Data()->lights[0].enable[0] = 1;
    Data()->ambientColor = 0x00404040u;
    const uint32_t flagsB = kObjectLights | kObjectLighting | kObjectMaterials | kObjectAlphaTest |
                            kObjectDepthTest | kObjectDepthWrite | kObjectTextureFactor | kTextureStage0;
    C3DObjectDX81* object = MakeQuads(kFormatNormalTex, flagsB);
    const CD3D8StateBlock* block = D3D8InspectStateBlock(Device(), object->GetStateBlock());
    ASSERT_NE(block, nullptr);
    DWORD value = 0;
    auto render = [&](D3DRENDERSTATETYPE state) {
        value = 0xDEAD;
        EXPECT_TRUE(block->FindRenderState(state, &value)) << state;
        return value;
    };
    EXPECT_EQ(render(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(render(D3DRS_ZENABLE), static_cast<DWORD>(D3DZB_TRUE));
    EXPECT_EQ(render(D3DRS_ZWRITEENABLE), 1u);
    EXPECT_EQ(render(D3DRS_FOGENABLE), 0u);
    EXPECT_EQ(render(D3DRS_TEXTUREFACTOR), 0xFFFFFFFFu);
    EXPECT_EQ(render(D3DRS_AMBIENT), 0x00404040u);
    EXPECT_EQ(render(D3DRS_ALPHATESTENABLE), 1u);
    EXPECT_EQ(render(D3DRS_ALPHAREF), 1u);
    EXPECT_EQ(render(D3DRS_DIFFUSEMATERIALSOURCE), static_cast<DWORD>(D3DMCS_COLOR1));
    EXPECT_EQ(render(D3DRS_EMISSIVEMATERIALSOURCE), static_cast<DWORD>(D3DMCS_MATERIAL));
    EXPECT_EQ(render(D3DRS_NORMALIZENORMALS), 1u);
    EXPECT_EQ(render(D3DRS_POINTSPRITEENABLE), 0u);
    EXPECT_TRUE(block->FindStageState(0, D3DTSS_COLORARG1, &value));
    EXPECT_EQ(value, D3DTA_TFACTOR);
    EXPECT_TRUE(block->FindStageState(0, D3DTSS_ALPHAARG2, &value));
    EXPECT_EQ(value, D3DTA_TEXTURE);
    EXPECT_TRUE(block->FindStageState(1, D3DTSS_COLOROP, &value));
    EXPECT_EQ(value, static_cast<DWORD>(D3DTOP_DISABLE));
    bool enabled = false;
    EXPECT_TRUE(block->FindLightEnable(0, &enabled));
    EXPECT_TRUE(enabled);
    EXPECT_TRUE(block->FindLightEnable(1, &enabled));
    EXPECT_FALSE(enabled);
    EXPECT_TRUE(block->FindLightEnable(2, &enabled));
    IDirect3DBaseTexture8* texture = nullptr;
    EXPECT_TRUE(block->FindTexture(0, &texture));
    EXPECT_EQ(texture, nullptr);

    // Recording again captures into the same block.
    const DWORD token = object->GetStateBlock();
    D3D8TraceStart();
    ASSERT_EQ(object->Lock(), RES_OK);
    EXPECT_EQ(object->Unlock(1), RES_OK);
    D3D8TraceStop();
    EXPECT_TRUE(Calls("IDirect3DDevice8::BeginStateBlock").empty());
    ASSERT_EQ(Calls("IDirect3DDevice8::CaptureStateBlock").size(), 1u);
    EXPECT_EQ(Calls("IDirect3DDevice8::CaptureStateBlock")[0].args[0], token);
    EXPECT_EQ(object->GetStateBlock(), token);
}

TEST_F(ObjectDX81Test, ThePointFormatRecordsItsSpriteState)
{
    Data()->lighting[0] = 1;
    C3DObjectDX81* points = MakeQuads(kFormatColor, kObjectLighting);
    const CD3D8StateBlock* block = D3D8InspectStateBlock(Device(), points->GetStateBlock());
    ASSERT_NE(block, nullptr);
    DWORD value = 0;
    EXPECT_TRUE(block->FindRenderState(D3DRS_LIGHTING, &value));
    EXPECT_EQ(value, 0u);
    EXPECT_TRUE(block->FindRenderState(D3DRS_POINTSPRITEENABLE, &value));
    EXPECT_EQ(value, 1u);
    EXPECT_TRUE(block->FindRenderState(D3DRS_POINTSIZE, &value));
    EXPECT_EQ(value, D3D8FloatBits(Data()->pointSpriteMaxSize));
    EXPECT_TRUE(block->FindRenderState(D3DRS_POINTSIZE_MAX, &value));
    EXPECT_EQ(value, D3D8FloatBits(100.0f));
    EXPECT_TRUE(block->FindRenderState(D3DRS_SHADEMODE, &value));
    EXPECT_EQ(value, static_cast<DWORD>(D3DSHADE_FLAT));
    EXPECT_TRUE(block->FindStageState(0, D3DTSS_COLORARG2, &value));
    EXPECT_EQ(value, D3DTA_TFACTOR);
}

TEST_F(ObjectDX81Test, DestroyingReleasesTheBuffersAndTheBlockOnce)
{
    C3DObjectDX81* object = MakeQuads(kFormatColorTex, 0);
    const DWORD token = object->GetStateBlock();
    const UINT live = D3D8InspectDevice(Device()).liveResources;
    const UINT blocks = D3D8InspectDevice(Device()).stateBlocks;
    D3D8TraceStart();
    EXPECT_EQ(Engine()->DestroyObject(object), RES_OK);
    D3D8TraceStop();
    EXPECT_EQ(D3D8InspectDevice(Device()).liveResources, live - 2);
    EXPECT_EQ(D3D8InspectDevice(Device()).stateBlocks, blocks - 1);
    ASSERT_EQ(Calls("IDirect3DDevice8::DeleteStateBlock").size(), 1u);
    EXPECT_EQ(Calls("IDirect3DDevice8::DeleteStateBlock")[0].args[0], token);
    EXPECT_EQ(Calls("IDirect3DDevice8::Release").size(), 2u);
}
