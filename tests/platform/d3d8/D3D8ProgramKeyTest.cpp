#include <gtest/gtest.h>

#include "platform/d3d8/D3D8FixedFunction.h"
#include "platform/d3d8/D3D8State.h"
#include "platform/d3d8/D3D8StateBlock.h"

namespace {

// The fullest key there is: eight stages, eight coordinate sets, lit and fogged.
struct FullKeys {
    CD3D8VertexKey vertex;
    CD3D8FragmentKey fragment;
    CD3D8CombinerKey combiner;

    FullKeys()
    {
        vertex.texSets = 8;
        vertex.stagesWithCoordinates = 8;
        vertex.texCoordIndex.fill(0xFF);
        vertex.lighting = true;
        vertex.lights = 8;
        fragment.alphaFunc = D3DCMP_GREATEREQUAL;
        combiner.count = 8;
        for (CD3D8StageKey& stage : combiner.stages) {
            stage.colorOp = D3DTOP_LERP;
            stage.colorArgs = {0x3F, 0x3F, 0x3F};
            stage.alphaOp = D3DTOP_LERP;
            stage.alphaArgs = {0x3F, 0x3F, 0x3F};
        }
    }

    CD3D8ProgramKey Key(DWORD shader = 0) const { return D3D8ProgramKey(shader, vertex, fragment, combiner); }
};

} // namespace

TEST(D3D8ProgramKeyTest, KeysDifferExactlyWhenTheProgramsDo)
{
    FullKeys keys;
    CD3D8ProgramKey full = keys.Key();
    EXPECT_TRUE(full == keys.Key());
    EXPECT_EQ(CD3D8ProgramKeyHash()(full), CD3D8ProgramKeyHash()(keys.Key()));

    // A stage past the count does not count.
    keys.combiner.count = 1;
    CD3D8ProgramKey one = keys.Key();
    keys.combiner.stages[5].colorOp = D3DTOP_ADD;
    EXPECT_TRUE(one == keys.Key());
    keys.combiner.stages[0].alphaArgs[2] = 0x21;
    EXPECT_FALSE(one == keys.Key());

    // The last byte the fullest key holds still tells keys apart.
    FullKeys last;
    last.combiner.stages[7].texture = true;
    EXPECT_FALSE(full == last.Key());
}

TEST(D3D8ProgramKeyTest, PixelShaderHandleComesBackWhole)
{
    FullKeys keys;
    EXPECT_EQ(D3D8ProgramKeyShader(keys.Key(0x81234567)), 0x81234567u);
    EXPECT_EQ(D3D8ProgramKeyShader(keys.Key()), 0u);
    EXPECT_FALSE(keys.Key(1) == keys.Key(2));
}

TEST(D3D8ProgramKeyTest, TouchRenewsTheSerialsOfItsGroupsOnly)
{
    CD3D8State state{};
    state.SetDefaults(64, 64, true, false);
    uint64_t program = state.Serial(kD3D8ChangeProgram);
    uint64_t factor = state.Serial(kD3D8ChangeFactor);
    EXPECT_NE(program, factor);
    state.Touch(D3D8RenderStateChanges(D3DRS_TEXTUREFACTOR));
    EXPECT_EQ(state.Serial(kD3D8ChangeProgram), program);
    EXPECT_GT(state.Serial(kD3D8ChangeFactor), factor);
    state.Touch(D3D8StageStateChanges(D3DTSS_COLOROP) | D3D8RenderStateChanges(D3DRS_FOGSTART));
    EXPECT_GT(state.Serial(kD3D8ChangeProgram), program);
    EXPECT_EQ(D3D8StageStateChanges(D3DTSS_MAGFILTER), 0u);
    EXPECT_EQ(D3D8RenderStateChanges(D3DRS_ZENABLE), 0u);
}

TEST(D3D8ProgramKeyTest, EntriesStaySortedAndSetReplaces)
{
    CD3D8Entries<DWORD, DWORD> entries;
    for (DWORD key : {7u, 2u, 9u, 2u})
        entries.Set(key, key * 10);
    ASSERT_EQ(entries.size(), 3u);
    DWORD previous = 0;
    for (const auto& entry : entries) {
        EXPECT_GT(entry.first, previous);
        previous = entry.first;
    }
    entries.Set(9, 1);
    ASSERT_NE(entries.Find(9), nullptr);
    EXPECT_EQ(*entries.Find(9), 1u);
    EXPECT_EQ(entries.Find(3), nullptr);
    EXPECT_EQ(entries.Find(10), nullptr);
}
