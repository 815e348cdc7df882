#include "engine3d/Object.h"
#include "engine3d/Texture.h"
#include "levels/jigsaw/LevelJigsaw.h"
#include "levels/sliding/LevelSliding.h"
#include "tests/game/GameLoadFixture.h"

// The sample's mini-game boards as its data builds them, over the decoded sample pictures.

namespace {

constexpr uint32_t kCellColour = 0xC8B48C;  // the sliding picture's cells
constexpr float kInset = 8.0f;

class SampleBoardsTest : public DecodedSampleTest {
protected:
    template <typename Level>
    Level* Started(uint32_t scene)
    {
        auto* level = dynamic_cast<Level*>(m_world.m_pScenes[scene].get());
        EXPECT_NE(level, nullptr);
        if (!level || Failed(level->LoadFiles()) || Failed(level->Start(14)))
            return nullptr;
        return level;
    }

    CMemoryEngine& Engine() { return *static_cast<CMemoryEngine*>(m_world.Get3DEngine()); }
};

} // namespace

TEST_F(SampleBoardsTest, TheSlidingPiecesStandOnTheCellsThePictureDrawsInsideItsFrame)
{
    CLevelSliding* level = Started<CLevelSliding>(3);
    ASSERT_NE(level, nullptr);
    const CBoardGeometry& board = level->GetBoard();
    C3DObject* display = level->GetDisplayObject();
    Vector3 min{}, max{};
    Vector2 uvMin{}, uvMax{};
    ASSERT_EQ(display->GetPartBoundingBox(1, &min, &max, 1), RES_OK);
    ASSERT_EQ(display->GetPartUVBounds(1, &uvMin, &uvMax), RES_OK);
    C3DTexture* picture = display->GetTexture(1, 0);
    ASSERT_NE(picture, nullptr);
    auto colourAt = [&](float x, float y) {
        const float u = uvMin.x + (x - min.x) / (max.x - min.x) * (uvMax.x - uvMin.x);
        const float v = uvMin.y + (y - min.y) / (max.y - min.y) * (uvMax.y - uvMin.y);
        return picture->GetPixel(u, v) & 0xFFFFFFu;
    };
    EXPECT_GE(board.originX - min.x, 16.0f) << "a frame on the left";
    EXPECT_GE(board.originY - min.y, 16.0f);
    EXPECT_GE(max.x - (board.originX + board.columns * board.cellWidth), 16.0f);
    EXPECT_GE(max.y - (board.originY + board.rows * board.cellHeight), 16.0f);
    for (uint32_t c = 0; c < board.columns; ++c) {
        for (uint32_t r = 0; r < board.rows; ++r) {
            const float left = board.originX + c * board.cellWidth, top = board.originY + r * board.cellHeight;
            const float right = left + board.cellWidth, bottom = top + board.cellHeight;
            EXPECT_EQ(colourAt(left + kInset, top + kInset), kCellColour) << c << "," << r;
            EXPECT_EQ(colourAt(right - kInset, bottom - kInset), kCellColour) << c << "," << r;
            EXPECT_NE(colourAt(left, top + board.cellHeight / 2), kCellColour) << "a groove at the cell's left edge";
            EXPECT_NE(colourAt(left + board.cellWidth / 2, top), kCellColour) << "a groove at the cell's top edge";
        }
    }
}

TEST_F(SampleBoardsTest, TheJigsawDrawsEveryQuadTexturedInPlayAndInItsFinishedPicture)
{
    CLevelJigsaw* level = Started<CLevelJigsaw>(1);
    ASSERT_NE(level, nullptr);
    for (bool finished : {false, true}) {
        Engine().ClearDraws();
        if (finished)
            level->RenderMessage();
        else
            level->Render();
        ASSERT_FALSE(Engine().Draws().empty());
        for (const MemoryDraw& draw : Engine().Draws())
            EXPECT_NE(draw.textures[0], nullptr) << "an untextured quad shows white; part " << draw.part;
    }
}
