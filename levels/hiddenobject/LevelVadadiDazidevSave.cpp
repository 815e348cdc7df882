#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include "core/Stream.h"
#include "game/StreamValues.h"

namespace {

bool WriteGroup(CStream& s, const CLevelPopupGroup& p)
{
    return WriteValue(s, p.popupId) && WriteValue(s, p.repeat) && WriteValue(s, p.value) && WriteValue(s, p.shown);
}

bool ReadGroup(CStream& s, CLevelPopupGroup& p)
{
    return ReadValue(s, p.popupId) && ReadValue(s, p.repeat) && ReadValue(s, p.value) && ReadValue(s, p.shown);
}

// The switch pop-up, then each state block's start and end pop-ups, through one of the above.
template <typename Record, typename Group>
bool EachGroup(Record& record, Group group)
{
    if (!group(record.switchPopup))
        return false;
    for (auto& block : record.states) {
        if (!group(block.startPopup) || !group(block.endPopup))
            return false;
    }
    return true;
}

} // namespace

Result CLevelVadadiDazidev::SaveObjects(CStream* stream)
{
    if (Failed(CLevel::SaveObjects(stream)) || !WriteValue(*stream, m_nSelectedPart) || !WriteValue(*stream, m_bBusy) ||
        !WriteValue(*stream, m_bToggleWasDrawn) || !WriteValue(*stream, m_nRecordCount))
        return RES_FAIL;
    for (uint32_t n = 0; n < m_nRecordCount; ++n) {
        if (!EachGroup(m_records[n], [stream](const CLevelPopupGroup& p) { return WriteGroup(*stream, p); }))
            return RES_FAIL;
    }
    return RES_OK;
}

// A selected part past the parts, or another record count, is refused.
Result CLevelVadadiDazidev::LoadObjects(CStream* stream, uint32_t version)
{
    int32_t selected = 0;
    uint32_t records = 0;
    if (Failed(CLevel::LoadObjects(stream, version)) || !ReadValue(*stream, selected) ||
        (selected != -1 && (selected < 0 || static_cast<uint32_t>(selected) >= m_nPartCount)))
        return RES_FAIL;
    m_nSelectedPart = selected;
    if (!ReadValue(*stream, m_bBusy) || !ReadValue(*stream, m_bToggleWasDrawn) || !ReadValue(*stream, records) ||
        records != m_nRecordCount)
        return RES_FAIL;
    for (uint32_t n = 0; n < m_nRecordCount; ++n) {
        if (!EachGroup(m_records[n],
                       [this, stream](CLevelPopupGroup& p) { return ReadGroup(*stream, p) && IsSavedPopupId(p.popupId); }))
            return RES_FAIL;
    }
    return RES_OK;
}

bool CLevelVadadiDazidev::IsSavedSceneState(uint32_t state) const
{
    return state <= kLastPlainState || state == kSceneStateFresh;
}

Result CLevelVadadiDazidev::LoadProgress(CStream* stream, uint32_t version)
{
    if (Failed(CLevel::LoadProgress(stream, version)))
        return RES_FAIL;
    CHiddenObjectRecord* record = Record();
    if (m_nSceneState == kStateQuiz && record && record->HasQuiz())
        SetUpQuiz();
    return RES_OK;
}
