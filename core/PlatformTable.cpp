#include "core/PlatformTable.h"

const CPlatformRow kPlatforms[kPlatformCount] = {
    {u"WIN32", u"Win32"},     {u"MACOS", u"MacOS"}, {u"LINUX", u"Linux"},     {u"IPHONE", u"iPhone"},
    {u"IPAD", u"iPad"},       {u"ANDROID", u"Android"}, {u"FLASHAS3", u"FlashAS3"}, {u"XBOX360", u"Xbox360"},
    {u"PS3", u"PS3"},         {u"WII", u"Wii"},     {u"WINCE", u"WinCE"},     {u"S60", u"S60"},
    {u"PSP", u"PSP"},
};

const char16_t* PlatformKey(uint32_t platform)
{
    return platform < kPlatformCount ? kPlatforms[platform].key : u"UNDEFINED";
}

const char16_t* PlatformName(uint32_t platform)
{
    return platform < kPlatformCount ? kPlatforms[platform].name : u"undefined";
}
