#include "engine3d/Engine.h"

#include <cmath>

#include "core/Log.h"
#include "engine3d/Camera.h"
#include "engine3d/Container.h"
#include "engine3d/Object.h"
#include "engine3d/ObjectIndex.h"
#include "engine3d/Shader.h"
#include "engine3d/StencilShadow.h"
#include "engine3d/Texture.h"

namespace {

constexpr uint32_t kLightRecordCount = 2;
constexpr uint32_t kAllLights = 0xFFFFFFFFu;

template <typename T> void ReleaseAndDelete(ListValue value)
{
    T* object = ListObject<T>(value);
    IgnoreResult(object->Release());
    delete object;
}

void DeleteContainer(ListValue value)
{
    delete ListObject<C3DContainer>(value);
}

// floor(size x scale) cut to 16 bits; a negative or undefined product gives 0.
uint32_t ScaledSize(uint16_t size, float scale)
{
    const double product = std::floor(static_cast<double>(size) * static_cast<double>(scale));
    if (!(product >= 0.0) || product >= 4294967296.0)
        return 0;
    return static_cast<uint32_t>(product) & 0xFFFFu;
}

ListValue EntryValue(C3DShaderListEntry* entry)
{
    return reinterpret_cast<ListValue>(entry);
}

} // namespace

C3DEngine::C3DEngine(CWorldData* data) : m_pWorldData(data) {}

C3DEngine::~C3DEngine()
{
    FreeNodes(m_listContainer);
    FreeNodes(m_listStencilShadow);
    FreeNodes(m_plistShaders);
    FreeNodes(m_plistTextures);
    FreeNodes(m_plistObjectsIndex);
    FreeNodes(m_plistObjects);
}

uint32_t C3DEngine::CountNodes(const CLinkedList& list)
{
    uint32_t count = 0;
    for (const CLinkedList::Node* node = list.Head(); node; node = node->next)
        ++count;
    return count;
}

void C3DEngine::FreeNodes(CLinkedList& list)
{
    list.GetFirst();
    while (!list.IsEmpty())
        list.RemoveCurrent();
}

CLinkedList::Node* C3DEngine::FindNode(const CLinkedList& list, ListValue value)
{
    CLinkedList::Node* node = list.Head();
    while (node && node->value != value)
        node = node->next;
    return node;
}

CRefList::RefNode* C3DEngine::FindTextureNode(const C3DTexture* texture) const
{
    return static_cast<CRefList::RefNode*>(FindNode(m_plistTextures, reinterpret_cast<ListValue>(texture)));
}

Result C3DEngine::Load(WindowHandle) { return RES_OK; }

void C3DEngine::UnloadList(CLinkedList& list, uint32_t bit, const char16_t* leakLine, Dispose dispose)
{
    if (!list.IsEmpty()) {
        m_leakedLists |= bit;
        LogPrintf(m_pWorldData->logPath, 0, leakLine);
    }
    // Each node leaves the list before its object is released, so a release that reaches
    // back into the engine finds a consistent list.
    while (!list.IsEmpty()) {
        const ListValue value = list.GetFirst();
        list.RemoveCurrent();
        dispose(value);
    }
}

Result C3DEngine::Unload()
{
    m_leakedLists = 0;
    UnloadList(m_plistObjects, kListObjects, u"# C3DEngine::m_plistObjects detected memory leaks !\n",
               &ReleaseAndDelete<C3DObject>);
    UnloadList(m_plistObjectsIndex, kListObjectsIndex, u"# C3DEngine::m_plistObjectsIndex detected memory leaks !\n",
               &ReleaseAndDelete<C3DObjectIndex>);
    UnloadList(m_plistTextures, kListTextures, u"# C3DEngine::m_plistTextures detected memory leaks !\n",
               &ReleaseAndDelete<C3DTexture>);
    UnloadList(m_plistShaders, kListShaders, u"# C3DEngine::m_plistShaders detected memory leaks !\n",
               &ReleaseAndDelete<C3DShaderListEntry>);
    UnloadList(m_listStencilShadow, kListStencilShadow, u"# C3DEngine::m_listStencilShadow detected memory leaks !\n",
               &ReleaseAndDelete<C3DShaderListEntry>);
    UnloadList(m_listContainer, kListContainer, u"# C3DEngine::m_listContainer detected memory leaks !\n",
               &DeleteContainer);
    return RES_OK;
}

Result C3DEngine::Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                       uint8_t restore)
{
    CWorldData* d = m_pWorldData;
    d->configuredWidth = width;
    d->configuredHeight = height;
    d->fullscreen = fullscreen;
    d->colorDepth = colorBits;
    d->mainWindow = window;
    if (restore && Failed(RestoreWalk()))
        return RES_FAIL;
    if (m_pCamera)
        IgnoreResult(m_pCamera->SetViewport(0, 0, ScaledSize(width, d->scaleX), ScaledSize(height, d->scaleY)));
    return RES_OK;
}

Result C3DEngine::RestoreWalk()
{
    for (CLinkedList::Node* n = m_plistObjects.Head(); n; n = n->next) {
        if (Failed(ListObject<C3DObject>(n->value)->RebuildStateBlock()))
            return RES_FAIL;
    }
    for (CLinkedList::Node* n = m_plistObjectsIndex.Head(); n; n = n->next) {
        if (Failed(ListObject<C3DObjectIndex>(n->value)->OnDeviceRestore()))
            return RES_FAIL;
    }
    return RES_OK;
}

Result C3DEngine::Uninit(uint8_t release)
{
    if (!release)
        return RES_OK;
    return ReleaseWalk();
}

Result C3DEngine::ReleaseWalk()
{
    for (CLinkedList::Node* n = m_plistObjects.Head(); n; n = n->next) {
        if (Failed(ListObject<C3DObject>(n->value)->ReleaseStateBlock()))
            return RES_FAIL;
    }
    for (CLinkedList::Node* n = m_plistObjectsIndex.Head(); n; n = n->next) {
        if (Failed(ListObject<C3DObjectIndex>(n->value)->OnDeviceLost()))
            return RES_FAIL;
    }
    return RES_OK;
}

Result C3DEngine::LightingInit(uint32_t count)
{
    const uint32_t lights = count == kAllLights || count > kLightRecordCount ? kLightRecordCount : count;
    for (uint32_t i = 0; i < lights; ++i)
        IgnoreResult(LightInit(i));
    return RES_OK;
}

Result C3DEngine::BeginFrame() { return RES_OK; }

Result C3DEngine::EndFrame() { return RES_OK; }

void C3DEngine::Clear() {}

Result C3DEngine::DestroyObject(C3DObject* object)
{
    if (!object || !(object->GetFlagsA() & kFormatMask))
        return RES_FAIL;
    if (Failed(m_plistObjects.Release(object, 0)))
        return RES_FAIL;
    const Result result = object->Release();
    delete object;
    return result;
}

Result C3DEngine::DestroyIndexBuffer(C3DObjectIndex* buffer)
{
    if (!buffer)
        return RES_FAIL;
    const uint32_t kind = buffer->GetKindWord();
    if (kind != kIndexKind16 && kind != kIndexKind32)
        return RES_FAIL;
    if (Failed(m_plistObjectsIndex.Remove(buffer)))
        return RES_FAIL;
    const Result result = buffer->Release();
    delete buffer;
    return result;
}

Result C3DEngine::DestroyShader(C3DShader* shader) { return DestroyShaderListEntry(shader); }

Result C3DEngine::DestroyStencilShadow(C3DStencilShadow* shadow) { return DestroyShaderListEntry(shadow); }

Result C3DEngine::DestroyShaderListEntry(C3DShaderListEntry* entry)
{
    if (!entry || !FindNode(m_plistShaders, EntryValue(entry)))
        return RES_FAIL;
    if (Failed(m_plistShaders.Release(EntryValue(entry), 0)))
        return RES_OK;  // other holders remain
    const Result result = entry->Release();
    delete entry;
    return result;
}

C3DObject* C3DEngine::AdoptObject(C3DObject* object, uint32_t flagsA, uint32_t flagsB)
{
    if (!object) {
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return nullptr;
    }
    object->SetFlags(flagsA, flagsB);
    if (Failed(object->Init())) {
        IgnoreResult(object->Release());
        delete object;
        return nullptr;
    }
    if (Failed(m_plistObjects.AddTail(object, static_cast<uint8_t>(flagsA & 1)))) {
        IgnoreResult(object->Release());
        delete object;
        m_pWorldData->lastError = RES_OUT_OF_MEMORY;
        return nullptr;
    }
    return object;
}

C3DObjectIndex* C3DEngine::AdoptIndexBuffer(C3DObjectIndex* buffer)
{
    if (!buffer)
        return nullptr;
    if (Failed(buffer->Init()) || Failed(m_plistObjectsIndex.AddTail(buffer))) {
        IgnoreResult(buffer->Release());
        delete buffer;
        return nullptr;
    }
    return buffer;
}

C3DTexture* C3DEngine::AdoptTexture(C3DTexture* texture)
{
    if (!texture)
        return nullptr;
    const uint8_t shared = static_cast<uint8_t>(texture->GetFlags() & kTextureShared);
    if (Failed(texture->Init()) || Failed(m_plistTextures.AddTail(texture, shared))) {
        IgnoreResult(texture->Release());
        delete texture;
        return nullptr;
    }
    return texture;
}

C3DShader* C3DEngine::AdoptShader(C3DShader* shader, uint32_t flags)
{
    if (!shader)
        return nullptr;
    const uint8_t shared = static_cast<uint8_t>(flags & 1);
    if (Failed(shader->Init()) || Failed(m_plistShaders.AddTail(EntryValue(shader), shared))) {
        IgnoreResult(shader->Release());
        delete shader;
        return nullptr;
    }
    return shader;
}

C3DStencilShadow* C3DEngine::AdoptStencilShadow(C3DStencilShadow* shadow, uint32_t casterCount, uint32_t colour)
{
    if (!shadow)
        return nullptr;
    if (Failed(shadow->Create(casterCount, colour)) || Failed(m_plistShaders.AddTail(EntryValue(shadow), 0))) {
        IgnoreResult(shadow->Release());
        delete shadow;
        return nullptr;
    }
    return shadow;
}
