#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "core/WorldData.h"
#include "engine3d/Container.h"
#include "engine3d/Engine.h"
#include "engine3d/Font.h"
#include "engine3d/FontTypes.h"
#include "engine3d/Frame.h"
#include "game/GameData.h"
#include "game/GameText.h"
#include "game/menus/MenuDialog.h"
#include "game/menus/MenuDialogParts.h"
#include "game/menus/MenuWebClient.h"

namespace {

constexpr uint32_t kSliderTicks = 10;
constexpr float kPairOffset = 0.2f;
constexpr float kPictureShare = 0.4f;  // half side of a line's picture per line height

// The question above a confirmation's two answers: quit (or quit for a web link), erase the
// profile, forget or replay a mode, create the account, send the scores, forget the account.
uint32_t QuestionOf(uint32_t page, bool linkPending)
{
    switch (page) {
    case kPageQuit: return linkPending ? kLineQuitForLinkQuestion : kLineQuitQuestion;
    case kPageEraseProfile: return kLineEraseProfileQuestion;
    case kPageForgetStory: return kLineForgetStory;
    case kPageForgetTimed: return kLineForgetTimed;
    case kPageRestartStory: return kLineRestartStory;
    case kPageRestartTimed: return kLineRestartTimed;
    case kPageCreateAccount: return kLineCreateAccountQuestion;
    case kPageSendScores: return kLineSendScoresQuestion;
    default: return kLineForgetAccountQuestion;
    }
}

// The line's text colour: dimmed for another choice, faded when disabled; either stays readable
// on the dialog's frame.
uint32_t LineColour(uint32_t colour, uint32_t state)
{
    auto scaled = [colour](uint32_t shift, uint32_t percent) {
        return ((colour >> shift & 0xFFu) * percent / 100) << shift;
    };
    if (state == kLineOtherChoice)
        return (colour & 0xFF000000u) | scaled(16, 70) | scaled(8, 70) | scaled(0, 70);
    if (state == kLineDisabled)
        return scaled(24, 60) | (colour & 0x00FFFFFFu);
    return colour;
}

} // namespace

void CMenuDialog::AddPageLine(uint32_t* count, uint32_t id)
{
    if (*count < kMenuPageLines)
        m_Lines[(*count)++] = MenuLineTemplate(id);
}

void CMenuDialog::BuildPlayLines(uint32_t* count)
{
    CGameData& game = Game();
    const uint32_t slot = game.m_nSlot % kProfileSlotCount;
    AddPageLine(count, ProfileLine(slot));
    m_Lines[0].clickId = kLineProfiles;
    m_Lines[0].state = kLineNormal;
    for (uint32_t mode = 0; mode < (game.m_bEnableTimeAttack ? 2u : 1u); ++mode) {
        const CProgressFields& record = game.Progress(mode, slot);
        const uint32_t first = mode ? kLineNewTimed : kLineNewStory;
        AddPageLine(count, record.m_bInUse && !record.m_bFinished ? first + 1 : first);
        CMenuLine& line = m_Lines[*count - 1];
        if (!record.m_bInUse)
            continue;
        line.sideButton = kSideForgetMode;
        if (record.m_bFinished) {
            line.clickId = mode ? kLineRestartTimed : kLineRestartStory;
            line.mark = 1;
        }
    }
    AddPageLine(count, kLineEndOfStory);
    if (!game.Progress(0, slot).m_bDateSet && !game.Progress(1, slot).m_bDateSet)
        m_Lines[*count - 1].state = kLineDisabled;
}

void CMenuDialog::BuildOptionsLines(uint32_t* count)
{
    const CGameData& game = Game();
    AddPageLine(count, kLineMusicSlider);
    AddPageLine(count, kLineSoundSlider);
    AddPageLine(count, m_pData->fullscreen ? kLineWindowed : kLineFullScreen);
    const auto available = std::count_if(std::begin(game.m_bLanguageAvailable), std::end(game.m_bLanguageAvailable),
                                         [](uint8_t flag) { return flag != 0; });
    if (available > 1 && !game.m_bLanguageForced)
        AddPageLine(count, kLineLanguages);
    AddPageLine(count, kLineShowCredits);
    if (game.m_bEnableLegals)
        AddPageLine(count, kLineShowLegals);
}

void CMenuDialog::BuildProfileLines(uint32_t* count)
{
    CGameData& game = Game();
    for (uint32_t slot = 0; slot < kProfileSlotCount; ++slot) {
        AddPageLine(count, ProfileLine(slot));
        CMenuLine& line = m_Lines[*count - 1];
        for (uint32_t mode = 0; mode < kProfileModeCount; ++mode) {
            const CProgressFields& record = game.Progress(mode, slot);
            if (record.m_bInUse || record.m_bDateSet)
                line.sideButton = kSideEraseProfile;
        }
        if (slot == game.m_nSlot)
            line.state = kLineNormal;
    }
    // The selected slot's name is typed on its own page.
    AddPageLine(count, kLineRenameProfile);
    AddPageLine(count, kLinePlay);
    m_Lines[*count - 1].picture = kPictureNone;
}

// The field, its OK button and on the later account pages the previous-field button.
void CMenuDialog::BuildEntryLines(uint32_t page, uint32_t* count)
{
    AddPageLine(count, kLineEntryField);
    AddPageLine(count, page == kPageProfileName ? kLineLoginOk : kLineLoginOk + page - kPageLogin);
    if (page == kPageProfileName)
        m_Lines[*count - 1].clickId = kLineProfiles;
    if (page < kPagePassword)
        return;
    AddPageLine(count, kLineBack);
    m_Lines[*count - 1].clickId = PreviousFieldId(page);
}

void CMenuDialog::BuildWebMenuLines(uint32_t* count)
{
    const CGameData& game = Game();
    AddPageLine(count, kLineAccount);
    if (game.m_bAccount) {
        m_Lines[0].mark = 2;
        m_Lines[0].sideButton = kSideForgetAccount;
    }
    if (game.m_bWebLinks)
        AddPageLine(count, kLineMainWebSite);
    AddPageLine(count, kLineSendScores);
    if (!m_pWeb || !m_pWeb->HasUnsentScores())
        m_Lines[*count - 1].state = kLineDisabled;
}

void CMenuDialog::BuildLanguageLines(uint32_t* count)
{
    const CGameData& game = Game();
    uint32_t shown = 0;
    for (uint32_t language = 0; language < kLanguageCount; ++language) {
        if (!game.m_bLanguageAvailable[language])
            continue;
        AddPageLine(count, LanguageLine(language));
        CMenuLine& line = m_Lines[*count - 1];
        if (shown++ % 2 == 0)
            line.picture = kPictureLanguagePair;
        else
            line.variant = 2;
        if (language != game.m_nLanguage)
            line.state = kLineOtherChoice;
    }
}

const CMenuLine* CMenuDialog::BuildPageLines(uint32_t page, uint32_t* count)
{
    *count = 0;
    const CGameData& game = Game();
    auto add = [this, count](std::initializer_list<uint32_t> ids) {
        for (uint32_t id : ids)
            AddPageLine(count, id);
    };
    switch (page) {
    case kPageMain:
        add({kLinePlay});
        if (game.m_bWebScoringEnabled) {
            add({kLineWebScores});
            m_Lines[1].mark = game.m_bAccount ? 2 : 0;
        }
        add({kLineProfiles, kLineOptions});
        if (game.m_bEnableMoreGames)
            add({kLineMoreGames});
        if (game.m_nPlatform < 3 || game.m_nPlatform > 5)
            add({kLineQuit});
        break;
    case kPagePlay: BuildPlayLines(count); break;
    case kPageQuit: case kPageEraseProfile: case kPageForgetStory: case kPageForgetTimed: case kPageRestartStory:
    case kPageRestartTimed: case kPageForgetAccount:
        add({QuestionOf(page, game.m_szPendingUrl[0] != 0), kLineYes, kLineNo});
        break;
    case kPageOptions: BuildOptionsLines(count); break;
    case kPageProfiles: BuildProfileLines(count); break;
    case kPageProfileName: case kPageLogin: case kPagePassword: case kPageEmail: BuildEntryLines(page, count); break;
    case kPageCreateAccount: case kPageSendScores: add({QuestionOf(page, false), kLineWebYes, kLineBack}); break;
    case kPageWebMenu: BuildWebMenuLines(count); break;
    case kPageSendingScores: case kPageSendingAccount: add({kLineSending}); break;
    case kPageScoresSent: add({kLineScoresSent}); break;
    case kPageScoreRefused: add({kLineScoreRefused}); break;
    case kPageAccountCreated: add({kLineAccountCreated}); break;
    case kPageAccountKnown: add({kLineAccountKnown}); break;
    case kPageLoginTaken: add({kLineLoginTaken}); break;
    case kPageBadEmail: add({kLineBadEmail}); break;
    case kPageNoAnswer: add({kLineNoAnswer}); break;
    case kPageGameUnreadable: add({kLineGameUnreadable}); break;
    case kPageNotSaved: add({kLineNotSaved}); break;
    case kPageLanguages: BuildLanguageLines(count); break;
    default: break;
    }
    return m_Lines;
}

void CMenuDialog::MeasureLine(const char16_t* text, uint32_t kind, float* width, float* height) const
{
    const float* size = Game().m_TextStyles.m_MenuSize;
    Vector3 measured{0.0f, 0.0f, 0.0f};
    if (CVarnFont* font = Game().m_pMainFont)
        font->MeasureText(&measured, text, size[0], size[1]);
    const float* ratios = kind == kLineButton ? m_ButtonRatios : m_DialogRatios;
    *width = std::fabs(measured.x) + size[0] * ratios[0];
    *height = measured.y + size[1] * ratios[1] * 0.5f;
}

void CMenuDialog::SetPage(uint32_t page)
{
    m_nPage = page;
    m_nPageDraws = 0;
    m_nAction = kActionNone;
    m_pEntryNode = nullptr;
    m_bLayerFlag = page == kPagePassword || page == kPageEmail ? 0 : 1;
    m_nPlacedCount = 0;
    C3DEngine* engine = Engine();
    if (!engine)
        return;
    if (!m_pPageContainer)
        m_pPageContainer = engine->CreateContainer(kAllNodes, 0);
    else
        IgnoreResult(engine->ClearContainer(m_pPageContainer));
    if (!m_pPageContainer)
        return;
    if (page == kPagePlay) {
        const uint32_t slot = Game().m_nSlot % kProfileSlotCount;
        FormatProgressTime(Game().Progress(0, slot), m_szTimeText[0]);
        FormatProgressTime(Game().Progress(1, slot), m_szTimeText[1]);
    }
    if (IsEntryPage(page))
        FillEntry(page);
    uint32_t count = 0;
    const CMenuLine* lines = BuildPageLines(page, &count);
    LayOutLines(lines, count);
    m_pPageContainer->UpdateWorldMatrix();
}

// Rows from the top, centred on the screen; a pair of lines shares a row.
void CMenuDialog::LayOutLines(const CMenuLine* lines, uint32_t count)
{
    char16_t texts[kMenuPageLines][kMenuEntryUnits];
    float widths[kMenuPageLines], heights[kMenuPageLines], tops[kMenuPageLines];
    const float screenWidth = m_pData->workingWidth;
    const float spacing = m_pData->workingHeight * m_fSpacing;
    float y = 0.0f, rowHeight = 0.0f;
    bool rightNext = false;
    for (uint32_t i = 0; i < count; ++i) {
        const CMenuLine& line = lines[i];
        GetLineText(line.id, m_nPage, texts[i], false);
        MeasureLine(texts[i], line.kind, &widths[i], &heights[i]);
        if (line.id == kLineEntryField && IsEntryPage(m_nPage)) {
            char16_t sizing[kMenuEntryUnits];
            float width, height;
            GetLineText(line.id, m_nPage, sizing, true);
            MeasureLine(sizing, line.kind, &width, &height);
            widths[i] = std::max(widths[i], width);
            heights[i] = std::max(heights[i], height);
        }
        const bool right = line.paired && rightNext;
        if (!right && i > 0) {
            y += rowHeight + spacing;
            rowHeight = 0.0f;
        }
        tops[i] = y;
        rowHeight = std::max(rowHeight, heights[i]);
        rightNext = line.paired && !right;
    }
    const float top = (m_pData->workingHeight - (y + rowHeight)) * 0.5f;
    rightNext = false;
    for (uint32_t i = 0; i < count; ++i) {
        float x = screenWidth * 0.5f;
        if (lines[i].paired) {
            x += (rightNext ? kPairOffset : -kPairOffset) * screenWidth;
            rightNext = !rightNext;
        } else {
            rightNext = false;
        }
        AddLineNode(lines[i], i, texts[i], x, top + tops[i] + heights[i] * 0.5f, widths[i], heights[i]);
    }
}

void CMenuDialog::AddLineNode(const CMenuLine& line, uint32_t index, const char16_t* text, float x, float y,
                              float width, float height)
{
    C3DEngine* engine = Engine();
    auto* node = static_cast<C3DContainerText*>(engine->CreateContainerText(line.NodeId(), 0));
    if (!node)
        return;
    if (Failed(m_pPageContainer->AddChild(node, 1))) {
        IgnoreResult(engine->DestroyContainer(node));
        return;
    }
    const CTextStyles& styles = Game().m_TextStyles;
    node->SetDrawRoutine(DrawTextObjectCallback);
    node->SetDrawContext(reinterpret_cast<uintptr_t>(m_pData));
    node->SetScale(styles.m_MenuSize[0], styles.m_MenuSize[1]);
    node->SetAlign(kTextCenterX | kTextCenterY);
    node->SetText(text);
    node->SetColor(LineColour(styles.m_nMenuColor, line.state), 0, 0);
    C3DFrame* frame = GetLineFrame(line.kind);
    // The frame rounds its half sizes to whole units: never below the text and margins.
    width = 2.0f * std::ceil(width * 0.5f);
    height = 2.0f * std::ceil(height * 0.5f);
    float rect[4] = {-width * 0.5f, -height * 0.5f, width * 0.5f, height * 0.5f};
    if (frame)
        IgnoreResult(frame->Layout(rect, width, height, line.kind == kLineButton ? m_fButtonBorder : m_fDialogBorder,
                                   kColourLit));
    node->SetHitRect(-rect[0], -rect[1], rect[2], rect[3]);
    const Vector3 position{x, y, 0.0f};
    IgnoreResult(node->Identity());
    IgnoreResult(node->SetTranslation(&position));
    CPlacedLine& placed = m_Placed[index];
    placed = {node, line.kind, line.state, x, y, rect[2] - rect[0], rect[3] - rect[1]};
    m_nPlacedCount = index + 1;
    if (line.id == kLineEntryField && IsEntryPage(m_nPage))
        m_pEntryNode = node;
    AddLineExtras(line, index, placed);
}

// The picture on the left, the side button on the right and a slider's ticks along the bottom.
void CMenuDialog::AddLineExtras(const CMenuLine& line, uint32_t index, const CPlacedLine& placed)
{
    const float left = placed.x - placed.width * 0.5f;
    const float right = placed.x + placed.width * 0.5f;
    const float side = placed.height * kPictureShare;
    C3DTexture* sheet = nullptr;
    uint32_t cell = 0;
    if (line.picture == kPictureStory || line.picture == kPictureTimed) {
        sheet = m_pPictures[kPictureModes];
        cell = line.picture == kPictureStory ? 5 : 4;
    } else if (line.picture >= kPictureCurrentProfile && line.picture < kPictureLanguagePair) {
        sheet = m_pPictures[kPictureProfiles];
        cell = line.picture == kPictureCurrentProfile ? 4 + Game().m_nSlot % kProfileSlotCount : line.picture;
    } else if (line.id >= LanguageLine(0) && line.id < LanguageLine(kLanguageCount)) {
        sheet = m_pPictures[kPictureLanguages];
        cell = line.id - kLineLanguage1;
    }
    if (sheet)
        AddQuad(m_pPageContainer, kLineOwnId, sheet, cell, left - side, placed.y, side, side, false);
    if (line.sideButton != kSideNone)
        AddQuad(m_pPageContainer, SideButtonId(line.sideButton, index), m_pPictures[kPictureNav], kNavClose,
                right + m_fSmallHalfWidth, placed.y, m_fSmallHalfWidth, m_fSmallHalfWidth, true);
    if (line.id != kLineMusicSlider && line.id != kLineSoundSlider)
        return;
    const float tick = placed.width / kSliderTicks;
    for (uint32_t i = 1; i <= kSliderTicks; ++i)
        AddQuad(m_pPageContainer, SliderTickId(line.id, i), m_pPictures[kPictureSlider], 0,
                left + (static_cast<float>(i) - 0.5f) * tick, placed.y + placed.height * 0.5f - m_SliderHalf[1],
                tick * kPictureShare, m_SliderHalf[1], false);
    const float volume = line.id == kLineMusicSlider ? Game().m_fMusicVolume : Game().m_fSoundVolume;
    LightTicks(line.id, static_cast<int32_t>(std::lround(volume * kSliderTicks)));
}

void CMenuDialog::LightTicks(uint32_t sliderId, int32_t lit)
{
    for (uint32_t i = 1; i <= kSliderTicks; ++i) {
        if (C3DContainer* tick = m_pPageContainer->FindById(SliderTickId(sliderId, i)))
            tick->SetColor(static_cast<int32_t>(i) <= lit ? kColourLit : kColourDim, 0, 0);
    }
}

const CMenuDialog::CPlacedLine* CMenuDialog::PlacedLineOf(const C3DContainer* node) const
{
    for (uint32_t i = 0; i < m_nPlacedCount; ++i) {
        if (m_Placed[i].node == node)
            return &m_Placed[i];
    }
    return nullptr;
}

Result CMenuDialog::Render()
{
    if (m_nPageDraws < kPresentedDraws)
        ++m_nPageDraws;
    if (!m_pPageContainer)
        return RES_OK;
    for (uint32_t i = 0; i < m_nPlacedCount; ++i) {
        const CPlacedLine& line = m_Placed[i];
        C3DFrame* frame = GetLineFrame(line.kind);
        if (!line.node || !frame)
            continue;
        const Vector3 position{line.x, line.y, 0.0f};
        IgnoreResult(frame->Layout(nullptr, line.width, line.height,
                                   line.kind == kLineButton ? m_fButtonBorder : m_fDialogBorder, kColourLit));
        IgnoreResult(frame->Identity());
        IgnoreResult(frame->SetTranslation(&position));
        IgnoreResult(frame->Render());
    }
    m_pPageContainer->Render(0);
    return RES_OK;
}
