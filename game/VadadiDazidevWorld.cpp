#include "game/VadadiDazidevWorld.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/FileSystem.h"
#include "core/ParamsReader.h"
#include "base/WideFormat.h"
#include "base/WideString.h"
#include "platform/win32/Win32System.h"

namespace {

constexpr size_t kPathUnits = 520;
constexpr uint8_t kOptionsMarker = 2;

bool IsPointerMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return true;
    default:
        return false;
    }
}

WORD ScaleCoordinate(WORD value, float factor)
{
    if (!(factor > 0.0f))
        return value;
    return static_cast<WORD>(std::floor(static_cast<float>(value) / factor));
}

} // namespace

CVadadiDazidevWorld::CVadadiDazidevWorld()
{
    memset(&m_GameData, 0, sizeof(m_GameData));
    m_GameData.m_pWorld = this;
    if (m_pData) {
        m_pData->gameData = &m_GameData;
        m_pData->sceneGameData = &m_GameData;
    }
}

Result CVadadiDazidevWorld::Load(WindowHandle window, uint16_t width, uint16_t height, uint8_t colorDepth,
                                 uint8_t fullscreen, uint8_t resizable, uint8_t vSync, uint32_t orientation,
                                 const char16_t* dataFolder, uint16_t reserved1, uint16_t reserved2)
{
    Result result = CWorld::Load(window, width, height, colorDepth, fullscreen, resizable, vSync, orientation,
                                 dataFolder, reserved1, reserved2);
    if (Failed(result))
        return result;
    RaiseHostEvent(kHostEventLoadBegin);
    RaiseHostEvent(kHostEventLoadEnd);
    return RES_OK;
}

Result CVadadiDazidevWorld::Release()
{
    return CWorld::Release();
}

Result CVadadiDazidevWorld::OnMessage(CWorldMessage* message)
{
    if (message && m_pData && IsPointerMessage(message->message)) {
        auto position = static_cast<uintptr_t>(message->lParam);
        message->lParam = MAKELPARAM(ScaleCoordinate(LOWORD(position), m_pData->scaleX),
                                     ScaleCoordinate(HIWORD(position), m_pData->scaleY));
    }
    return CWorld::OnMessage(message);
}

Result CVadadiDazidevWorld::Update()
{
    return CWorld::Update();
}

Result CVadadiDazidevWorld::Render()
{
    return RES_OK;
}

Result CVadadiDazidevWorld::GetTitle(const char16_t*, const char16_t* fallback, char16_t* out, size_t capacity)
{
    WStrCopy(out, capacity, fallback ? fallback : u"");
    return RES_OK;
}

void CVadadiDazidevWorld::ReadAppName()
{
    const CParamsReader* params = m_pData ? m_pData->gameParams : nullptr;
    if (params)
        params->GetString(u"PATH", u"APP_NAME", u"undefined", m_GameData.m_szAppName, kAppNameUnits);
    else
        WStrCopy(m_GameData.m_szAppName, kAppNameUnits, u"undefined");
}

bool CVadadiDazidevWorld::OptionsPath(char16_t* out, size_t capacity) const
{
    char16_t appData[kPathUnits];
    DWORD length = GetEnvironmentVariableW(u"APPDATA", appData, kPathUnits);
    if (length == 0 || length >= kPathUnits)
        return false;
    const char16_t* name = m_GameData.m_szAppName;
    size_t written = WFormat(out, capacity, u"%s/%s/%s/%s.v1.%s", appData, u"Kvo Adventure", name, name, u"options.sav");
    return written + 1 < capacity;
}

Result CVadadiDazidevWorld::LoadOptions(uint16_t expectedVersion)
{
    ReadAppName();
    char16_t path[kPathUnits];
    if (!m_pData || !OptionsPath(path, kPathUnits))
        return RES_FAIL;
    FILE* file = OpenFile(path, "rb");
    if (!file)
        return RES_FAIL;
    uint8_t head[4] = {};
    bool read = fread(head, 1, sizeof(head), file) == sizeof(head);
    fclose(file);
    uint16_t version = static_cast<uint16_t>(head[0] | (head[1] << 8));
    if (!read || version != expectedVersion || head[2] != kOptionsMarker)
        return RES_FAIL;
    m_pData->fullscreen = head[3];
    return RES_OK;
}
