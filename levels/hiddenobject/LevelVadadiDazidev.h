#pragma once
#include <cstdint>
#include <memory>

#include "core/Vector3.h"
#include "game/HiddenObjectScene.h"
#include "levels/Level.h"
#include "levels/LevelWithRecords.h"
#include "levels/hiddenobject/HiddenObjectRecord.h"

class CToolbar;
struct CPickedItems;

constexpr uint8_t kNoAnswer = 0xFF;
constexpr int32_t kNoPlace = -1;
constexpr uint32_t kQuizTextUnits = 1024;

// The picture scene: the player collects the parts the toolbar lists, toggles switch parts,
// answers the quiz and leaves by the arrows. Its scene states (0 to 3 search, 6 arrows, 7 quiz)
// decide which parts are live; each record's state blocks say what follows a state.
class CLevelVadadiDazidev : public CLevelWithRecords<CLevel, CHiddenObjectRecord>, public CHiddenObjectScene {
public:
    CLevelVadadiDazidev(CWorldData* data, C3DEngine* engine, uint32_t id);
    ~CLevelVadadiDazidev() override = default;

    // Frees the records' scene actions, then the base's release.
    Result Release() override;
    void Render() override;
    Result OnClick(float x, float y) override;
    Result SaveObjects(CStream* stream) override;
    Result LoadObjects(CStream* stream, uint32_t version) override;
    Result LoadProgress(CStream* stream, uint32_t version) override;
    // The search states, the arrows, the quiz and a fresh entry.
    bool IsSavedSceneState(uint32_t state) const override;
    // The base description, then each record's extension; refuses part orders past the parts.
    Result LoadDescription(CStream* stream) override;
    bool IsSceneOptionSet() override { return m_nSceneState == kStateQuiz; }
    // The hint stops recharging while the toolbar is hidden or shows no item.
    bool IsHintRechargePaused() override;
    bool IsPlayerHelpLocked() override;
    void PlaySounds() override;
    // Enters the state (kSceneStateFresh: the record's initial state); a state that fails to start
    // gives way to the one after it.
    Result Start(uint32_t state) override;
    void Stop() override;
    bool AreStarsHintOnly() override { return false; }
    void HideTimer(uint32_t seconds) override;
    void SetDone() override;
    Result Update() override;
    void OnLeave() override;
    void UseHint() override;
    void BeginModal() override;
    Result UpdateModal() override;
    void RenderModal() override;

    // The developer's shortcut: the search state's parts are found and the state finishes; with
    // control, the only arrow left leads on.
    void OnKeyShortcuts(bool control) override;

    // Fresh entry (Start (14)), or what follows the completed state.
    Result AdvanceSceneState(bool fresh);
    // The state after the current one: 6 after the quiz, else the state block's next state.
    uint32_t NextState();
    // What follows a switch part's blink.
    Result CompleteScene(uint32_t part);
    Result FadeParts();
    void DrawParts();
    void SetUpQuiz();
    // The quiz page, its answer under the pointer noted for UpdateQuiz.
    void DrawQuiz();
    // A release on a present answer chooses it; the next button then answers. RES_FAIL when
    // nothing was handled.
    Result UpdateQuiz();
    Result AnswerQuiz();
    void UpdateQuizFade();

    uint32_t GetTimedRecordCount() override { return m_nRecordCount; }
    uint32_t GetInitialState(uint32_t record) override;
    uint32_t GetNextState(uint32_t record, uint32_t kind) override;
    void SetExtraSeconds(uint32_t record, uint32_t kind, uint32_t seconds) override;
    void SetRecordZoom(uint32_t record, float zoom) override;
    // DrawQuiz, then UpdateQuiz.
    void StepQuiz() override;

    int32_t GetSelectedPart() const { return m_nSelectedPart; }
    bool IsBusy() const { return m_bBusy != 0; }
    uint8_t GetChosenAnswer() const { return m_nChosenAnswer; }
    const uint8_t* GetQuizOrder() const { return m_QuizOrder; }
    float GetQuizFade() const { return m_fQuizFade; }
    bool IsQuizPrepared() const { return m_bQuizPrepared != 0; }
    // Quiz text n as wrapped (0 the question, then the answers); null before any quiz.
    const char16_t* GetQuizText(uint32_t n) const
    {
        return m_pQuizTexts && n <= kQuizAnswerCount ? &m_pQuizTexts[n * kQuizTextUnits] : nullptr;
    }
    // Where the quiz draws the answer at a place (0 to 3): the centre of its first line's top.
    Vector2 GetQuizPlacePoint(uint32_t place) const;

protected:
    bool AreStarsHidden() override { return m_nSceneState == kStateArrows; }
    // The current state's block; an empty one outside states 0 to 3 or without a record.
    const CStateBlock& StateBlock();
    CToolbar* Toolbar() const;
    bool IsToolbarEmpty() const;
    bool IsCandidate(const ScenePart& part, const CStateBlock& block) const;
    void Collect(uint32_t index, ScenePart& part);
    void StepToggleBlink();
    void TakeOnlyArrow();
    void PlayLevelSound(uint16_t id, bool mark);
    void MarkSound(uint16_t id);
    void PushGroup(CLevelPopupGroup& group);
    void PushUnlessShown(CLevelPopupGroup& group);
    void FinishSceneChange(int32_t targetScene);
    // One try at entering the state; RES_FAIL for the quiz without a question.
    Result EnterState(uint32_t state);
    void PickToolbarItems(uint32_t state, const CStateBlock& block);
    void AddPicked(const CPickedItems& items, bool animate);
    uint32_t CountLiveParts(uint32_t state, bool shownOnly);
    void TellTooltipsAllDone();
    // The parts of the main pass, or those of the second view.
    void DrawPass(bool second);
    // The developer overlay: the collision parts by their standing, with numbers on request.
    void DrawCollisionOverlay(bool numbers);
    uint32_t OverlayColour(const ScenePart& part) const;
    void DrawTutorialLines();
    void WrapQuizText(uint32_t slot, uint32_t index, double width);
    void ShuffleQuizPlaces(const CHiddenObjectRecord& record);
    // Draws one quiz text centred at (x, y); a place's text under the pointer becomes the hovered place.
    void DrawQuizText(const char16_t* text, float x, float y, uint32_t colour, int32_t place);

    uint8_t m_QuizOrder[kQuizAnswerCount] = {};
    uint8_t m_nChosenAnswer = kNoAnswer;
    uint8_t m_bQuizPrepared = 0;
    int32_t m_nSelectedPart = -1;
    uint8_t m_bBusy = 0;
    uint8_t m_bToggleWasDrawn = 1;
    float m_fQuizFade = 0.0f;
    int32_t m_nHoveredPlace = kNoPlace;
    std::unique_ptr<char16_t[]> m_pQuizTexts;  // question, then the four answers, wrapped
};
