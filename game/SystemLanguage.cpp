#include "game/SystemLanguage.h"

#include "platform/win32/Win32System.h"

namespace {

struct CLanguageIds {
    uint32_t language;
    uint16_t ids[21];  // unused entries are 0
};

const CLanguageIds kLanguageIds[] = {
    {1, {12, 1036, 2060, 3084, 4108, 5132}},
    {2, {10, 1034, 2058, 3082, 4106, 5130, 6154, 7178, 8202, 9226, 10250, 11274, 12298, 13322, 14346, 15370, 16394,
         17418, 18442, 19466, 20490}},
    {3, {7, 1031, 2055, 3079, 4103, 5127}},
    {4, {16, 1040, 2064}},
    {5, {17, 1041}},
    {6, {4, 1028, 2052, 3076, 4100}},
    {7, {18, 1042}},
    {8, {25, 1049}},
    {9, {1043}},
    {10, {1046, 2070}},
    {11, {1053, 2077}},
};

} // namespace

uint32_t LanguageFromLangId(uint16_t langId)
{
    for (const CLanguageIds& row : kLanguageIds) {
        for (uint16_t id : row.ids) {
            if (id == 0)
                break;
            if (id == langId)
                return row.language;
        }
    }
    return 0;
}

uint32_t GetSystemLanguage()
{
    return LanguageFromLangId(GetSystemDefaultLangID());
}

uint32_t LanguageScripts(uint32_t language)
{
    static const uint8_t kScripts[] = {0x01, 0x01, 0x01, 0x01, 0x01, 0x04, 0x08, 0x10, 0x02, 0x01, 0x01, 0x01};
    return language < sizeof(kScripts) ? kScripts[language] : 0;
}
