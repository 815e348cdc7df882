#include "engine3d/Engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Log.h"
#include "engine3d/Container.h"
#include "engine3d/Object.h"
#include "engine3d/Shader.h"
#include "engine3d/StencilShadow.h"
#include "tests/support/MemoryRenderer.h"

namespace {

std::vector<std::u16string> g_logged;

void Capture(const char16_t* text) { g_logged.emplace_back(text); }

class EngineTest : public ::testing::Test {
protected:
    C3DObject* MakeObject()
    {
        C3DObject* object = engine->CreateObject(kFormatColorTex, 0x20C29);
        EXPECT_EQ(object->Create(1, 3, 3), RES_OK);
        return object;
    }

    CMemoryObject* Memory(C3DObject* object) { return static_cast<CMemoryObject*>(object); }

    CMemoryIndexBuffer* Buffer(C3DObject* object)
    {
        return static_cast<CMemoryIndexBuffer*>(object->GetIndexBuffer());
    }

    MemoryRenderer renderer;
    CMemoryEngine* engine = renderer.Engine();
    CWorldData* data = renderer.Data();
};

TEST_F(EngineTest, UnloadEmptiesEveryListAndNamesTheLeakingOnes)
{
    g_logged.clear();
    SetLogDebugHook(&Capture);
    C3DObject* object = MakeObject();
    ASSERT_EQ(object->SetTextureAll(engine->CreateTexture(1, 0x52), 0), RES_OK);
    engine->CreateTexture(0, 0);
    engine->CreateShader(0, 0);
    engine->CreateStencilShadow(2, 0x80000000u);
    engine->CreateContainerText(0xFFFFFFFFu, 0);
    EXPECT_EQ(engine->GetShaderCount(), 2u);  // the shadow is listed with the shaders
    EXPECT_EQ(engine->GetStencilShadowCount(), 0u);

    EXPECT_EQ(renderer.Unload(), kListObjects | kListTextures | kListShaders | kListContainer);
    EXPECT_EQ(engine->GetObjectCount() + engine->GetIndexBufferCount() + engine->GetTextureCount() +
                  engine->GetShaderCount() + engine->GetContainerCount(),
              0u);
    EXPECT_EQ(engine->GetCamera(), nullptr);
    EXPECT_TRUE(g_logged.empty());  // the leak lines are issued with the log switch off
    SetLogDebugHook(nullptr);
}

TEST_F(EngineTest, CleanRunLeaksNothing)
{
    C3DObject* object = MakeObject();
    C3DTexture* texture = engine->CreateTexture(0, 0);
    C3DShader* shader = engine->CreateShader(1, 0);
    C3DStencilShadow* shadow = engine->CreateStencilShadow(1, 0);
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    EXPECT_EQ(engine->DestroyTexture(texture), RES_OK);
    EXPECT_EQ(engine->DestroyShader(shader), RES_OK);
    EXPECT_EQ(engine->DestroyStencilShadow(shadow), RES_OK);
    EXPECT_EQ(engine->DestroyShader(shader), RES_FAIL);
    EXPECT_EQ(engine->DestroyShader(nullptr), RES_FAIL);
    EXPECT_EQ(renderer.Unload(), 0u);
}

TEST_F(EngineTest, DestroyObjectRefusesWhatItDoesNotOwn)
{
    EXPECT_EQ(engine->DestroyObject(nullptr), RES_FAIL);
    C3DObject* object = MakeObject();
    EXPECT_EQ(engine->DestroyObject(object), RES_OK);
    CMemoryObject stray(data, engine);
    stray.SetFlags(kFormatColorTex, 0);
    EXPECT_EQ(engine->DestroyObject(&stray), RES_FAIL);
    stray.SetFlags(0, 0);
    EXPECT_EQ(engine->DestroyObject(&stray), RES_FAIL);
}

TEST_F(EngineTest, FactoryFailuresLeaveTheirCodeAndNothingListed)
{
    engine->Failures().FailNth(MemoryOp::CreateObject, 2);
    EXPECT_NE(engine->CreateObject(kFormatColorTex, 0), nullptr);
    data->lastError = 0;
    EXPECT_EQ(engine->CreateObject(kFormatColorTex, 0), nullptr);
    EXPECT_EQ(data->lastError, RES_OUT_OF_MEMORY);
    EXPECT_NE(engine->CreateObject(kFormatColorTex, 0), nullptr);
    EXPECT_EQ(engine->GetObjectCount(), 2u);

    C3DObject* object = engine->CreateObject(kFormatColorTex, 0);
    engine->Failures().FailNth(MemoryOp::CreateIndexBuffer, 1);
    EXPECT_EQ(object->Create(1, 3, 3), RES_FAIL);
    engine->Failures().FailNth(MemoryOp::CreateVertices, 1);
    EXPECT_EQ(object->Create(1, 3, 3), RES_FAIL);
    EXPECT_EQ(object->Create(1, 3, 3), RES_OK);
    EXPECT_EQ(engine->GetIndexBufferCount(), 1u);
}

TEST_F(EngineTest, RestoreWalkStopsAtTheFirstFailure)
{
    C3DObject* objects[3] = {MakeObject(), MakeObject(), MakeObject()};
    engine->Failures().FailNth(MemoryOp::RebuildStateBlock, 2);
    EXPECT_EQ(engine->Init(MemoryRenderer::Window(), 1024, 768, 0, 32, 1), RES_FAIL);
    EXPECT_EQ(Memory(objects[0])->RebuildCount(), 1u);
    EXPECT_EQ(Memory(objects[1])->RebuildCount(), 1u);
    EXPECT_EQ(Memory(objects[2])->RebuildCount(), 0u);
    EXPECT_EQ(Buffer(objects[0])->RestoreCount(), 0u);

    engine->Failures().FailNth(MemoryOp::DeviceRestore, 1);
    EXPECT_EQ(engine->Init(MemoryRenderer::Window(), 1024, 768, 0, 32, 1), RES_FAIL);
    EXPECT_EQ(Memory(objects[2])->RebuildCount(), 1u);
    EXPECT_EQ(Buffer(objects[0])->RestoreCount(), 1u);
    EXPECT_EQ(Buffer(objects[1])->RestoreCount(), 0u);

    EXPECT_EQ(engine->Init(MemoryRenderer::Window(), 1024, 768, 0, 32, 1), RES_OK);
    EXPECT_EQ(Buffer(objects[2])->RestoreCount(), 1u);
    EXPECT_EQ(engine->Init(MemoryRenderer::Window(), 1024, 768, 0, 32, 0), RES_OK);
    EXPECT_EQ(Memory(objects[0])->RebuildCount(), 3u);
}

TEST_F(EngineTest, ReleaseWalkOnlyWithReleaseAndStopsAtTheFirstFailure)
{
    C3DObject* objects[2] = {MakeObject(), MakeObject()};
    EXPECT_EQ(engine->Uninit(0), RES_OK);
    EXPECT_EQ(Memory(objects[0])->ReleaseStateCount(), 0u);
    engine->Failures().FailNth(MemoryOp::ReleaseStateBlock, 1);
    EXPECT_EQ(engine->Uninit(1), RES_FAIL);
    EXPECT_EQ(Memory(objects[1])->ReleaseStateCount(), 0u);
    EXPECT_EQ(engine->Uninit(1), RES_OK);
    EXPECT_EQ(Memory(objects[1])->ReleaseStateCount(), 1u);
    EXPECT_EQ(Buffer(objects[1])->LostCount(), 1u);
}

TEST_F(EngineTest, InitStoresTheModeAndScalesTheViewport)
{
    data->scaleX = 0.5f;
    data->scaleY = 1.25f;
    int window;
    ASSERT_EQ(engine->Init(&window, 800, 600, 1, 16, 0), RES_OK);
    EXPECT_EQ(data->configuredWidth, 800);
    EXPECT_EQ(data->configuredHeight, 600);
    EXPECT_EQ(data->fullscreen, 1);
    EXPECT_EQ(data->colorDepth, 16);
    EXPECT_EQ(data->mainWindow, &window);
    const MemoryCameraState& camera = engine->Camera()->State();
    EXPECT_EQ(camera.viewport[2], 400);
    EXPECT_EQ(camera.viewport[3], 750);

    data->scaleX = 100.0f;  // 80000 cut to 16 bits
    EXPECT_EQ(engine->Init(&window, 800, 600, 0, 32, 0), RES_OK);
    EXPECT_EQ(camera.viewport[2], 80000 & 0xFFFF);

    CMemoryEngine bare(data);
    EXPECT_EQ(bare.Init(&window, 640, 480, 0, 32, 0), RES_OK);
    EXPECT_EQ(data->configuredWidth, 640);
    EXPECT_EQ(bare.Init(nullptr, 640, 480, 0, 32, 0), RES_NO_WINDOW);
    EXPECT_EQ(bare.Unload(), RES_OK);
}

TEST_F(EngineTest, LightingInitCountsTheLights)
{
    EXPECT_EQ(engine->LightingInit(0xFFFFFFFFu), RES_OK);
    EXPECT_EQ(engine->LightInits(), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(engine->LightingInit(0), RES_OK);
    EXPECT_EQ(engine->LightInits().size(), 2u);
    EXPECT_EQ(engine->LightingInit(1), RES_OK);
    EXPECT_EQ(engine->LightingInit(7), RES_OK);
    EXPECT_EQ(engine->LightInits(), (std::vector<uint32_t>{0, 1, 0, 0, 1}));
}

// Records the containers in the order their destruction completes.
class RecordingEngine : public CMemoryEngine {
public:
    using CMemoryEngine::CMemoryEngine;
    Result DestroyContainer(C3DContainer* container) override
    {
        const uint32_t id = container ? container->GetId() : 0;
        const Result result = CMemoryEngine::DestroyContainer(container);
        finished.push_back(id);
        return result;
    }
    std::vector<uint32_t> finished;
};

void Attach(C3DContainer* parent, C3DContainer* child)
{
    ASSERT_EQ(parent->GetChildren().AddTail(child), RES_OK);
    child->IncrementAttachCount();
}

TEST_F(EngineTest, ContainerFactoriesSetKindAndId)
{
    C3DContainer* plain = engine->CreateContainer(0xABCDEF12u, 0x101);
    C3DContainer* object = engine->CreateContainerObject(0x05000007u, 1);
    C3DContainer* text = engine->CreateContainerText(0xFFFFFFFFu, 0);
    EXPECT_EQ(plain->GetKindBits(), 0u);
    EXPECT_EQ(plain->GetId(), 0xCDEF12u);
    EXPECT_EQ(object->GetKindBits(), kContainerKindObject);
    EXPECT_EQ(object->GetId(), 7u);
    EXPECT_EQ(text->GetKindBits(), kContainerKindText);
    EXPECT_EQ(text->GetId(), 0xFFFFFFu);
    EXPECT_EQ(engine->GetContainerCount(), 3u);
    for (C3DContainer* c : {plain, object, text})
        EXPECT_EQ(engine->DestroyContainer(c), RES_OK);
    EXPECT_EQ(engine->DestroyContainer(nullptr), RES_FAIL);
    EXPECT_EQ(renderer.Unload(), 0u);
}

TEST(EngineContainers, DestroyGoesDepthFirstAndKeepsNodesAttachedElsewhere)
{
    MemoryRenderer renderer;
    RecordingEngine engine(renderer.Data());
    C3DContainer* root = engine.CreateContainer(1, 0);
    C3DContainer* child = engine.CreateContainer(2, 0);
    C3DContainer* grandchild = engine.CreateContainerObject(3, 0);
    C3DContainer* shared = engine.CreateContainerText(4, 0);
    C3DContainer* other = engine.CreateContainer(5, 0);
    Attach(root, child);
    Attach(child, grandchild);
    Attach(root, shared);
    Attach(other, shared);

    EXPECT_EQ(engine.DestroyContainer(root), RES_OK);
    EXPECT_EQ(engine.finished, (std::vector<uint32_t>{3, 2, 4, 1}));
    EXPECT_EQ(engine.GetContainerCount(), 2u);  // the shared node stays with its other parent
    EXPECT_EQ(shared->GetAttachCount(), 1u);

    EXPECT_EQ(engine.ClearContainer(other), RES_OK);
    EXPECT_TRUE(other->GetChildren().IsEmpty());
    EXPECT_EQ(engine.GetContainerCount(), 1u);
    EXPECT_EQ(engine.ClearContainer(nullptr), RES_FAIL);
    EXPECT_EQ(engine.Unload(), RES_OK);
    EXPECT_EQ(engine.LeakedLists(), kListContainer);
}

} // namespace
