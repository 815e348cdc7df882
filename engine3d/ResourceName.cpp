#include "engine3d/ResourceName.h"

#include "base/StringHelpers.h"
#include "base/WideString.h"
#include "core/WorldData.h"

const char16_t* ResourceNameFromPath(const CWorldData* data, const char16_t* path)
{
    if (!path)
        return nullptr;
    const int32_t prefix = data->dataRootPrefixLength;
    if (prefix < 0 || static_cast<size_t>(prefix) > WStrLen(path))
        return GetFileNamePart(path);
    return path + prefix;
}

void COwnedText::Set(const char16_t* text)
{
    if (!text) {
        Clear();
        return;
    }
    m_text.assign(text);
    m_present = true;
}

void COwnedText::Clear()
{
    m_text.clear();
    m_present = false;
}
