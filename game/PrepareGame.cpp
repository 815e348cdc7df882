#include <algorithm>
#include <iterator>
#include <new>

#include "base/WideFormat.h"
#include "core/Log.h"
#include "game/Construction.h"
#include "game/GameTimer.h"
#include "game/GameTooltip.h"
#include "game/SoundNames.h"
#include "game/StreamValues.h"
#include "game/VadadiDazidevWorld.h"
#include "modules/AudioEngine.h"

// The construction file "<raw folder>_construct.raw" and the objects it names: every level,
// tooltip, labels and timer object with its description file, the tutorial table and the
// sound bank.

namespace {

const char16_t kPrepareMissing[] = u"# CVadadiDazidevWorld::OnPrepareGame failed! \"%s\" is missing !!!\n";
const char16_t kSoundNamesFile[] = u"strings/_sounds.ascii.ucs2.raw";
// A tooltip is addressed by one byte in the actions that show, hide and tell it.
constexpr uint32_t kMaxTooltips = 256;
constexpr uint32_t kConstructTailBytes = sizeof(uint32_t) + sizeof(uint8_t) + sizeof(float);

template <typename T>
std::unique_ptr<T[]> NewArray(uint32_t count)
{
    return std::unique_ptr<T[]>(new (std::nothrow) T[count ? count : 1]());
}

} // namespace

Result CVadadiDazidevWorld::OnPrepareGame()
{
    RandomSeed(m_pData->random, 0);
    std::unique_ptr<uint32_t[]> levelTypes;
    if (Failed(ReadConstructFile(levelTypes)) || Failed(MakeLevels(levelTypes.get())) || Failed(MakeTooltips()) ||
        Failed(MakeHelperObject(kSceneTypeLabels, u"%s_labels_%u.raw", m_pLabels)) ||
        Failed(MakeHelperObject(kSceneTypeTimer, u"%s_timer_%u.raw", m_pTimer)) || Failed(ReadTutorialTable()))
        return RES_FAIL;
    return m_pAudioEngine && Failed(MakeSoundBank()) ? RES_FAIL : RES_OK;
}

std::unique_ptr<CStream> CVadadiDazidevWorld::OpenRawFile(const char16_t* path, bool headerCheck,
                                                           const char16_t* missingLine, CPackerFile* pak)
{
    std::unique_ptr<CStream> stream = CheckConstruction(m_pData, path, headerCheck, pak);
    if (!stream)
        LogPrintf(m_pData->logPath, 1, missingLine, path);
    return stream;
}

// Construction number, level count and types, tooltip count, tutorial flag, ratio.
Result CVadadiDazidevWorld::ReadConstructFile(std::unique_ptr<uint32_t[]>& levelTypes)
{
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s_construct.raw", m_GameData.m_szRawFolder);
    std::unique_ptr<CStream> stream = OpenRawFile(path, true, kPrepareMissing);
    if (!stream)
        return RES_FAIL;
    uint32_t number = 0;
    uint32_t levelCount = 0;
    if (!ReadValue(*stream, number) || !ReadValue(*stream, levelCount) ||
        uint64_t{levelCount} * sizeof(uint32_t) + kConstructTailBytes > stream->BytesLeft())
        return RES_FAIL;
    levelTypes = NewArray<uint32_t>(levelCount);
    uint32_t tooltipCount = 0;
    uint8_t tutorial = 0;
    float ratio = 0.0f;
    if (!levelTypes || !stream->Read(levelTypes.get(), sizeof(uint32_t), levelCount) ||
        !ReadValue(*stream, tooltipCount) || tooltipCount > kMaxTooltips || !ReadValue(*stream, tutorial) ||
        !ReadValue(*stream, ratio))
        return RES_FAIL;
    m_GameData.m_nConstructionNumber = number;
    m_nSceneCount = levelCount;
    m_nTooltipCount = tooltipCount;
    m_GameData.m_bTutorial = tutorial;
    m_GameData.m_fConstructRatio = ratio;
    IgnoreResult(stream->Close());
    return RES_OK;
}

Result CVadadiDazidevWorld::MakeLevels(const uint32_t* levelTypes)
{
    m_pScenes = NewArray<std::unique_ptr<CGameLevel>>(m_nSceneCount);
    if (!m_pScenes) {
        m_nSceneCount = 0;
        return RES_OUT_OF_MEMORY;
    }
    for (uint32_t i = 0; i < m_nSceneCount; ++i) {
        m_pScenes[i] = m_LevelFactory.MakeLevel(levelTypes[i], m_pData, m_p3DEngine.get(), i);
        if (!m_pScenes[i] || Failed(DescribeObject(*m_pScenes[i], u"%s_level_%u.raw", i)))
            return RES_FAIL;
    }
    return RES_OK;
}

Result CVadadiDazidevWorld::MakeTooltips()
{
    m_pTooltips = NewArray<std::unique_ptr<CSceneObject3D>>(m_nTooltipCount);
    if (!m_pTooltips) {
        m_nTooltipCount = 0;
        return RES_OUT_OF_MEMORY;
    }
    for (uint32_t j = 0; j < m_nTooltipCount; ++j) {
        m_pTooltips[j] = m_LevelFactory.MakeObject(kSceneTypeTooltip, m_pData, m_p3DEngine.get(), j);
        if (!m_pTooltips[j] || Failed(DescribeObject(*m_pTooltips[j], u"%s_tooltip_%u.raw", j)))
            return RES_FAIL;
    }
    return RES_OK;
}

// The labels or the timer (id 0), described and then given its files.
Result CVadadiDazidevWorld::MakeHelperObject(uint32_t type, const char16_t* nameFormat,
                                             std::unique_ptr<CSceneObject3D>& object)
{
    object = m_LevelFactory.MakeObject(type, m_pData, m_p3DEngine.get(), 0);
    if (!object || Failed(DescribeObject(*object, nameFormat, 0)))
        return RES_FAIL;
    return Failed(object->LoadFiles()) ? RES_FAIL : RES_OK;
}

Result CVadadiDazidevWorld::DescribeObject(CSceneObject3D& object, const char16_t* nameFormat, uint32_t id)
{
    if (Failed(object.Init()))
        return RES_FAIL;
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, nameFormat, m_GameData.m_szRawFolder, id);
    std::unique_ptr<CStream> stream = OpenRawFile(path, true, kPrepareMissing);
    if (!stream || Failed(object.LoadDescription(stream.get())))
        return RES_FAIL;
    IgnoreResult(stream->Close());
    return RES_OK;
}

Result CVadadiDazidevWorld::ReadTutorialTable()
{
    char16_t path[kMaxPathUnits];
    WFormat(path, kMaxPathUnits, u"%s_menu_tuto.raw", m_GameData.m_szRawFolder);
    std::unique_ptr<CStream> stream = OpenRawFile(path, true, kPrepareMissing);
    uint32_t table[kTutorialEntries];
    if (!stream || !stream->Read(table, sizeof(uint32_t), kTutorialEntries))
        return RES_FAIL;
    std::copy(std::begin(table), std::end(table), m_GameData.m_TutorialTable);
    IgnoreResult(stream->Close());
    return RES_OK;
}

// The sound-name table, then one empty sound of the audio engine per name.
Result CVadadiDazidevWorld::MakeSoundBank()
{
    std::unique_ptr<CStream> stream = OpenRawFile(kSoundNamesFile, false, kPrepareMissing);
    CSoundNames names;
    if (!stream || Failed(ReadSoundNames(*stream, names)))
        return RES_FAIL;
    IgnoreResult(stream->Close());
    std::unique_ptr<CSoundBankEntry[]> bank = NewArray<CSoundBankEntry>(names.count);
    if (!bank)
        return RES_OUT_OF_MEMORY;
    m_GameData.m_pSoundNames = std::move(names.units);
    m_GameData.m_pSoundNameOffsets = std::move(names.offsets);
    m_GameData.m_pSounds = std::move(bank);
    m_GameData.m_nSoundCount = names.count;
    for (uint16_t i = 0; i < names.count; ++i) {
        m_GameData.m_pSounds[i].m_nState = 0;
        m_GameData.m_pSounds[i].m_pSound = m_pAudioEngine->CreateAudio(0, 0);
        if (!m_GameData.m_pSounds[i].m_pSound)
            return RES_FAIL;
    }
    return RES_OK;
}

void CVadadiDazidevWorld::ReleaseLevels()
{
    auto release = [](auto& object) {
        if (object)
            IgnoreResult(object->Release());
        object.reset();
    };
    for (uint32_t i = 0; m_pScenes && i < m_nSceneCount; ++i)
        release(m_pScenes[i]);
    for (uint32_t j = 0; m_pTooltips && j < m_nTooltipCount; ++j)
        release(m_pTooltips[j]);
    release(m_pLabels);
    release(m_pTimer);
    m_pScenes.reset();
    m_pTooltips.reset();
}
