#pragma once
#include <cstdint>

// The game's language index (0 "en" .. 11 "sv") for a system language identifier; 0 for an
// identifier the game does not know.
uint32_t LanguageFromLangId(uint16_t langId);
// The same for the system's default language.
uint32_t GetSystemLanguage();
// The script bits of a language's texts: 0x01 Latin, 0x02 Cyrillic, 0x04 Japanese, 0x08
// Chinese, 0x10 Korean; 0 past the twelve languages.
uint32_t LanguageScripts(uint32_t language);
