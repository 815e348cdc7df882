#include "engine3d/Engine.h"

#include "base/WideString.h"
#include "engine3d/ResourceName.h"
#include "engine3d/Texture.h"

C3DTexture* C3DEngine::AddRefTexture(C3DTexture* texture)
{
    CRefList::RefNode* node = FindTextureNode(texture);
    if (!node || !(node->flag & kTextureShared))
        return nullptr;
    ++node->refCount;
    return texture;
}

Result C3DEngine::DestroyTexture(C3DTexture* texture)
{
    CRefList::RefNode* node = texture ? FindTextureNode(texture) : nullptr;
    if (!node)
        return RES_FAIL;
    if (node->refCount > 1) {
        --node->refCount;
        return RES_OK;
    }
    IgnoreResult(m_plistTextures.Release(texture, 1));
    const Result result = texture->Release();
    delete texture;
    return result;
}

Result C3DEngine::RetainTexture(C3DTexture* texture)
{
    CRefList::RefNode* node = texture ? FindTextureNode(texture) : nullptr;
    if (!node)
        return RES_FAIL;
    ++node->refCount;
    return RES_OK;
}

uint32_t C3DEngine::GetTextureRefCount(C3DTexture* texture) const
{
    const CRefList::RefNode* node = texture ? FindTextureNode(texture) : nullptr;
    return node ? node->refCount : 0;
}

C3DTexture* C3DEngine::FindSharedTexture(uint32_t flags, uint32_t parameter, const char16_t* key)
{
    if (!(flags & kTextureShared) || !key)
        return nullptr;
    for (CLinkedList::Node* n = m_plistTextures.Head(); n; n = n->next) {
        CRefList::RefNode* node = static_cast<CRefList::RefNode*>(n);
        C3DTexture* texture = ListObject<C3DTexture>(node->value);
        if (!(node->flag & kTextureShared) || texture->GetParameter() != parameter || texture->GetFlags() != flags)
            continue;
        const char16_t* name = texture->GetName();
        if (name && WStrCmp(name, key) == 0) {
            ++node->refCount;
            return texture;
        }
    }
    return nullptr;
}

C3DTexture* C3DEngine::KeepLoadedTexture(C3DTexture* texture, Result result)
{
    if (Failed(result)) {
        IgnoreResult(DestroyTexture(texture));
        return nullptr;
    }
    return texture;
}

C3DTexture* C3DEngine::MakeTextureFromAddress(uint32_t flags, uint32_t parameter, const uint8_t* data, uint32_t size,
                                              const char16_t* name)
{
    if (C3DTexture* shared = FindSharedTexture(flags, parameter, ResourceNameFromPath(m_pWorldData, name)))
        return shared;
    C3DTexture* texture = CreateTexture(flags, parameter);
    if (!texture)
        return nullptr;
    return KeepLoadedTexture(texture, texture->MakeTextureFromAddress(data, size, name));
}

C3DTexture* C3DEngine::LoadTextureFromPacker(uint32_t flags, uint32_t parameter, CPackerFile* pak)
{
    if (!pak)
        return nullptr;
    if (C3DTexture* shared = FindSharedTexture(flags, parameter, ResourceNameFromPath(m_pWorldData, pak->foundName)))
        return shared;
    C3DTexture* texture = CreateTexture(flags, parameter);
    if (!texture)
        return nullptr;
    return KeepLoadedTexture(texture, texture->LoadTextureFromPacker(pak));
}

C3DTexture* C3DEngine::LoadTextureFromFile(uint32_t flags, uint32_t parameter, const char16_t* path)
{
    if (C3DTexture* shared = FindSharedTexture(flags, parameter, ResourceNameFromPath(m_pWorldData, path)))
        return shared;
    C3DTexture* texture = CreateTexture(flags, parameter);
    if (!texture)
        return nullptr;
    return KeepLoadedTexture(texture, texture->LoadTextureFromFile(path));
}
