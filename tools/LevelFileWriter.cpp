#include "tools/LevelFileWriter.h"

#include "game/GameTimer.h"

void WritePopup(CByteWriter& out, const CPopupGroupModel& popup)
{
    out.U32(static_cast<uint32_t>(popup.popupId));
    out.U8(popup.repeat);
    out.U32(popup.value);
    out.U8(popup.shown);
}

namespace {

void WriteEffect(CByteWriter& out, const CTimedEffectModel& effect)
{
    out.F32(effect.minFrames);
    out.F32(effect.maxFrames);
    out.U16(effect.soundId);
    out.U8(effect.loop);
}

template <size_t N>
void WriteActions(CByteWriter& out, const std::array<CActionModel, N>& actions, const LevelActionKind (&kinds)[N])
{
    for (size_t i = 0; i < N; ++i)
        WriteAction(out, actions[i], kinds[i]);
}

void WriteRecord(CByteWriter& out, const CLevelRecordModel& r, size_t pairCount)
{
    out.U8(r.clickPenaltyFree);
    out.U32(r.cameraMode);
    out.U8(r.dragEnabled);
    out.U8(r.cameraDraggable);
    out.U8(r.toolbarHidden);
    out.U8(r.toolbarHeightIgnored);
    out.U32(r.value0C);
    out.F32(r.zoom);
    out.U16(r.introSound);
    WritePopup(out, r.introPopup);
    out.Field(r.backgroundName.substr(0, kBackgroundNameBytes - 1), kBackgroundNameBytes);
    WritePopup(out, r.startPopup);
    WriteActions(out, r.startActions, kStartActionKinds);
    WritePopup(out, r.popupGroup3);
    out.U16(r.soundId);
    WritePopup(out, r.leavePopup);
    WriteActions(out, r.leaveActions, kLeaveActionKinds);
    for (const CTimedEffectModel& effect : r.effects)
        WriteEffect(out, effect);
    for (size_t i = 0; i < pairCount; ++i)
        out.U16(i < r.pairSounds.size() ? r.pairSounds[i] : kNoSound);
}

void WriteStateBlock(CByteWriter& out, const CStateBlockModel& b)
{
    WritePopup(out, b.startPopup);
    WritePopup(out, b.endPopup);
    out.U8(b.randomPick);
    out.U32(b.extraSeconds);
    out.U8(b.ghostsClickable);
    out.U32(static_cast<uint32_t>(b.endArgument));
    out.U32(static_cast<uint32_t>(b.endTargetScene));
    out.U32(b.nextState);
    WriteAction(out, b.hideTooltips, LevelActionKind::HideTooltips);
    WriteAction(out, b.showTooltips, LevelActionKind::ShowTooltips);
}

void WriteOutcome(CByteWriter& out, const CQuizOutcomeModel& o, bool withActions)
{
    out.U32(static_cast<uint32_t>(o.popupId));
    if (withActions) {
        for (uint32_t i = 0; i < kOutcomeActionCount; ++i)
            WriteAction(out, o.actions[i], kOutcomeActionKinds[i]);
    }
    out.U32(static_cast<uint32_t>(o.argument));
    out.U32(static_cast<uint32_t>(o.targetScene));
    out.U16(o.soundId);
}

} // namespace

void WriteSceneBlock(CByteWriter& out, const CSceneBlockModel& scene)
{
    out.F32(scene.refWidth);
    out.F32(scene.refHeight);
    out.U32(scene.word);
    out.U32(static_cast<uint32_t>(scene.parts.size()));
    for (const CScenePartModel& part : scene.parts) {
        out.U8(part.kind);
        out.U32(part.phase);
        out.U32(part.flags);
        out.U32(part.itemId);
        const float values[] = {part.x, part.y, part.z, part.radius};
        out.Floats(values, 4);
    }
    for (size_t i = 0; i < scene.parts.size(); ++i)
        out.U16(i < scene.order.size() ? scene.order[i] : static_cast<uint16_t>(i));
}

void WriteAction(CByteWriter& out, const CActionModel& elements, LevelActionKind kind)
{
    out.U8(static_cast<uint8_t>(elements.size()));
    for (uint16_t element : elements) {
        if (LevelActionElementBytes(kind) == 1)
            out.U8(static_cast<uint8_t>(element));
        else
            out.U16(element);
    }
}

std::string LevelBody(const CLevelModel& level)
{
    CByteWriter out;
    CSceneBlockModel scene = level.scene;
    scene.word = static_cast<uint32_t>(level.records.size());
    WriteSceneBlock(out, scene);
    out.U32(scene.word);
    out.U32(level.startRecord);
    out.U32(static_cast<uint32_t>(level.pairs.size()));
    for (const CLevelPairModel& pair : level.pairs) {
        out.U32(pair.part);
        out.U32(pair.targetScene);
    }
    for (const CLevelRecordModel& record : level.records)
        WriteRecord(out, record, level.pairs.size());
    return out.Bytes();
}

std::string TooltipBody(const CTooltipModel& tooltip)
{
    CByteWriter out;
    WriteSceneBlock(out, tooltip.scene);
    out.U8(tooltip.hidden);
    out.U32(tooltip.slideState);
    out.F32(tooltip.offsetX);
    out.U32(static_cast<uint32_t>(tooltip.steps.size()));
    for (const CTooltipStepModel& step : tooltip.steps) {
        for (int32_t value : {step.part, step.eventValue, step.eventObject, step.nextPage})
            out.U32(static_cast<uint32_t>(value));
    }
    out.U32(static_cast<uint32_t>(tooltip.finalPage));
    WriteActions(out, tooltip.actions, kTooltipActionKinds);
    out.U16(tooltip.doneSound);
    out.U16(tooltip.stepSound);
    return out.Bytes();
}

std::string LabelsBody(const CLabelsModel& labels)
{
    CByteWriter out;
    WriteSceneBlock(out, labels.scene);
    out.U32(static_cast<uint32_t>(labels.labels.size()));
    for (const CLabelModel& label : labels.labels) {
        out.U32(label.part);
        out.U16(label.value);
        for (uint32_t value : label.values)
            out.U32(value);
    }
    return out.Bytes();
}

std::string TimerBody(const CTimerModel& timer)
{
    CByteWriter out;
    WriteSceneBlock(out, timer.scene);
    const float values[] = {timer.x, timer.y, timer.value50, timer.size};
    out.Floats(values, 4);
    return out.Bytes();
}

std::string FreshTimerSection(const CTimerModel& timer)
{
    CByteWriter out;
    out.U32(static_cast<uint32_t>(timer.scene.parts.size()));
    for (const CScenePartModel& part : timer.scene.parts) {
        out.U32(part.flags);
        out.F32(0.0f);
    }
    out.F32(0.0f);
    out.U32(kTimerHidden);
    out.F32(0.0f);
    return out.Bytes();
}

void WriteHiddenObjectFields(CByteWriter& out, const CHiddenObjectRecordModel& r)
{
    out.U32(r.maxShownItems);
    out.U32(r.maxPickedItems);
    out.U32(r.initialState);
    WriteAction(out, r.switchObjects, LevelActionKind::SetSwitchObjects);
    out.U32(static_cast<uint32_t>(r.switchRecord));
    out.U32(static_cast<uint32_t>(r.switchTargetScene));
    out.U32(r.switchNextState);
    WritePopup(out, r.switchPopup);
    WriteAction(out, r.markObjects, LevelActionKind::MarkObjects);
    for (const CStateBlockModel& block : r.states)
        WriteStateBlock(out, block);
    out.U16(r.ghostSound);
    out.U32(r.quizQuestion);
    out.U32(r.quizLayout);
    for (const CQuizAnswerModel& answer : r.answers) {
        out.U32(answer.text);
        out.U8(answer.firstOutcome);
        WriteOutcome(out, answer.outcomes[0], answer.firstOutcome != 0);
        WriteOutcome(out, answer.outcomes[1], true);
    }
    for (uint16_t sound : r.hitSounds)
        out.U16(sound);
    for (uint16_t sound : r.itemsDoneSounds)
        out.U16(sound);
}

std::string HiddenObjectLevelBody(const CHiddenObjectLevelModel& model)
{
    CByteWriter out;
    out.Text(LevelBody(model.level));
    for (size_t i = 0; i < model.level.records.size(); ++i)
        WriteHiddenObjectFields(out, i < model.extensions.size() ? model.extensions[i] : CHiddenObjectRecordModel{});
    return out.Bytes();
}
