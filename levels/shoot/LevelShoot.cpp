#include "levels/shoot/LevelShoot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "base/WideFormat.h"
#include "core/Log.h"
#include "core/WorldData.h"
#include "engine3d/AutoLoad.h"
#include "engine3d/Engine.h"
#include "engine3d/FontTypes.h"
#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "game/GameData.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/StreamValues.h"
#include "game/widgets/Hint.h"
#include "game/widgets/ScreenQuads.h"
#include "levels/LevelSounds.h"
#include "levels/minigames/MiniGameDescription.h"
#include "levels/minigames/MiniGameText.h"

namespace {

constexpr uint32_t kShootFirstVisit = 2;
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kGain = 0x0000FF00u, kLoss = 0x00FF0000u, kHitOverlay = 0xFFFF9600u;
constexpr float kFramesPerSecond = 30.0f;
// Texts centred on the x they are drawn at.
constexpr uint16_t kCounterAlign = 3, kCentred = kTextCenterX;

// Instruction steps and their texts.
constexpr uint32_t kFirstStep = 21, kFirstEntryStep = 24;
constexpr uint32_t kIntroText = 29, kHintText = 30, kStarText = 31, kClosingText = 2;

bool WritePopup(CStream& s, const CLevelPopupGroup& p)
{
    return WriteValue(s, p.popupId) && WriteValue(s, p.repeat) && WriteValue(s, p.value) && WriteValue(s, p.shown);
}

} // namespace

CLevelShoot::CLevelShoot(CWorldData* data, C3DEngine* engine, uint32_t id)
    : CLevelWithRecords(data, engine, id, kLevelTypeShoot, kShootFirstVisit)
{
}

CLevelShoot::~CLevelShoot() = default;

Result CLevelShoot::Init()
{
    if (Failed(CLevelMiniGame::Init()) || !m_pEngine)
        return RES_FAIL;
    m_pTargetTexture = m_pEngine->CreateTexture(kGameTextureFlags, kGameTextureParameter);
    return m_pTargetTexture ? RES_OK : RES_FAIL;
}

Result CLevelShoot::Release()
{
    DestroyTexture(m_pTargetTexture);
    IgnoreResult(m_field.Reset(0));
    const Result result = CLevelWithRecords::Release();
    m_targets = CShootTargets{};
    return Failed(result) ? RES_FAIL : RES_OK;
}

Result CLevelShoot::LoadDescription(CStream* stream)
{
    if (Failed(CLevelMiniGame::LoadDescription(stream)) || Failed(ReadShootTargets(*stream, m_targets, m_nPartCount)))
        return RES_FAIL;
    return ReadOwnRecords(*stream, [this](CStream& s, CLevelShootRecord& r) {
        return ReadShootRecord(s, r, m_targets);
    });
}

uint32_t CLevelShoot::SlotCount(const CLevelShootRecord& record) const
{
    return record.gridMode ? uint32_t{record.gridColumns} * record.gridRows : m_targets.count;
}

void CLevelShoot::RebuildCellPoints(CLevelShootRecord& record)
{
    CLevelHost* world = World();
    if (!record.gridMode || !record.cellPoints || !world)
        return;
    const float kx = world->GetFitZoomRatioX(m_fRefWidth, IsToolbarHidden());
    const float ky = world->GetFitZoomRatioY(m_fRefHeight, IsToolbarHeightIgnored());
    const float w0 = IsToolbarHidden() ? 0.0f : world->GetToolbarSize().x;
    for (uint32_t r = 0; r < record.gridRows; ++r) {
        for (uint32_t c = 0; c < record.gridColumns; ++c) {
            CPoint3& p = record.cellPoints[record.gridColumns * r + c];
            p.x = (c + 1) * 1024.0f / (record.gridColumns + 1) * kx + w0;
            p.y = ky * record.gridOffsetY + (r + 1) * 768.0f / (record.gridRows + 1) * ky;
            p.z = 0.0f;
        }
    }
}

Result CLevelShoot::LoadFiles()
{
    CLevelShootRecord* record = Record();
    if (Failed(CLevelMiniGame::LoadFiles()) || !record)
        return RES_FAIL;
    RebuildCellPoints(*record);
    if (!record->targetTextureName[0])
        return RES_OK;
    if (Failed(LoadNamedTexture(m_pTargetTexture, record->targetTextureName)))
        return RES_FAIL;
    for (uint32_t k = 0; k < m_targets.count && m_pDisplay; ++k) {
        if (m_targets.targets[k].part < m_nPartCount)
            IgnoreResult(m_pDisplay->SetPartTexture(m_pTargetTexture, m_targets.targets[k].part, 0));
    }
    return RES_OK;
}

Result CLevelShoot::UnloadFiles()
{
    for (uint32_t k = 0; k < m_targets.count && m_pDisplay; ++k) {
        if (m_targets.targets[k].part < m_nPartCount)
            IgnoreResult(m_pDisplay->SetPartTexture(nullptr, m_targets.targets[k].part, 0));
    }
    const Result result = CLevelMiniGame::UnloadFiles();
    if (m_pTargetTexture)
        IgnoreResult(m_pTargetTexture->Release());
    m_field.Labels().clear();
    return result;
}

// ---- The round ----

void CLevelShoot::ResetRound()
{
    CLevelShootRecord* record = Record();
    const uint32_t slots = record ? SlotCount(*record) : 0;
    if (Failed(m_field.Reset(slots)))
        LogPrintf(m_pWorldData->logPath, 1, u"# CLevelShoot::ResetRound failed! no memory for %d slots\n", slots);
    m_nExplainedEntry = -1;
    CHint* hint = World() ? World()->GetHint() : nullptr;
    if (hint && hint->GetCount() > 0)
        hint->FillTimer();
}

Result CLevelShoot::Start(uint32_t mode)
{
    if (Failed(CLevelMiniGame::Start(mode)))
        return RES_FAIL;
    if (CHint* hint = World() ? World()->GetHint() : nullptr)
        hint->EmptyTimer();
    m_bDone = 0;
    if (CLevelShootRecord* record = Record())
        RebuildCellPoints(*record);
    ResetRound();
    return RES_OK;
}

const CShootEntry* CLevelShoot::EntryOf(const CLevelShootRecord& record, uint8_t target) const
{
    if (target >= m_targets.count || !record.entryOfTarget || record.entryOfTarget[target] >= record.entryCount)
        return nullptr;
    return &record.entries[record.entryOfTarget[target]];
}

void CLevelShoot::GatherTargets(const CLevelShootRecord& record)
{
    for (uint32_t k = 0; k < m_targets.count; ++k) {
        const ScenePart* part = GetPart(m_targets.targets[k].part);
        const CShootEntry* entry = EntryOf(record, static_cast<uint8_t>(k));
        ShootTargetInfo& info = m_info[k];
        info = ShootTargetInfo{};
        info.usable = m_targets.targets[k].usable && part && entry;
        if (part)
            info.x = part->x, info.y = part->y, info.z = part->z, info.radius = part->radius;
        if (entry) {
            info.fadeInSeconds = entry->fadeInSeconds;
            info.vanishSeconds = entry->vanishSeconds;
            info.escapePoints = entry->escapePoints;
        }
    }
}

Vector3 CLevelShoot::TargetScreenPoint(uint8_t target) const
{
    const CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (target >= m_targets.count || !scene)
        return Vector3{0.0f, 0.0f, 0.0f};
    const CPoint3& p = m_targets.points[target];
    const float* m = scene->m_matView[0].m;
    return Vector3{m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13], 0.0f};
}

Vector3 CLevelShoot::SlotPoint(uint32_t n)
{
    const CLevelShootRecord* record = Record();
    const ShootSlot* slot = m_field.Slot(n);
    if (!record || !slot)
        return Vector3{0.0f, 0.0f, 0.0f};
    if (record->gridMode) {
        if (n >= uint32_t{record->gridColumns} * record->gridRows)
            return Vector3{0.0f, 0.0f, 0.0f};
        const CPoint3& cell = record->cellPoints[n];
        return Vector3{cell.x, cell.y, 0.0f};
    }
    return TargetScreenPoint(slot->target);
}

bool CLevelShoot::EndRound(CLevelShootRecord& record)
{
    CLevelHost* world = World();
    // Not while a tooltip slides or the level is busy, nor twice for one scene change.
    if (!world || world->AreLevelObjectsBusy() || world->IsChangePending() || !m_field.won || m_bTimerShown)
        return false;
    if (record.winTargetScene == -1 && record.winArgument == -1)
        m_nSceneState = kSceneStateClickTargets;
    else if (record.winTargetScene == -1)
        world->ReloadSceneWithArgument(static_cast<uint32_t>(record.winArgument));
    else if (static_cast<uint32_t>(record.winTargetScene) == world->GetSceneCount())
        EndLevel();
    else
        world->GoToScene(static_cast<uint32_t>(record.winTargetScene));
    return true;
}

void CLevelShoot::Judge(CLevelShootRecord& record, ShootOutcome outcome)
{
    if (outcome == ShootOutcome::Won) {
        if (CHint* hint = World() ? World()->GetHint() : nullptr)
            hint->AddHints(record.winHints);
        PlayLoadedBankSound(m_pWorldData, record.wonSound);
    } else if (outcome == ShootOutcome::Lost) {
        QueuePopup(record.losePopup);
        ResetRound();
    }
}

Result CLevelShoot::Update()
{
    CLevelShootRecord* record = Record();
    if (!record || !m_pWorldData)
        return RES_OK;
    const bool clickTargets = m_nSceneState == kSceneStateClickTargets;
    if (!clickTargets && EndRound(*record))
        return RES_OK;
    GatherTargets(*record);
    const auto frameFactor = static_cast<float>(m_pWorldData->frameFactor);
    const ShootSpawnRules rules{record->minSpawnSeconds, record->maxSpawnSeconds, record->maxWave,
                                record->minLifeSeconds, record->maxLifeSeconds};
    if (!clickTargets)
        m_field.Tick(frameFactor, m_pWorldData->random, rules, m_info, m_targets.count);
    const float seconds = frameFactor / kFramesPerSecond;
    m_field.AdvanceSlots(seconds, m_info, m_targets.count, !clickTargets, [this](uint32_t slot, float point[3]) {
        const Vector3 p = SlotPoint(slot);
        point[0] = p.x, point[1] = p.y, point[2] = 0.0f;
    });
    Judge(*record, m_field.AdvanceLabels(seconds, !clickTargets, record->goal, record->loseThreshold));
    return RES_OK;
}

bool CLevelShoot::SlotHit(const CLevelShootRecord& record, uint32_t n, float x, float y)
{
    const ShootSlot& slot = *m_field.Slot(n);
    const ScenePart* part = slot.target < m_targets.count ? GetPart(m_targets.targets[slot.target].part) : nullptr;
    if (!part)
        return false;
    const Vector3 p = SlotPoint(n);
    if (std::hypot(p.x - x, p.y - y) >= part->radius)
        return false;
    // In grid mode the target shows at its cell: the click is taken back to the target's place.
    float hx = x, hy = y;
    if (record.gridMode) {
        const Vector3 home = TargetScreenPoint(slot.target);
        hx -= p.x - home.x;
        hy -= p.y - home.y;
    }
    return Succeeded(HitTestPart(m_targets.targets[slot.target].part, hx, hy));
}

Result CLevelShoot::OnClick(float x, float y)
{
    if (Succeeded(CLevelMiniGame::OnClick(x, y)))
        return RES_OK;
    CLevelShootRecord* record = Record();
    if (!record)
        return RES_FAIL;
    if (m_nSceneState != kSceneStateClickTargets && !m_field.won) {
        const int32_t hit = m_field.Hit([&](uint32_t n) { return SlotHit(*record, n, x, y); });
        if (hit >= 0) {
            const uint32_t n = static_cast<uint32_t>(hit);
            if (const CShootEntry* entry = EntryOf(*record, m_field.Slot(n)->target)) {
                const Vector3 p = SlotPoint(n);
                const float point[3] = {p.x, p.y, 0.0f};
                m_field.AddLabel(entry->hitPoints, entry->vanishSeconds, point);
                PlayLoadedBankSound(m_pWorldData, entry->hitSound);
            }
            return RES_OK;
        }
    }
    PlayLoadedBankSound(m_pWorldData, record->missSound);
    return RES_FAIL;
}

void CLevelShoot::UseHint()
{
    CLevelMiniGame::UseHint();
    CLevelShootRecord* record = Record();
    CLevelHost* world = World();
    if (!record || !world || record->hintPoints == 0)
        return;
    const CHint* hint = world->GetHint();
    const float y = hint ? hint->GetPosition().y - hint->GetHalfWidth() : 0.0f;
    const float point[3] = {IsToolbarHidden() ? 0.0f : world->GetToolbarSize().x, y, 0.0f};
    m_field.AddLabel(record->hintPoints, record->hintLabelSeconds, point);
}

bool CLevelShoot::IsPlayerHelpLocked()
{
    const CLevelShootRecord* record = Record();
    return !record || record->hintPoints == 0;
}

void CLevelShoot::PlaySounds()
{
    CLevelMiniGame::PlaySounds();
    CLevelShootRecord* record = Record();
    if (!record)
        return;
    for (uint32_t k = 0; k < m_targets.count; ++k) {
        const CShootEntry* entry = EntryOf(*record, static_cast<uint8_t>(k));
        if (m_targets.targets[k].usable && entry)
            PrepareSound(entry->hitSound);
    }
    PrepareSound(record->missSound);
    PrepareSound(record->wonSound);
}

void CLevelShoot::OnKeyShortcuts(bool) { m_bDone = 1; }

// ---- Drawing ----

void CLevelShoot::DrawSlot(const CLevelShootRecord& record, uint32_t n)
{
    const ShootSlot& slot = *m_field.Slot(n);
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (slot.target >= m_targets.count || !scene)
        return;
    const uint32_t part = m_targets.targets[slot.target].part;
    const float phase = std::clamp(slot.phase, 0.0f, 1.0f);
    const uint32_t alpha = slot.state == kShootShown ? 255u : static_cast<uint32_t>(phase * 255.0f);
    Matrix4 view = scene->m_matView[0];
    if (record.gridMode) {
        const Vector3 cell = SlotPoint(n), home = TargetScreenPoint(slot.target);
        view.m[12] += cell.x - home.x;
        view.m[13] += cell.y - home.y;
    }
    IgnoreResult(m_pDisplay->UseOwnMatrix());
    IgnoreResult(m_pDisplay->SetMatrix(&view));
    m_pDisplay->SetColor((alpha << 24) | 0xFFFFFFu);
    DrawDisplayPart(part);
}

void CLevelShoot::DrawCounterAndLabels(const CLevelShootRecord& record)
{
    const CGameData* game = Game();
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!game || !scene)
        return;
    const CTextStyles& styles = game->m_TextStyles;
    char16_t text[32];
    WFormat(text, 32, u"%d/%d", m_field.score, record.goal);
    if (game->m_nLoadFontType == 2) {
        for (char16_t* unit = text; *unit; ++unit)
            *unit = *unit < kCharsetRemapEntries ? game->m_CharsetRemap[*unit] : *unit;
    }
    const float* m = scene->m_matView[0].m;
    const float cx = m[0] * m_targets.counterX + m[4] * m_targets.counterY + m[12];
    const float cy = m[1] * m_targets.counterX + m[5] * m_targets.counterY + m[13];
    const Vector2 timerSize{styles.m_TimerSize[0], styles.m_TimerSize[1]};
    DrawGameText(m_pWorldData, text, cx, cy, timerSize, kOpaque | styles.m_GameColors[0], kCounterAlign);
    const Vector2 labelSize{timerSize.x * 1.5f, timerSize.y * 1.5f};
    for (const ShootLabel& label : m_field.Labels()) {
        if (label.points == 0)
            continue;
        WFormat(text, 32, label.points > 0 ? u"+%d" : u"%d", label.points);
        const uint32_t alpha = std::max(1u, static_cast<uint32_t>(std::clamp(label.alpha, 0.0f, 1.0f) * 255.0f));
        const float y = label.y - (1.0f - label.alpha) * timerSize.y * 0.5f;
        DrawGameText(m_pWorldData, text, label.x, y, labelSize, (alpha << 24) | (label.points > 0 ? kGain : kLoss),
                     kCentred);
    }
}

void CLevelShoot::DrawOverlay(const CLevelShootRecord& record)
{
    CSceneGameData* scene = GetSceneGameData(m_pWorldData);
    if (!m_pCollision || !scene)
        return;
    IgnoreResult(m_pCollision->SetMatrixPointer(&scene->m_matView[0]));
    for (uint32_t n = 0; n < m_field.SlotCount(); ++n) {
        const ShootSlot& slot = *m_field.Slot(n);
        const CShootEntry* entry = EntryOf(record, slot.target);
        if (slot.target == kFreeSlot || !entry || m_targets.targets[slot.target].part >= m_nPartCount)
            continue;
        m_pCollision->SetColor(slot.state == kShootHit ? kHitOverlay
                                                       : kOpaque | (entry->hitPoints > 0 ? kGain : kLoss));
        IgnoreResult(m_pCollision->RenderPart(m_targets.targets[slot.target].part));
    }
}

void CLevelShoot::Render()
{
    CLevelShootRecord* record = Record();
    if (!record || !m_pDisplay)
        return;
    PrepareDisplay();
    const uint32_t scenery[] = {11, 13};
    DrawPhaseParts(scenery, 2, false);
    for (uint32_t n = 0; n < m_field.SlotCount(); ++n) {
        if (m_field.Slot(n)->target != kFreeSlot)
            DrawSlot(*record, n);
    }
    PrepareDisplay();
    DrawCounterAndLabels(*record);
    const CGameData* game = Game();
    if (game && game->m_bDebugCollision)
        DrawOverlay(*record);
    // The star is drawn by the world's draw pass, after the level.
    if (m_nSceneState == kSceneStateClickTargets)
        RenderParts();
}

// ---- Saved state ----

Result CLevelShoot::SaveProgress(CStream* stream)
{
    CLevelShootRecord* record = Record();
    if (Failed(CLevelMiniGame::SaveProgress(stream)) || !record)
        return RES_FAIL;
    const uint32_t n = m_field.SlotCount();
    return (n == 0 || stream->Write(m_field.Slots(), sizeof(ShootSlot), n)) && WriteValue(*stream, m_field.score) &&
                   WriteValue(*stream, m_field.won) && WritePopup(*stream, record->losePopup)
               ? RES_OK
               : RES_FAIL;
}

Result CLevelShoot::LoadProgress(CStream* stream, uint32_t version)
{
    CLevelShootRecord* record = Record();
    if (Failed(CLevelMiniGame::LoadProgress(stream, version)) || !record)
        return RES_FAIL;
    const uint32_t n = SlotCount(*record);
    std::unique_ptr<ShootSlot[]> slots(new (std::nothrow) ShootSlot[n ? n : 1]());
    int32_t score = 0;
    uint8_t won = 0;
    CLevelPopupGroup lose = record->losePopup;
    if (!slots || (n && !stream->Read(slots.get(), sizeof(ShootSlot), n)) || !ReadValue(*stream, score) ||
        !ReadValue(*stream, won) || !ReadPopup(*stream, lose))
        return RES_FAIL;
    // Each slot free or naming a target of the table, in one of the four states with a phase.
    for (uint32_t i = 0; i < n; ++i) {
        if ((slots[i].target != kFreeSlot && slots[i].target >= m_targets.count) || slots[i].state > kShootHit ||
            !std::isfinite(slots[i].phase))
            return RES_FAIL;
    }
    if (Failed(m_field.LoadSlots(slots.get(), n)))
        return RES_FAIL;
    m_field.score = score;
    m_field.won = won ? 1 : 0;
    record->losePopup = lose;
    return RES_OK;
}

// ---- Instructions ----

void CLevelShoot::BeginModal()
{
    if (CLevelShootRecord* record = Record())
        BeginTutorial(kFirstStep, kIntroText, record->winHints);
}

Result CLevelShoot::UpdateModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CLevelShootRecord* record = Record();
    CPopupText* popup = world ? world->GetTutorialPopup() : nullptr;
    if (!game || !record || !popup)
        return RES_FAIL;
    uint32_t& step = game->m_nTutorialStep;
    uint32_t explained = 0;
    for (uint8_t e = 0; e < record->entryCount; ++e)
        explained += record->entries[e].explainPopup.popupId != kNoPopup;
    // The entries, then one closing page.
    if (step < kFirstStep || step > kFirstEntryStep + explained)
        return RES_FAIL;
    m_nExplainedEntry = -1;
    if (step == kFirstStep) {
        popup->Clear();
    } else if (step == kFirstStep + 1) {
        const int32_t number[] = {record->hintPoints};
        popup->SetTextFormat(game->m_TutorialTable[kHintText], 0, number, 1);
    } else if (step == kFirstStep + 2) {
        popup->SetText(game->m_TutorialTable[kStarText], 0);
    } else {
        uint32_t wanted = step - kFirstEntryStep;
        for (uint8_t e = 0; e < record->entryCount && m_nExplainedEntry == -1; ++e) {
            if (record->entries[e].explainPopup.popupId != kNoPopup && wanted-- == 0)
                m_nExplainedEntry = e;
        }
        if (m_nExplainedEntry != -1) {
            const CShootEntry& entry = record->entries[m_nExplainedEntry];
            const int32_t numbers[] = {std::abs(entry.hitPoints), std::abs(entry.escapePoints)};
            popup->SetTextFormat(static_cast<uint32_t>(entry.explainPopup.popupId), 0, numbers, 2);
        } else {
            popup->SetText(game->m_TutorialTable[kClosingText], 0);
        }
    }
    popup->OnTextNext();
    return RES_OK;
}

void CLevelShoot::RenderExplained(const CLevelShootRecord& record)
{
    const CShootEntry& entry = record.entries[m_nExplainedEntry];
    CPopupText* popup = World() ? World()->GetTutorialPopup() : nullptr;
    const CGameData* game = Game();
    if (entry.sampleTarget < m_targets.count && m_pDisplay) {
        const CPoint3& p = m_targets.points[entry.sampleTarget];
        Matrix4 at{};
        at.m[0] = at.m[5] = at.m[10] = at.m[15] = 1.0f;
        at.m[12] = 512.0f - p.x;
        at.m[13] = 768.0f / 4 - p.y;
        IgnoreResult(m_pDisplay->UseOwnMatrix());
        IgnoreResult(m_pDisplay->SetMatrix(&at));
        m_pDisplay->SetColor(0xFFFFFFFFu);
        DrawDisplayPart(m_targets.targets[entry.sampleTarget].part);
    }
    const char16_t* page = popup ? popup->GetPage() : nullptr;
    if (!page || !game)
        return;
    // Two pieces split at the page marker; the second lower down.
    char16_t first[512];
    uint32_t n = 0;
    for (; n + 1 < 512 && page[n] && page[n] != game->m_nPageSeparator; ++n)
        first[n] = page[n];
    first[n] = 0;
    const Vector2 size{game->m_TextStyles.m_GameSize[0], game->m_TextStyles.m_GameSize[1]};
    const uint32_t colour = kOpaque | game->m_TextStyles.m_GameColors[0];
    DrawGameText(m_pWorldData, first, 512.0f, 768.0f * 0.15f, size, colour, kCentred);
    if (page[n] == game->m_nPageSeparator && n + 1 < 512)
        DrawGameText(m_pWorldData, page + n + 1, 512.0f, 768.0f * 0.225f, size, colour, kCentred);
}

void CLevelShoot::RenderModal()
{
    CGameData* game = Game();
    CLevelHost* world = World();
    CLevelShootRecord* record = Record();
    if (!game || !world || !record)
        return;
    const uint32_t step = game->m_nTutorialStep;
    CPopupText* popup = world->GetTutorialPopup();
    if (step == kFirstStep) {
        RenderIntroText(m_pWorldData, popup, true);
    } else if (step == kFirstStep + 1) {
        if (world->GetHint())
            world->GetHint()->RenderAt(0.0f);
        if (popup)
            IgnoreResult(popup->Render());
    } else if (step == kFirstStep + 2) {
        RenderModalMessage();
    } else if (m_nExplainedEntry >= 0 && m_nExplainedEntry < record->entryCount) {
        RenderExplained(*record);
    } else {
        RenderTutorialPopup();
    }
}
