#pragma once
#include <cstdint>

// The game's language index (0 "en" .. 11 "sv") for a system language identifier; 0 for an
// identifier the game does not know.
uint32_t LanguageFromLangId(uint16_t langId);
// The same for the system's default language.
uint32_t GetSystemLanguage();
