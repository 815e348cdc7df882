#include <cstring>

#include "base/StringHelpers.h"
#include "base/WideString.h"
#include "core/WorldData.h"
#include "engine3d/ObjectFile.h"
#include "engine3d/SceneGameData.h"
#include "engine3d/SceneObject.h"

namespace {

const char16_t* const kLanguageCodes[] = {u"en", u"fr", u"es", u"de", u"it", u"jp",
                                          u"ch", u"ko", u"ru", u"nl", u"pt", u"sv"};
constexpr uint32_t kLanguageCount = sizeof(kLanguageCodes) / sizeof(kLanguageCodes[0]);

// "name.ext" with the code put before the first dot's part: "name.<code>.ext". The result is
// three units longer than the name (a dot and the two-unit code). Empty when the name has no dot.
WString LanguageName(const WString& name, const char16_t* code)
{
    const size_t dot = name.find(u'.');
    if (dot == WString::npos)
        return WString();
    WString result;
    result.reserve(name.size() + 1 + WStrLen(code));
    result.append(name, 0, dot).append(u".").append(code).append(name, dot, WString::npos);
    return result;
}

// The 8-bit name of a part, widened; a name that fills its whole slot is cut at the slot's end.
WString WidePartName(const char (&stored)[kObjectNameBytes])
{
    char name[kObjectNameBytes];
    memcpy(name, stored, sizeof(name));
    name[kObjectNameBytes - 1] = 0;
    char16_t wide[kObjectNameBytes];
    WidenString(name, wide, kObjectNameBytes);
    return WString(wide);
}

} // namespace

const char16_t* SceneLanguageCode(uint32_t language)
{
    return language < kLanguageCount ? kLanguageCodes[language] : nullptr;
}

void CSceneObject::LocalizeTextures(C3DObjectFile* file)
{
    const CSceneGameData* game = GetSceneGameData(m_pWorldData);
    C3DObjectFileData* d = file ? file->GetData() : nullptr;
    if (!game || !d || d->textureNames.empty() || !m_pWorldData->pakLookup)
        return;
    const char16_t* code = SceneLanguageCode(game->m_nLanguage);
    if (!code)
        return;
    WString previous;
    bool previousFound = false;
    for (uint32_t p = 0; p < d->PartCount(); ++p) {
        if (d->textureNames[p].text[0] == 0)
            continue;
        const WString name = WidePartName(d->textureNames[p].text);
        const WString localised = LanguageName(name, code);
        if (localised.empty() || localised.size() >= kObjectNameBytes)
            continue;
        if (name != previous) {
            previousFound = Succeeded(m_pWorldData->pakLookup(localised.c_str(), &m_pWorldData->pak));
            previous = name;
        }
        if (previousFound)
            NarrowString(localised.c_str(), d->textureNames[p].text, kObjectNameBytes);
    }
}
