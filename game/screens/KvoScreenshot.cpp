#include "game/screens/KvoScreenshot.h"

#include <algorithm>

#include "base/WideFormat.h"
#include "base/WideString.h"
#include "core/FrameTimer.h"
#include "core/ParamsReader.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Camera.h"
#include "engine3d/Engine.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "game/widgets/ScreenQuads.h"
#include "world/ModuleRegistry.h"

namespace {

constexpr float kDefaultSpeed = 0.075f;
constexpr uint32_t kRotationParts = 4;
constexpr uint32_t kNoRotationPart = 0xFFFFFFFFu;
constexpr size_t kKeyUnits = 64;

uint32_t NextPowerOfTwo(uint32_t value)
{
    uint32_t power = 1;
    while (power < value && power < 0x80000000u)
        power <<= 1;
    return power;
}

// The share of a texture side that a frame side fills.
float Share(uint32_t frame, uint32_t texture)
{
    return texture ? std::min(1.0f, static_cast<float>(frame) / static_cast<float>(texture)) : 1.0f;
}

// Texture coordinates of the copied frame's corners.
struct CCopiedArea {
    Vector2 topLeft, topRight, bottomLeft, bottomRight;
};

// An OpenGL copy fills the lower left of the power-of-two texture, its first row at the bottom;
// the other copies fill the whole texture top-down.
CCopiedArea CopiedArea(ScreenshotCopy copy, const C3DTexture& texture, uint32_t width, uint32_t height)
{
    if (copy != ScreenshotCopy::PowerOfTwo)
        return {{0.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}};
    const float right = Share(width, NextPowerOfTwo(texture.GetWidth()));
    const float top = 1.0f - Share(height, NextPowerOfTwo(texture.GetHeight()));
    return {{0.0f, top}, {right, top}, {0.0f, 1.0f}, {right, 1.0f}};
}

// Parts by rotation mode: 0 upright (mode 1), 1 half turn (mode 2), 2 quarter turn left (mode 4),
// 3 quarter turn right (mode 3). Each corner shows the copied texel that the turned screen put there.
void RotationQuads(const CCopiedArea& a, float width, float height, CScreenQuad quads[kRotationParts])
{
    const CScreenQuad screen = CenteredQuad(0.0f, 0.0f, width, height);
    const Vector2 uvs[kRotationParts][4] = {
        {a.topLeft, a.topRight, a.bottomLeft, a.bottomRight},
        {a.bottomRight, a.bottomLeft, a.topRight, a.topLeft},
        {a.bottomLeft, a.topLeft, a.bottomRight, a.topRight},
        {a.topRight, a.bottomRight, a.topLeft, a.bottomLeft},
    };
    for (uint32_t p = 0; p < kRotationParts; ++p) {
        quads[p] = screen;
        std::copy(uvs[p], uvs[p] + 4, quads[p].uvs);
    }
}

uint32_t RotationPart(uint32_t mode)
{
    switch (mode) {
    case kOrientationNormal: return 0;
    case kOrientationHalfTurn: return 1;
    case kOrientationQuarterRight: return 3;
    case kOrientationQuarterLeft: return 2;
    default: return kNoRotationPart;
    }
}

} // namespace

ScreenshotCopy ScreenshotCopyOf(uint32_t moduleCode)
{
    switch (moduleCode) {
    case kModuleCodeOpenGL:
    case kModuleCodeOpenGLES: return ScreenshotCopy::PowerOfTwo;
    case kModuleCodeDX81:
    case kModuleCodeDX9:
    case kModuleCodeDX10:
    case kModuleCodeDXMobile:
    case kModuleCodeFlash: return ScreenshotCopy::Exact;
    default: return ScreenshotCopy::Blank;
    }
}

const char16_t* ScreenshotTextureKey(ScreenshotCopy copy, uint32_t width, uint32_t height, char16_t* key,
                                     size_t units)
{
    if (copy == ScreenshotCopy::Blank) {
        WStrCopy(key, units, u"BLANK_TEXTURE_FILE_NAME");
        return u"blank.png";
    }
    if (copy == ScreenshotCopy::PowerOfTwo) {
        width = NextPowerOfTwo(width);
        height = NextPowerOfTwo(height);
    }
    WFormat(key, units, u"SCREENSHOT_%ux%u_TEXTURE", width, height);
    return u"screenshot.png";
}

CKvoScreenshot::CKvoScreenshot(CWorldData* data, C3DEngine* engine) : m_pData(data), m_pEngine(engine) {}

Result CKvoScreenshot::Load()
{
    if (!m_pData || !m_pEngine)
        return RES_FAIL;
    CParamsReader* params = m_pData->gameParams;
    m_fSpeed = params ? static_cast<float>(params->GetFloat(u"TEXTURES", u"SCREENSHOT_FADE_RATIO_SPEED", kDefaultSpeed))
                      : kDefaultSpeed;
    const CModuleDescriptor* module = m_pData->chosenModules[kModule3D].descriptor;
    const ScreenshotCopy copy = ScreenshotCopyOf(module ? module->code : 0);
    const uint32_t frameWidth = m_pData->workingWidth;
    const uint32_t frameHeight = m_pData->workingHeight;
    char16_t key[kKeyUnits];
    const char16_t* file = ScreenshotTextureKey(copy, frameWidth, frameHeight, key, kKeyUnits);
    m_pTexture = AutoLoadTextureFromParamEx(kSourcePacker, kGameTextureFlags, kGameTextureParameter, u"TEXTURES", key,
                                            file, params, m_pEngine);
    if (!m_pTexture)
        return RES_FAIL;
    const float width = m_pData->configuredWidth;
    const float height = m_pData->configuredHeight;
    CScreenQuad quads[kRotationParts];
    RotationQuads(CopiedArea(copy, *m_pTexture, frameWidth, frameHeight), width, height, quads);
    m_pQuad = MakeQuadObject(m_pEngine, quads, kRotationParts);
    if (!m_pQuad || Failed(m_pQuad->SetTextureAll(m_pTexture, 0)))
        return RES_FAIL;
    const Vector3 centre{width * 0.5f, height * 0.5f, 0.0f};
    return Failed(m_pQuad->Translate(&centre)) ? RES_FAIL : RES_OK;
}

Result CKvoScreenshot::Release()
{
    Result result = ReleaseQuadObject(m_pEngine, m_pQuad);
    if (m_pTexture)
        result = ReleaseScreenTexture(m_pEngine, m_pTexture);
    return result;
}

Result CKvoScreenshot::Process()
{
    if (m_fAlpha != 0.0f && m_pData)
        m_fAlpha = std::max(0.0f, m_fAlpha - static_cast<float>(m_pData->frameFactor * m_fSpeed));
    return RES_OK;
}

Result CKvoScreenshot::Render()
{
    if (m_fAlpha == 0.0f || !m_pQuad)
        return RES_OK;
    m_pQuad->SetAlpha(static_cast<uint8_t>(m_fAlpha * 255.0f));
    return RenderRotationPart();
}

Result CKvoScreenshot::StartFade(uint8_t subImage, uint8_t wholeScreen, uint8_t luminance, int32_t level)
{
    if (!m_pTexture || !m_pQuad || Failed(m_pTexture->CopyFrom(subImage, wholeScreen, luminance, level)))
        return RES_FAIL;
    if (m_pData->frameTimer)
        IgnoreResult(m_pData->frameTimer->Tick());
    m_fAlpha = 1.0f;
    return RES_OK;
}

Result CKvoScreenshot::Show()
{
    if (!m_pQuad)
        return RES_OK;
    m_pQuad->SetAlpha(255);
    return RenderRotationPart();
}

Result CKvoScreenshot::RenderRotationPart()
{
    const C3DCamera* camera = m_pEngine->GetCamera();
    const uint32_t part = RotationPart(camera ? camera->GetOrientation() : 0);
    return part == kNoRotationPart ? RES_OK : m_pQuad->RenderPart(part);
}
