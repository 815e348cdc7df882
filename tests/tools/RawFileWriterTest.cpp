#include "tools/RawFileWriter.h"

#include <gtest/gtest.h>

#include "core/Stream.h"
#include "tests/support/LevelTestKit.h"

namespace {

std::string U32(uint32_t value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

TEST(RawFileWriter, TheMenuDialogBodyIs442Bytes)
{
    CMenuDialogModel dialog;
    std::string expected = U32(107);
    for (uint32_t i = 0; i < kMenuDialogLines; ++i) {
        dialog.stringMap[i] = i + 1;
        expected += U32(i + 1);
    }
    dialog.clickSound = 5;
    dialog.dialogBorder = 8.0f;
    dialog.buttonBorder = 4.0f;
    expected += std::string("\x05\x00" "\x00\x00\x00\x41" "\x00\x00\x80\x40", 10);
    EXPECT_EQ(expected.size(), 442u);
    EXPECT_EQ(MenuDialogBody(dialog), expected);
}

// The layouts after the scene-object block, worked out by hand; the block reads back through
// the scene object.
TEST(RawFileWriter, MenuAndLevelObjectLayoutsFollowTheSceneBlock)
{
    CSceneBlockModel scene;
    scene.word = 9;
    scene.parts.resize(2);
    scene.parts[1].kind = 3;
    scene.parts[1].radius = 2.0f;
    scene.order = {1};
    CByteWriter block;
    WriteSceneBlock(block, scene);
    const std::string sceneBytes = block.Bytes();
    ASSERT_EQ(sceneBytes.size(), 16u + 2 * 29 + 2 * 2);
    CTestLevelObject reader(nullptr, nullptr, 0, kSceneTypeTooltip);
    CStreamMemory stream(kStreamRead, sceneBytes.data(), static_cast<uint32_t>(sceneBytes.size()));
    ASSERT_EQ(stream.Open(), RES_OK);
    ASSERT_EQ(reader.LoadDescription(&stream), RES_OK);
    EXPECT_EQ(reader.GetDescriptionWord(), 9u);
    EXPECT_EQ(reader.GetPart(1)->kind, 3);
    EXPECT_FLOAT_EQ(reader.GetPart(1)->radius, 2.0f);
    EXPECT_EQ(reader.GetPart(0)->itemId, 0xFFFFFFFFu);
    EXPECT_EQ(reader.GetPartOrder(0), 1);
    EXPECT_EQ(reader.GetPartOrder(1), 1) << "a part without an order entry gets its index";

    CLayeredMenuModel menu{scene, {{4, 1, 0, 2.0f, 0.5f, -1.0f}}, 3.0f, 0.0f, 7};
    EXPECT_EQ(LayeredMenuBody(menu).substr(sceneBytes.size()),
              std::string("\x01\x00\x00\x00" "\x04\x00\x00\x00\x01\x00\x00\x00" "\x00\x00\x00\x40\x00\x00\x00\x3F"
                          "\x00\x00\x80\xBF" "\x00\x00\x40\x40\x00\x00\x00\x00\x07\x00\x00\x00", 36));
    CLabelsModel labels{scene, {{1, 2, {3, 4, 5, 6}}}};
    EXPECT_EQ(LabelsBody(labels).substr(sceneBytes.size()),
              U32(1) + U32(1) + "\x02" + std::string(1, '\0') + U32(3) + U32(4) + U32(5) + U32(6));
    CTimerModel timer{scene, 1.0f, 2.0f, 3.0f, 4.0f};
    EXPECT_EQ(TimerBody(timer).substr(sceneBytes.size()),
              std::string("\x00\x00\x80\x3F\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x80\x40", 16));
    CTooltipModel tooltip;
    tooltip.scene = scene;
    tooltip.steps = {{0, 2, 3, -1}};
    tooltip.actions[0] = {0x0102};
    tooltip.doneSound = 8;
    EXPECT_EQ(TooltipBody(tooltip).substr(sceneBytes.size()),
              std::string("\x00" "\x01\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00", 13) + U32(0) + U32(2) +
                  U32(3) + U32(0xFFFFFFFF) + U32(0xFFFFFFFF) + std::string("\x01\x02\x01\x00\x00\x00\x00" "\x08\x00\xFF\xFF", 11));
    EXPECT_EQ(SoundIndexBody(0xFFFF), U32(0xFFFF));
}

} // namespace
