#include "levels/actions/LevelActions.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "tests/game/GameWorldFixture.h"
#include "tests/support/LevelTestKit.h"
#include "tools/LevelFileWriter.h"

namespace {

Result LoadFrom(CLevelAction& action, const std::string& bytes)
{
    CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
    EXPECT_EQ(stream.Open(), RES_OK);
    return action.Load(stream);
}

TEST(LevelAction, BothElementWidthsRoundTripByteForByte)
{
    const struct {
        LevelActionKind kind;
        std::string bytes;
    } cases[] = {
        {LevelActionKind::ShowObjects, std::string("\x02\x34\x12\xFF\xFF", 5)},
        {LevelActionKind::HideTooltips, std::string("\x03\x01\x02\xFF", 4)},
        {LevelActionKind::SetScenePhase, std::string("\x00", 1)},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CLevelAction> action = MakeLevelAction(c.kind, nullptr);
        ASSERT_EQ(LoadFrom(*action, c.bytes), RES_OK);
        EXPECT_EQ(action->GetCount(), static_cast<uint8_t>(c.bytes[0]));
        CStringStream saved;
        ASSERT_EQ(action->Save(saved), RES_OK);
        EXPECT_EQ(saved.m_bytes, c.bytes);
    }
    std::unique_ptr<CLevelAction> action = MakeLevelAction(LevelActionKind::MarkObjects, nullptr);
    ASSERT_EQ(LoadFrom(*action, std::string("\x01\x01\x02", 3)), RES_OK);
    EXPECT_EQ(action->GetElement(0), 0x0201);
    EXPECT_EQ(action->GetElement(1), 0) << "past the count";
    action->Clear();
    EXPECT_EQ(action->GetCount(), 0);
}

TEST(LevelAction, ACutStreamFailsAndLeavesNoElements)
{
    for (LevelActionKind kind : {LevelActionKind::EnableObjects, LevelActionKind::ShowTooltips}) {
        std::unique_ptr<CLevelAction> action = MakeLevelAction(kind, nullptr);
        ASSERT_EQ(LoadFrom(*action, std::string("\x01\x07", 2)), kind == LevelActionKind::ShowTooltips ? RES_OK : RES_FAIL);
        EXPECT_EQ(LoadFrom(*action, std::string("\x03\x07\x00", 3)), RES_FAIL);
        EXPECT_EQ(action->GetCount(), 0);
        CStringStream full(nullptr, 1);
        EXPECT_EQ(MakeLevelAction(kind, nullptr)->Save(full), RES_OK) << "an empty action saves its count only";
    }
}

class LevelActionPlacesTest : public GameWorldTest {};

TEST_F(LevelActionPlacesTest, EachPlaceOfARecordMakesItsKind)
{
    CLevelModel level;
    level.records.resize(1);
    for (CActionModel& action : level.records[0].startActions)
        action = {1};
    for (CActionModel& action : level.records[0].leaveActions)
        action = {2};
    const std::string bytes = LevelBody(level);
    CStreamMemory stream(kStreamRead, bytes.data(), static_cast<uint32_t>(bytes.size()));
    ASSERT_EQ(stream.Open(), RES_OK);
    CTestLevel reader{m_world.GetData(), nullptr, 0, kLevelTypeHiddenObject};
    ASSERT_EQ(reader.LoadDescription(&stream), RES_OK);
    const CLevelRecord* r = reader.GetRecord(0);
    const std::type_info* start[] = {&typeid(CLevelActionShowObjects),  &typeid(CLevelActionHideObjects),
                                     &typeid(CLevelActionDisableObjects), &typeid(CLevelActionEnableObjects),
                                     &typeid(CLevelActionHideTooltips), &typeid(CLevelActionShowTooltips)};
    const std::type_info* leave[] = {&typeid(CLevelActionHideTooltips),  &typeid(CLevelActionShowTooltips),
                                     &typeid(CLevelActionSetScenePhase),  &typeid(CLevelActionShowObjects),
                                     &typeid(CLevelActionHideObjects),    &typeid(CLevelActionDisableObjects),
                                     &typeid(CLevelActionEnableObjects)};
    for (size_t i = 0; i < kStartActionCount; ++i) {
        EXPECT_EQ(typeid(*r->startActions[i]), *start[i]) << "start " << i;
        EXPECT_EQ(r->startActions[i]->GetElement(0), 1);
    }
    for (size_t i = 0; i < kLeaveActionCount; ++i) {
        EXPECT_EQ(typeid(*r->leaveActions[i]), *leave[i]) << "leave " << i;
        EXPECT_EQ(r->leaveActions[i]->GetElement(0), 2);
    }
}

} // namespace
