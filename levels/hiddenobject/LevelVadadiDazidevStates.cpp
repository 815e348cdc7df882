#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include <algorithm>
#include <cmath>

#include "core/Random.h"
#include "core/WorldData.h"
#include "game/GameData.h"
#include "game/GameTimer.h"
#include "game/LevelHost.h"
#include "game/widgets/Hint.h"
#include "game/widgets/Toolbar.h"
#include "levels/LevelSounds.h"
#include "levels/hiddenobject/ToolbarPick.h"
#include "modules/AudioEngine.h"

namespace {

// Enough tries for every state to have been started once.
constexpr uint32_t kMaxStartTries = 16;
constexpr uint32_t kTimedMode = 1;

bool IsSearchState(uint32_t state)
{
    return state < kSearchStateCount;
}

void Apply(const std::unique_ptr<CLevelAction>& action, int32_t argument)
{
    if (action)
        IgnoreResult(action->Apply(argument));  // the kinds log the elements they skip
}

// A zoom that is not a usable speed leaves the toolbar at its own pace.
float SpeedScaleOf(float zoom)
{
    return std::isfinite(zoom) && zoom > 0.0f ? zoom : 1.0f;
}

} // namespace

void CLevelVadadiDazidev::PushGroup(CLevelPopupGroup& group)
{
    if (group.popupId == kNoPopup)
        return;
    PushPopup(group.popupId);
    group.shown = group.repeat == 0;
}

// An end or leave pop-up: only while the level is not done.
void CLevelVadadiDazidev::PushUnlessShown(CLevelPopupGroup& group)
{
    if (!m_bDone)
        QueuePopup(group);
}

void CLevelVadadiDazidev::MarkSound(uint16_t id)
{
    CGameData* game = Game();
    if (World() && game && id != kNoSound && id < game->m_nSoundCount)
        World()->MarkAudio(id);
}

// A bank sound that PlaySounds prepared, played at once; with mark, kept by the next sweep.
void CLevelVadadiDazidev::PlayLevelSound(uint16_t id, bool mark)
{
    if (mark)
        MarkSound(id);
    PlayLoadedBankSound(m_pWorldData, id);
}

Result CLevelVadadiDazidev::EnterState(uint32_t state)
{
    const uint32_t oldState = m_nSceneState;
    if (Failed(CLevel::Start(state)))
        return RES_FAIL;
    m_nSelectedPart = -1;
    m_bToggleWasDrawn = 1;
    CHiddenObjectRecord* record = Record();
    if (!record)
        return RES_FAIL;
    uint32_t next = state;
    if (state == kSceneStateFresh) {
        Apply(record->switchObjectsAction, -1);
        Apply(record->markObjectsAction, -1);
        next = record->initialState;
    } else if (IsSearchState(oldState)) {
        CStateBlock& old = record->states[oldState];
        PushUnlessShown(old.endPopup);
        Apply(old.hideTooltipsAction, -1);
        Apply(old.showTooltipsAction, -1);
    }
    m_nSceneState = next;
    CGameData* game = Game();
    if (game && game->m_nMode == kTimedMode)
        HideTimer(StateBlock().extraSeconds);
    if (IsSearchState(next))
        QueuePopup(record->states[next].startPopup);
    if (CToolbar* toolbar = Toolbar()) {
        toolbar->ClearItems();
        toolbar->SetMaxShown(record->maxShownItems);
        toolbar->SetSpeedScale(SpeedScaleOf(record->zoom));
    }
    m_bDone = 0;
    CLevelHost* world = World();
    if (next == kStateQuiz) {
        if (!record->HasQuiz())
            return RES_FAIL;
        if (world)
            world->MoveCameraToMaxXMinY();
        SetUpQuiz();
        return RES_OK;
    }
    if (next == kStateArrows) {
        if (state != kSceneStateFresh && world)
            world->MoveCameraToMaxXMaxY();
        return RES_OK;
    }
    PickToolbarItems(next, StateBlock());
    return RES_OK;
}

Result CLevelVadadiDazidev::Start(uint32_t state)
{
    for (uint32_t tries = 0; Failed(EnterState(state)) && tries < kMaxStartTries; ++tries)
        state = NextState();
    return RES_OK;
}

uint32_t CLevelVadadiDazidev::NextState()
{
    return m_nSceneState == kStateQuiz ? kStateArrows : StateBlock().nextState;
}

void CLevelVadadiDazidev::FinishSceneChange(int32_t targetScene)
{
    CLevelHost* world = World();
    if (!world)
        return;
    if (static_cast<uint32_t>(targetScene) == world->GetSceneCount())
        EndLevel();
    else
        world->GoToScene(static_cast<uint32_t>(targetScene));
}

Result CLevelVadadiDazidev::AdvanceSceneState(bool fresh)
{
    if (fresh)
        return Start(kSceneStateFresh);
    CHiddenObjectRecord* record = Record();
    const CStateBlock& block = StateBlock();
    if (record && block.endTargetScene != kNoTarget) {
        for (uint32_t n = 0; n < m_nPairCount; ++n) {
            if (static_cast<int64_t>(m_pPairs[n].targetScene) == block.endTargetScene) {
                PlayLevelSound(record->pairSounds[n], true);
                break;
            }
        }
        if (IsSearchState(m_nSceneState))
            PushUnlessShown(record->states[m_nSceneState].endPopup);
        CGameData* game = Game();
        if (game && game->m_nMode == kTimedMode)
            HideTimer(block.extraSeconds);
        FinishSceneChange(block.endTargetScene);
        return RES_OK;
    }
    if (block.endArgument != kNoTarget) {
        if (CLevelHost* world = World())
            world->ReloadSceneWithArgument(static_cast<uint32_t>(block.endArgument));
        return RES_OK;
    }
    return Start(NextState());
}

Result CLevelVadadiDazidev::CompleteScene(uint32_t part)
{
    CHiddenObjectRecord* record = Record();
    if (!record)
        return RES_OK;
    PushGroup(record->switchPopup);
    m_bDone = 1;
    if (record->switchTargetScene != kNoTarget) {
        FinishSceneChange(record->switchTargetScene);
    } else if (record->switchRecord == kNoTarget) {
        if (record->switchNextState == kSceneStateFresh) {
            m_bBusy = RevertPartStates(m_nSceneState, part) ? 1 : 0;
            IgnoreResult(Start(m_nSceneState));
        } else {
            IgnoreResult(Start(record->switchNextState));
        }
    } else {
        if (CLevelHost* world = World())
            world->ReloadSceneWithArgument(static_cast<uint32_t>(record->switchRecord));
        if (static_cast<uint32_t>(record->switchRecord) == m_nCurrentRecord)
            m_bBusy = RevertPartStates(m_nSceneState, part) ? 1 : 0;
    }
    return RES_OK;
}

void CLevelVadadiDazidev::PickToolbarItems(uint32_t state, const CStateBlock& block)
{
    CToolbar* toolbar = Toolbar();
    CHiddenObjectRecord* record = Record();
    CPickedItems items;
    if (!toolbar || !record || Failed(GatherItems(*this, state, items)))
        return;
    const uint32_t distinct = items.count;
    if (distinct && block.randomPick) {
        CGameData* game = Game();
        const uint32_t kept = game && game->m_bDebugKeys ? distinct : std::min(record->maxPickedItems, kMaxSceneParts);
        if (Failed(PickAtRandom(items, kept, m_pWorldData->random)))
            return;
    }
    AddPicked(items, record->toolbarHeightIgnored == 0);
    toolbar->SetCentre(distinct == 1 || record->maxShownItems == 1);
}

void CLevelVadadiDazidev::AddPicked(const CPickedItems& items, bool animate)
{
    CToolbar* toolbar = Toolbar();
    if (!items.count)
        return;
    for (uint32_t place = 0; place < items.count; ++place) {
        for (uint32_t n = 0; n < items.places[place].count; ++n)
            toolbar->AddItem(items.places[place].id, animate);
    }
    toolbar->UpdateItemTexts();
}

uint32_t CLevelVadadiDazidev::CountLiveParts(uint32_t state, bool shownOnly)
{
    CToolbar* toolbar = Toolbar();
    uint32_t count = 0;
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        const ScenePart& part = m_pParts[n];
        if (part.phase != state || (part.flags & (kPartWaiting | kPartClickable)) != kPartClickable)
            continue;
        if (shownOnly ? toolbar && toolbar->IsItemShown(part.itemId) : !(part.flags & kPartToggles))
            ++count;
    }
    return count;
}

void CLevelVadadiDazidev::HideTimer(uint32_t seconds)
{
    CLevel::HideTimer(seconds);
    CLevelHost* world = World();
    CGameData* game = Game();
    if (!IsSearchState(m_nSceneState) || !world || !game || !world->GetTimer())
        return;
    const uint32_t live = CountLiveParts(m_nSceneState, false);
    if (live)
        world->GetTimer()->SetSeconds(static_cast<float>(seconds) +
                                      static_cast<float>(live) * game->m_nSecondsPerObject[m_nSceneState]);
}

void CLevelVadadiDazidev::SetDone()
{
    CLevel::SetDone();
    if (CHiddenObjectRecord* record = Record()) {
        PushGroup(record->popupGroup3);
        PlayLevelSound(record->soundId, true);
    }
}

void CLevelVadadiDazidev::OnLeave()
{
    CHiddenObjectRecord* record = Record();
    if (record && m_nSceneState != kStateQuiz)
        PushUnlessShown(record->leavePopup);
}

void CLevelVadadiDazidev::UseHint()
{
    CLevel::UseHint();
    CLevelHost* world = World();
    CGameData* game = Game();
    const uint32_t candidates = CountLiveParts(m_nSceneState, true);
    if (!candidates || !world || !game)
        return;
    uint32_t k = 1 + RandomIndex(m_pWorldData->random, candidates);
    CToolbar* toolbar = Toolbar();
    for (uint32_t n = 0; n < m_nPartCount; ++n) {
        const ScenePart& part = m_pParts[n];
        if (part.phase != m_nSceneState || (part.flags & (kPartWaiting | kPartClickable)) != kPartClickable ||
            !toolbar->IsItemShown(part.itemId) || --k)
            continue;
        if (game->m_bDebugKeys)
            toolbar->FlashItem(part.itemId);
        if (CHint* hint = world->GetHint())
            hint->StartHint({part.x, part.y, part.radius});
        const float edge = part.y > m_pWorldData->workingHeight * 0.5f ? 65535.0f : -65535.0f;
        world->MoveCameraTo({part.x, edge, part.radius}, -1.0f);
        return;
    }
}

void CLevelVadadiDazidev::PlaySounds()
{
    CLevel::PlaySounds();
    CHiddenObjectRecord* record = Record();
    if (!record)
        return;
    auto add = [this](uint16_t id) { PrepareBankSound(m_pWorldData, id, 0); };
    for (const CQuizAnswer& answer : record->answers) {
        add(answer.outcomes[0].soundId);
        add(answer.outcomes[1].soundId);
    }
    for (uint32_t n = 0; n < kSearchStateCount; ++n) {
        add(record->hitSounds[n]);
        add(record->itemsDoneSounds[n]);
    }
    add(record->ghostSound);
}

void CLevelVadadiDazidev::Stop()
{
    CLevel::Stop();
    CHiddenObjectRecord* record = Record();
    if (!record)
        return;
    if (World() && World()->GetAudioEngine() && m_nSceneState == kStateQuiz && m_nChosenAnswer < kQuizAnswerCount) {
        const int32_t target = record->answers[m_nChosenAnswer].Chosen().targetScene;
        for (uint32_t n = 0; n < m_nPairCount; ++n) {
            if (static_cast<int64_t>(m_pPairs[n].targetScene) == target) {
                PlayLevelSound(record->pairSounds[n], true);
                break;
            }
        }
    }
    for (uint32_t n = 0; n < kSearchStateCount; ++n) {
        MarkSound(record->hitSounds[n]);
        MarkSound(record->itemsDoneSounds[n]);
    }
}
