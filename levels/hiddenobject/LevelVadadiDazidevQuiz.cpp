#include "levels/hiddenobject/LevelVadadiDazidev.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "base/WideString.h"
#include "core/Random.h"
#include "core/WorldData.h"
#include "engine3d/Font.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/LevelHost.h"
#include "game/PopupText.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "game/screens/KvoBackground.h"
#include "levels/hiddenobject/ToolbarPick.h"

namespace {

constexpr uint32_t kQuizTextCount = 1 + kQuizAnswerCount;  // the question, then the answers
constexpr uint32_t kOneColumn = 1;
constexpr float kOneColumnRows[kQuizAnswerCount] = {0.25f, 0.40625f, 0.5625f, 0.71875f};
constexpr float kTwoColumnRows[kQuizAnswerCount] = {0.421875f, 0.296875f, 0.671875f, 0.546875f};
constexpr float kQuestionRow = 0.0625f;

// A commons string of the game table; "MISSING STRING !!!" past the commons.
const char16_t* CommonString(CWorldData* data, uint32_t index)
{
    const CGameData& game = *data->gameData;
    const uint32_t count = game.m_GameStrings.m_nCount;
    if (index >= game.m_nCommonsCount || game.m_nCommonsCount > count)
        return CPopupText::GetString(count, kGameTable, data);
    return CPopupText::GetString(count - game.m_nCommonsCount + index, kGameTable, data);
}

uint32_t WithAlpha(uint32_t colour, float alpha)
{
    return (static_cast<uint32_t>(alpha * 255.0f) << 24) | (colour & 0x00FFFFFFu);
}

} // namespace

// The text with line-break marks as line feeds, wrapped with the main font into width.
void CLevelVadadiDazidev::WrapQuizText(uint32_t slot, uint32_t index, double width)
{
    CGameData& game = *m_pWorldData->gameData;
    char16_t source[kQuizTextUnits];
    WStrCopy(source, kQuizTextUnits, CommonString(m_pWorldData, index));
    for (char16_t* unit = source; *unit; ++unit) {
        if (*unit == game.m_nLineBreakMark)
            *unit = u'\n';
    }
    WrapGameText(m_pWorldData, game.m_TextStyles.m_GameSize, source, &m_pQuizTexts[slot * kQuizTextUnits],
                 kQuizTextUnits, width);
}

void CLevelVadadiDazidev::SetUpQuiz()
{
    m_nChosenAnswer = kNoAnswer;
    m_bQuizPrepared = 1;
    m_fQuizFade = 0.0f;
    m_nHoveredPlace = kNoPlace;
    CHiddenObjectRecord* record = Record();
    if (!record || !m_pWorldData->gameData)
        return;
    if (!m_pQuizTexts)
        m_pQuizTexts.reset(new (std::nothrow) char16_t[kQuizTextCount * kQuizTextUnits]());
    if (m_pQuizTexts) {
        CGameData& game = *m_pWorldData->gameData;
        const double width = m_pWorldData->workingWidth;
        const double column = record->quizLayout == kOneColumn ? width : width * 0.5;
        WrapQuizText(0, record->quizQuestion, width - game.m_nQuizQuestionBorder);
        for (uint32_t n = 0; n < kQuizAnswerCount; ++n) {
            m_pQuizTexts[(1 + n) * kQuizTextUnits] = 0;
            if (record->answers[n].IsPresent())
                WrapQuizText(1 + n, record->answers[n].text, column - game.m_nQuizAnswersBorder);
        }
    }
    ShuffleQuizPlaces(*record);
}

// Four distinct answers at random places, then the present ones moved to the middle places:
// one answer in place 2, two in 1 and 3, three in 1 to 3.
void CLevelVadadiDazidev::ShuffleQuizPlaces(const CHiddenObjectRecord& record)
{
    bool taken[kQuizAnswerCount] = {};
    for (uint8_t& place : m_QuizOrder) {
        place = static_cast<uint8_t>(DrawFreeIndex(m_pWorldData->random, kQuizAnswerCount, taken));
        taken[place] = true;
    }
    auto present = [&](uint32_t place) { return record.answers[m_QuizOrder[place]].IsPresent(); };
    // Place from moves to the first of the places given that holds (or lacks) a present answer.
    auto moveTo = [&](uint32_t from, std::initializer_list<uint32_t> places, bool wanted) {
        for (uint32_t place : places) {
            if (present(place) == wanted) {
                std::swap(m_QuizOrder[from], m_QuizOrder[place]);
                return;
            }
        }
    };
    uint32_t count = 0;
    for (const CQuizAnswer& answer : record.answers)
        count += answer.IsPresent() ? 1 : 0;
    if (count == 1 && !present(2)) {
        moveTo(2, {0, 1, 3}, true);
    } else if (count == 2) {
        if (present(0))
            moveTo(0, {1, 3}, false);
        if (present(2))
            moveTo(2, {1, 3}, false);
    } else if (count == 3 && present(0)) {
        moveTo(0, {1, 2, 3}, false);
    }
}

void CLevelVadadiDazidev::DrawQuizText(const char16_t* text, float x, float y, uint32_t colour, int32_t place)
{
    CGameData& game = *m_pWorldData->gameData;
    CVarnFont* font = game.m_pMainFont;
    if (!font || !text || !*text)
        return;
    const Vector3 position{x, y, 0.0f};
    const Vector2 pointer{m_pWorldData->pointerX, m_pWorldData->pointerY};
    Vector3 out{};
    const float* size = game.m_TextStyles.m_GameSize;
    font->HitTestText(&out, text, &position, kTextCenterX, colour, size[0], size[1],
                      place != kNoPlace ? &pointer : nullptr, nullptr, 0);
    if (place != kNoPlace && out.z == 1.0f)
        m_nHoveredPlace = place;
}

void CLevelVadadiDazidev::DrawQuiz()
{
    CLevelHost* world = World();
    CHiddenObjectRecord* record = Record();
    if (!world || !record || !m_pQuizTexts)
        return;
    if (CKvoBackground* background = world->GetBackground()) {
        const uint8_t alpha = static_cast<uint8_t>(std::max(1.0f, std::trunc(m_fQuizFade * 255.0f)));
        IgnoreResult(background->DrawBackground(alpha));
    }
    const CGameData& game = *m_pWorldData->gameData;
    const float width = m_pWorldData->workingWidth;
    const float height = m_pWorldData->workingHeight;
    const uint32_t plain = WithAlpha(game.m_TextStyles.m_GameColors[0], m_fQuizFade);
    const uint32_t chosen = WithAlpha(game.m_TextStyles.m_GameColors[1], m_fQuizFade);
    m_nHoveredPlace = kNoPlace;
    DrawQuizText(&m_pQuizTexts[0], width * 0.5f, height * kQuestionRow, plain, kNoPlace);
    const bool oneColumn = record->quizLayout == kOneColumn;
    for (uint32_t place = 0; place < kQuizAnswerCount; ++place) {
        const uint8_t answer = m_QuizOrder[place];
        if (answer >= kQuizAnswerCount || !record->answers[answer].IsPresent())
            continue;
        const float x = oneColumn ? width * 0.5f : width * ((place % 2) ? 0.75f : 0.25f);
        const float y = height * (oneColumn ? kOneColumnRows[place] : kTwoColumnRows[place]);
        DrawQuizText(&m_pQuizTexts[(1 + answer) * kQuizTextUnits], x, y, answer == m_nChosenAnswer ? chosen : plain,
                     static_cast<int32_t>(place));
    }
    CMenuDialog* dialog = world->GetMenuDialog();
    if (m_nChosenAnswer != kNoAnswer && dialog) {
        dialog->HideNavButtons();
        dialog->ShowNavButtons(false, false, true);
        dialog->UpdateNavButtons();
        dialog->RenderNavButtons();
    }
}

Result CLevelVadadiDazidev::UpdateQuiz()
{
    CLevelHost* world = World();
    CMenuDialog* dialog = world ? world->GetMenuDialog() : nullptr;
    if (m_pWorldData->mouseReleased[0] && m_nHoveredPlace != kNoPlace) {
        m_nChosenAnswer = m_QuizOrder[m_nHoveredPlace];
        if (dialog)
            dialog->PlayClickSound();
        return RES_OK;
    }
    if (m_nChosenAnswer != kNoAnswer && dialog && dialog->GetClickedButton(0) == kNavNext) {
        dialog->PlayClickSound();
        IgnoreResult(AnswerQuiz());
        return RES_OK;
    }
    return RES_FAIL;
}

Result CLevelVadadiDazidev::AnswerQuiz()
{
    CHiddenObjectRecord* record = Record();
    CLevelHost* world = World();
    if (m_nChosenAnswer >= kQuizAnswerCount || !record)
        return RES_FAIL;
    m_bQuizPrepared = 0;
    const CQuizOutcome& outcome = record->answers[m_nChosenAnswer].Chosen();
    if (outcome.popupId != kNoPopup)
        PushPopup(outcome.popupId);
    if (outcome.actions[0])
        IgnoreResult(outcome.actions[0]->Apply(static_cast<int32_t>(m_nId)));
    for (uint32_t n = 1; n < kOutcomeActionCount - 1; ++n) {
        if (outcome.actions[n])
            IgnoreResult(outcome.actions[n]->Apply(-1));
    }
    if (outcome.targetScene != kNoTarget)
        FinishSceneChange(outcome.targetScene);
    else if (outcome.argument != kNoTarget && world)
        world->ReloadSceneWithArgument(static_cast<uint32_t>(outcome.argument));
    else
        IgnoreResult(Start(NextState()));
    if (outcome.actions[kOutcomeActionCount - 1])
        IgnoreResult(outcome.actions[kOutcomeActionCount - 1]->Apply(-1));
    CheckTooltips();
    PlayLevelSound(outcome.soundId, false);
    return RES_OK;
}

void CLevelVadadiDazidev::StepQuiz()
{
    DrawQuiz();
    IgnoreResult(UpdateQuiz());  // RES_FAIL: no answer picked this frame
}

Vector2 CLevelVadadiDazidev::GetQuizPlacePoint(uint32_t place) const
{
    const CHiddenObjectRecord* record = Record();
    const bool oneColumn = record && record->quizLayout == kOneColumn;
    const float width = m_pWorldData->workingWidth;
    const float height = m_pWorldData->workingHeight;
    place %= kQuizAnswerCount;
    return {oneColumn ? width * 0.5f : width * ((place % 2) ? 0.75f : 0.25f),
            height * (oneColumn ? kOneColumnRows[place] : kTwoColumnRows[place])};
}
