#pragma once
#include <cstdint>
#include <new>

#include "base/BaseObject.h"
#include "core/LinkedList.h"
#include "core/PackerFile.h"
#include "base/Result.h"
#include "core/WorldData.h"
#include "engine3d/ObjectTypes.h"

class C3DCamera;
class C3DContainer;
class C3DObject;
class C3DObjectIndex;
class C3DShader;
class C3DShaderListEntry;
class C3DStencilShadow;
class C3DTexture;

// Lists that still held entries when Unload began (LeakedLists).
enum EngineList : uint32_t {
    kListObjects = 0x01,
    kListObjectsIndex = 0x02,
    kListTextures = 0x04,
    kListShaders = 0x08,
    kListStencilShadow = 0x10,
    kListContainer = 0x20,
};

// The renderer-neutral 3D engine. Owns every renderer object in six lists: everything a
// Create operation returns stays listed and owned by the engine until the matching Destroy
// or Unload; callers hold plain pointers and never delete them. The base does the
// device-independent bookkeeping; each renderer fills the pure operations, making its
// classes and handing them to the Adopt helpers, which list them.
class C3DEngine : public CBaseObject {
public:
    explicit C3DEngine(CWorldData* data);
    C3DEngine(const C3DEngine&) = delete;
    C3DEngine& operator=(const C3DEngine&) = delete;
    // Frees the list nodes; the listed objects are released by Unload, not here.
    ~C3DEngine() override;

    virtual Result Load(WindowHandle window);
    // Releases and deletes every listed object, list by list.
    virtual Result Unload();
    // Stores the mode in the data block; with restore, the restore walk; then the viewport.
    virtual Result Init(WindowHandle window, uint16_t width, uint16_t height, uint8_t fullscreen, uint8_t colorBits,
                        uint8_t restore);
    // With release, the device-resource release walk.
    virtual Result Uninit(uint8_t release);
    virtual Result LightInit(uint32_t index) = 0;
    // LightInit for lights 0 .. count - 1 (0xFFFFFFFF: both lights; at most the two records).
    virtual Result LightingInit(uint32_t count);
    virtual Result PointSpriteInit() = 0;
    virtual Result FogingInit() = 0;
    // The version text of the graphics driver behind the current rendering context; null while
    // none is current or the renderer has no such driver.
    virtual const char* GetDriverVersion() const { return nullptr; }
    virtual Result BeginFrame();
    virtual Result EndFrame();
    virtual void Clear();
    // Class by the vertex-format bit of flags A; none: last error RES_UNKNOWN_KIND and null.
    virtual C3DObject* CreateObject(uint32_t flagsA, uint32_t flagsB) = 0;
    // Drops the list entry; when it is gone the object is released and deleted.
    virtual Result DestroyObject(C3DObject* object);
    // kind 1: 16-bit indices, 2: 32-bit.
    virtual C3DObjectIndex* CreateIndexBuffer(uint32_t count, uint32_t kind) = 0;
    virtual Result DestroyIndexBuffer(C3DObjectIndex* buffer);
    // One more holder of a shareable listed texture; null for any other.
    virtual C3DTexture* AddRefTexture(C3DTexture* texture);
    virtual C3DTexture* CreateTexture(uint32_t flags, uint32_t parameter) = 0;
    // Drops one reference; the last one releases and deletes the texture.
    virtual Result DestroyTexture(C3DTexture* texture);
    virtual C3DShader* CreateShader(uint32_t flags, uint32_t parameter) = 0;
    virtual Result DestroyShader(C3DShader* shader);
    virtual C3DStencilShadow* CreateStencilShadow(uint32_t casterCount, uint32_t colour) = 0;
    virtual Result DestroyStencilShadow(C3DStencilShadow* shadow);
    virtual C3DContainer* CreateContainer(uint32_t flags, uint32_t parameter);
    virtual C3DContainer* CreateContainerObject(uint32_t flags, uint32_t parameter);
    virtual C3DContainer* CreateContainerText(uint32_t flags, uint32_t parameter);
    // Children first, depth first; then the node unless it is still attached elsewhere.
    virtual Result DestroyContainer(C3DContainer* container);
    virtual Result ClearContainer(C3DContainer* container);
    // True when stencil shadows can be drawn.
    virtual bool IsStencilShadowSupported() = 0;

    // The texture cache: with flags bit 0, a listed shareable texture with the same words and
    // name is shared; otherwise a new texture is made and loaded (and destroyed again when
    // its load fails). The name kept and compared is the resource-name rule's.
    C3DTexture* MakeTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                       const char16_t* name);
    C3DTexture* LoadTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak);
    C3DTexture* LoadTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path);

    // One more holder of any listed texture, shareable or not (the object texture slots).
    Result RetainTexture(C3DTexture* texture);
    // References of a listed texture; 0 when it is not listed.
    uint32_t GetTextureRefCount(C3DTexture* texture) const;

    C3DCamera* GetCamera() const { return m_pCamera; }
    CWorldData* GetWorldData() const { return m_pWorldData; }
    uint32_t GetObjectCount() const { return CountNodes(m_plistObjects); }
    uint32_t GetIndexBufferCount() const { return CountNodes(m_plistObjectsIndex); }
    uint32_t GetTextureCount() const { return CountNodes(m_plistTextures); }
    uint32_t GetShaderCount() const { return CountNodes(m_plistShaders); }
    uint32_t GetStencilShadowCount() const { return CountNodes(m_listStencilShadow); }
    uint32_t GetContainerCount() const { return CountNodes(m_listContainer); }
    // EngineList bits of the lists that held entries when the last Unload began.
    uint32_t LeakedLists() const { return m_leakedLists; }

protected:
    // Shared factory tails: store the words, run Init (Create for a shadow) and list the new
    // object; a failing step deletes it and answers null. A null object (out of memory)
    // answers null, with RES_OUT_OF_MEMORY as last error for objects.
    C3DObject* AdoptObject(C3DObject* object, uint32_t flagsA, uint32_t flagsB);
    C3DObjectIndex* AdoptIndexBuffer(C3DObjectIndex* buffer);
    C3DTexture* AdoptTexture(C3DTexture* texture);
    C3DShader* AdoptShader(C3DShader* shader, uint32_t flags);
    C3DStencilShadow* AdoptStencilShadow(C3DStencilShadow* shadow, uint32_t casterCount, uint32_t colour);

    // The factories of a renderer, given its object class of each vertex format and its index
    // buffer class of each width. An unknown format answers null with RES_UNKNOWN_KIND as last
    // error, an unknown index width null.
    template <class NormalTex, class NormalTex2, class Color, class ColorTex>
    C3DObject* CreateObjectOf(uint32_t flagsA, uint32_t flagsB)
    {
        C3DObject* object = nullptr;
        if (flagsA & kFormatNormalTex)
            object = new (std::nothrow) NormalTex(m_pWorldData, this);
        else if (flagsA & kFormatNormalTex2)
            object = new (std::nothrow) NormalTex2(m_pWorldData, this);
        else if (flagsA & kFormatColor)
            object = new (std::nothrow) Color(m_pWorldData, this);
        else if (flagsA & kFormatColorTex)
            object = new (std::nothrow) ColorTex(m_pWorldData, this);
        else {
            m_pWorldData->lastError = RES_UNKNOWN_KIND;
            return nullptr;
        }
        return AdoptObject(object, flagsA, flagsB);
    }
    template <class Index16, class Index32>
    C3DObjectIndex* CreateIndexBufferOf(uint32_t kind)
    {
        if (kind == kIndexKind16)
            return AdoptIndexBuffer(new (std::nothrow) Index16(m_pWorldData));
        if (kind == kIndexKind32)
            return AdoptIndexBuffer(new (std::nothrow) Index32(m_pWorldData));
        return nullptr;
    }

    CWorldData* m_pWorldData;
    C3DCamera* m_pCamera = nullptr;
    CRefList m_plistObjects;
    CLinkedList m_plistObjectsIndex;
    CRefList m_plistTextures;
    CRefList m_plistShaders;
    CLinkedList m_listStencilShadow;
    CLinkedList m_listContainer;

private:
    using Dispose = void (*)(ListValue value);

    static uint32_t CountNodes(const CLinkedList& list);
    static void FreeNodes(CLinkedList& list);
    static CLinkedList::Node* FindNode(const CLinkedList& list, ListValue value);
    CRefList::RefNode* FindTextureNode(const C3DTexture* texture) const;
    C3DTexture* FindSharedTexture(uint32_t flags, uint32_t parameter, const char16_t* key);
    // Keeps a texture whose load gave result, or destroys it and answers null.
    C3DTexture* KeepLoadedTexture(C3DTexture* texture, Result result);
    Result DestroyShaderListEntry(C3DShaderListEntry* entry);
    C3DContainer* AddContainer(C3DContainer* container);
    void UnloadList(CLinkedList& list, uint32_t bit, const char16_t* leakLine, Dispose dispose);
    Result RestoreWalk();
    Result ReleaseWalk();

    uint32_t m_leakedLists = 0;
};
