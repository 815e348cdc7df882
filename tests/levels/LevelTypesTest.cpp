#include "levels/LevelTypes.h"

#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/levels/minigames/MiniGameFixture.h"
#include "tests/support/LevelTestKit.h"

namespace {

constexpr uint32_t kFifthLevelType = 0x4005;

// A level type the game does not have, made as a registration makes it.
class CFifthLevel : public CTestLevel {
public:
    CFifthLevel(CWorldData* data, C3DEngine* engine, uint32_t id) : CTestLevel(data, engine, id, kFifthLevelType) {}
};

class LevelTypesTest : public MiniGameTest {
protected:
    template <typename Object>
    uint32_t TypeOf(std::unique_ptr<Object> made)
    {
        if (!made)
            return 0;
        const uint32_t type = made->GetType();
        EXPECT_EQ(made->Release(), RES_OK);
        return type;
    }
};

TEST_F(LevelTypesTest, EveryRegisteredTypeIsMadeWithItsTypeWordAndNoOtherIs)
{
    CLevelFactory factory;
    RegisterLevelTypes(factory);
    for (uint32_t type : {kLevelTypeHiddenObject, kLevelTypeJigsaw, kLevelTypeShoot, kLevelTypeSliding})
        EXPECT_EQ(TypeOf(factory.MakeLevel(type, m_world.GetData(), Engine(), 1)), type) << std::hex << type;
    for (uint32_t type : {kSceneTypeTimer, kSceneTypeLabels, kSceneTypeTooltip})
        EXPECT_EQ(TypeOf(factory.MakeObject(type, m_world.GetData(), Engine(), 1)), type) << std::hex << type;
    EXPECT_EQ(factory.MakeLevel(kFifthLevelType, m_world.GetData(), Engine(), 1), nullptr);
    EXPECT_EQ(factory.MakeLevel(kLevelTypeBase, m_world.GetData(), Engine(), 1), nullptr);
    EXPECT_EQ(factory.MakeObject(kLevelTypeJigsaw, m_world.GetData(), Engine(), 1), nullptr)
        << "levels and objects are apart";
}

TEST_F(LevelTypesTest, ANewTypeTakesOneLineButTheBaseAndTheWorldsOwnObjectsAreRefused)
{
    CLevelFactory factory;
    EXPECT_TRUE(factory.AddLevel<CFifthLevel>(kFifthLevelType));
    EXPECT_EQ(TypeOf(factory.MakeLevel(kFifthLevelType, m_world.GetData(), nullptr, 2)), kFifthLevelType);
    EXPECT_FALSE(factory.AddLevel<CFifthLevel>(kLevelTypeBase));
    EXPECT_FALSE(factory.AddLevel<CFifthLevel>(kSceneTypePlain));
    EXPECT_FALSE(factory.SetObjectMaker(kSceneTypePlain, nullptr));
    EXPECT_FALSE(factory.SetObjectMaker(kSceneTypeLayeredMenu, nullptr));
    EXPECT_TRUE(factory.SetLevelMaker(kFifthLevelType, nullptr)) << "a maker is taken back";
    EXPECT_EQ(factory.MakeLevel(kFifthLevelType, m_world.GetData(), nullptr, 2), nullptr);
}

// The records every level type keeps: only those read are handed out, and none after release.
TEST_F(LevelTypesTest, RecordsPastTheOnesReadAreNotHandedOutAndReleaseFreesThem)
{
    CJigsawModel jigsaw;
    jigsaw.level.records.resize(3);
    jigsaw.records.resize(3);
    jigsaw.records[1].shuffleCount = 0;  // a board that cannot mix
    CLevelJigsaw level(m_world.GetData(), Engine(), 0);
    EXPECT_EQ(Describe(level, JigsawBody(jigsaw)), RES_FAIL);
    EXPECT_NE(level.GetRecord(0), nullptr);
    EXPECT_NE(level.GetRecord(1), nullptr) << "the base part of the second record was read";
    EXPECT_EQ(level.GetRecord(3), nullptr);
    EXPECT_EQ(level.Release(), RES_OK);
    EXPECT_EQ(level.GetRecord(0), nullptr);

    CSlidingModel sliding;
    sliding.level.records.resize(2);
    CLevelSliding other(m_world.GetData(), Engine(), 0);
    ASSERT_EQ(Describe(other, SlidingBody(sliding)), RES_OK);
    ASSERT_NE(other.GetRecord(1), nullptr);
    EXPECT_EQ(other.GetRecord(2), nullptr);
    EXPECT_EQ(other.Release(), RES_OK);
    EXPECT_EQ(other.GetRecord(1), nullptr);
    sliding.level.records.resize(1);
    ASSERT_EQ(Describe(other, SlidingBody(sliding)), RES_OK) << "described again after release";
    EXPECT_NE(other.GetRecord(0), nullptr);
    EXPECT_EQ(other.GetRecord(1), nullptr);
    EXPECT_EQ(other.Release(), RES_OK);
}

} // namespace
