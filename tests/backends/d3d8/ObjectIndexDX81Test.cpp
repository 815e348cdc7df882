#include "backends/d3d8/ObjectIndexDX81.h"
#include "core/WorldData.h"
#include "tests/backends/d3d8/DX81Fixture.h"

namespace {

class ObjectIndexDX81Test : public DX81LoadedFixture {
protected:
    C3DObjectIndexBaseDX81* Make(uint32_t kind)
    {
        return static_cast<C3DObjectIndexBaseDX81*>(Engine()->CreateIndexBuffer(0, kind));
    }
};

} // namespace

TEST_F(ObjectIndexDX81Test, EachKindMakesADeviceBufferOfItsFormatInSystemMemory)
{
    struct Row {
        uint32_t kind;
        uint8_t size;
        D3DFORMAT format;
    };
    for (const Row& row : {Row{kIndexKind16, 2, D3DFMT_INDEX16}, Row{kIndexKind32, 4, D3DFMT_INDEX32}}) {
        C3DObjectIndexBaseDX81* buffer = Make(row.kind);
        ASSERT_NE(buffer, nullptr);
        EXPECT_EQ(buffer->GetUsage(), static_cast<uint32_t>(D3DUSAGE_DYNAMIC));
        uint8_t kind = 0;
        EXPECT_EQ(buffer->GetKind(&kind), RES_OK);
        EXPECT_EQ(kind, row.kind);

        // Before Create: Lock succeeds and nothing is locked.
        EXPECT_EQ(buffer->Lock(), RES_OK);
        uint8_t size = 0;
        EXPECT_EQ(buffer->GetIndexData(&size), nullptr);
        EXPECT_EQ(size, row.size);

        D3D8TraceStart();
        ASSERT_EQ(buffer->Create(2, 6), RES_OK);
        D3D8TraceStop();
        const std::vector<CD3D8TraceCall> made = Calls("IDirect3DDevice8::CreateIndexBuffer");
        ASSERT_EQ(made.size(), 1u);
        const std::vector<uint64_t> args(made[0].args.begin(), made[0].args.begin() + 4);
        EXPECT_EQ(args, (std::vector<uint64_t>{6u * row.size, D3DUSAGE_DYNAMIC, row.format, D3DPOOL_SYSTEMMEM}));
        EXPECT_EQ(buffer->GetIndexData(&size), nullptr);
        ASSERT_EQ(buffer->Lock(), RES_OK);
        EXPECT_NE(buffer->GetIndexData(&size), nullptr);
        EXPECT_EQ(buffer->Unlock(0), RES_OK);
        EXPECT_EQ(buffer->GetIndexData(&size), nullptr);
        EXPECT_EQ(buffer->OnDeviceRestore(), RES_OK);
        EXPECT_EQ(buffer->OnDeviceLost(), RES_OK);
    }
}

TEST_F(ObjectIndexDX81Test, IndicesAreCutToTheWidthAndReadOnlyWhileLocked)
{
    C3DObjectIndexBaseDX81* narrow = Make(kIndexKind16);
    C3DObjectIndexBaseDX81* wide = Make(kIndexKind32);
    for (C3DObjectIndexBaseDX81* buffer : {narrow, wide}) {
        ASSERT_EQ(buffer->Create(1, 4), RES_OK);
        ASSERT_EQ(buffer->Lock(), RES_OK);
        buffer->SetIndex(1, 0x12345u);
        buffer->SetIndex(4, 7);  // past the indices: ignored
        EXPECT_EQ(buffer->GetIndex(4), kNoIndex);
        buffer->FillIndexRange(2, 2);
        EXPECT_EQ(buffer->Unlock(0), RES_OK);
        EXPECT_EQ(buffer->GetIndex(1), kNoIndex);
        buffer->SetIndex(0, 9);  // unlocked: ignored
        ASSERT_EQ(buffer->Lock(), RES_OK);
        EXPECT_EQ(buffer->GetIndex(0), 0u);
        EXPECT_EQ(buffer->GetIndex(3), 1u);
        EXPECT_EQ(buffer->Unlock(0), RES_OK);
    }
    ASSERT_EQ(narrow->Lock(), RES_OK);
    ASSERT_EQ(wide->Lock(), RES_OK);
    EXPECT_EQ(narrow->GetIndex(1), 0x2345u);
    EXPECT_EQ(wide->GetIndex(1), 0x12345u);
    EXPECT_EQ(narrow->Unlock(0), RES_OK);
    EXPECT_EQ(wide->Unlock(0), RES_OK);
}

TEST_F(ObjectIndexDX81Test, SelectHandsTheBufferWithTheRecordsFirstVertex)
{
    C3DObjectIndexBaseDX81* buffer = Make(kIndexKind16);
    ASSERT_EQ(buffer->Create(1, 3), RES_OK);
    ASSERT_EQ(buffer->SetRecord(0, 12, 3, 0, 3, 1, kPrimitiveTriangleList, kCullNone, kPartNumberId), RES_OK);
    buffer->Select(buffer->GetRecordAddress(0));
    const CD3D8State& state = D3D8InspectState(Device());
    EXPECT_EQ(state.indices, buffer->GetDeviceBuffer());
    EXPECT_EQ(state.baseVertexIndex, 12u);

    const UINT live = D3D8InspectDevice(Device()).liveResources;
    EXPECT_EQ(Engine()->DestroyIndexBuffer(buffer), RES_OK);
    EXPECT_EQ(D3D8InspectDevice(Device()).liveResources, live - 1);
}

TEST_F(ObjectIndexDX81Test, ANewCreateReplacesTheDeviceBuffer)
{
    C3DObjectIndexBaseDX81* buffer = Make(kIndexKind32);
    ASSERT_EQ(buffer->Create(1, 3), RES_OK);
    ASSERT_EQ(buffer->Lock(), RES_OK);
    const UINT live = D3D8InspectDevice(Device()).liveResources;
    ASSERT_EQ(buffer->Create(2, 9), RES_OK);
    EXPECT_EQ(D3D8InspectDevice(Device()).liveResources, live);
    uint8_t size = 0;
    EXPECT_EQ(buffer->GetIndexData(&size), nullptr);
    D3DINDEXBUFFER_DESC desc{};
    ASSERT_EQ(buffer->GetDeviceBuffer()->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, 36u);
    EXPECT_EQ(buffer->Release(), RES_OK);
    EXPECT_EQ(buffer->GetDeviceBuffer(), nullptr);
    EXPECT_EQ(D3D8InspectDevice(Device()).liveResources, live - 1);
}
