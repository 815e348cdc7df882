#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include "core/Stream.h"
#include "core/WorldData.h"
#include "game/LevelHost.h"
#include "game/widgets/Toolbar.h"

CLevelVadadiDazidev::CLevelVadadiDazidev(CWorldData* data, C3DEngine* engine, uint32_t id) : CLevelWithRecords(data, engine, id)
{
    m_nType = kLevelTypeHiddenObject;
    m_nFirstVisitIndex = 0;
}

Result CLevelVadadiDazidev::Release()
{
    for (uint32_t n = 0; n < m_nRecordCount; ++n) {
        if (CHiddenObjectRecord* record = RecordAt(n))
            static_cast<CHiddenObjectFields&>(*record) = CHiddenObjectFields{};
    }
    return CLevelWithRecords::Release();
}

Result CLevelVadadiDazidev::LoadDescription(CStream* stream)
{
    if (Failed(CLevel::LoadDescription(stream)))
        return RES_FAIL;
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        if (m_pPartOrder[n] >= m_nPartCount)
            return RES_FAIL;
    }
    return ReadOwnRecords(*stream, [this](CStream& s, CHiddenObjectRecord& record) {
        return ReadHiddenObjectFields(s, record, m_pWorldData);
    });
}

// True when the toolbar lists nothing to find.
bool CLevelVadadiDazidev::IsToolbarEmpty() const
{
    CToolbar* toolbar = Toolbar();
    return !toolbar || toolbar->GetActiveShown() == 0;
}

bool CLevelVadadiDazidev::IsHintRechargePaused()
{
    return IsToolbarHidden() || IsToolbarEmpty();
}

bool CLevelVadadiDazidev::IsPlayerHelpLocked()
{
    return IsToolbarHidden() || m_nSceneState == kStateArrows || IsToolbarEmpty();
}

CToolbar* CLevelVadadiDazidev::Toolbar() const
{
    CLevelHost* world = World();
    return world ? world->GetToolbar() : nullptr;
}

const CStateBlock& CLevelVadadiDazidev::StateBlock()
{
    static const CStateBlock kNone = {{kNoPopup, 0, 0, 0}, {kNoPopup, 0, 0, 0}, 0, 0, 0, kNoTarget, kNoTarget,
                                      kStateArrows, nullptr, nullptr};
    CHiddenObjectRecord* record = Record();
    return record && m_nSceneState < kSearchStateCount ? record->states[m_nSceneState] : kNone;
}

uint32_t CLevelVadadiDazidev::GetInitialState(uint32_t record)
{
    return record < m_nRecordCount ? m_records[record].initialState : kSceneStateFresh;
}

uint32_t CLevelVadadiDazidev::GetNextState(uint32_t record, uint32_t kind)
{
    return record < m_nRecordCount && kind < kSearchStateCount ? m_records[record].states[kind].nextState
                                                               : kSceneStateFresh;
}

void CLevelVadadiDazidev::SetExtraSeconds(uint32_t record, uint32_t kind, uint32_t seconds)
{
    if (record < m_nRecordCount && kind < kSearchStateCount)
        m_records[record].states[kind].extraSeconds = seconds;
}

void CLevelVadadiDazidev::SetRecordZoom(uint32_t record, float zoom)
{
    if (record < m_nRecordCount)
        m_records[record].zoom = zoom;
}
