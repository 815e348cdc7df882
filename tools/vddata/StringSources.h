#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "game/GameData.h"
#include "tools/PakWriter.h"
#include "tools/vddata/YamlFields.h"

// The glyph codes of a multi-page charset font: for every character the font draws, the first
// code that the font's own RemapText turns into it.
class CCharsetCodes {
public:
    // False when the file is not a charset font.
    bool Load(const std::string& path);
    // False when the font has no glyph for the character.
    bool Code(char16_t character, char16_t* code) const;
    // The remap table: entry c (0 to 255) is the code of the default table's character for c
    // (a space when the font lacks it; line feed and carriage return keep their codes); 256 is 0.
    std::array<uint16_t, kCharsetRemapEntries> RemapTable() const;

private:
    std::unordered_map<char16_t, char16_t> m_codes;
};

constexpr char kStringsFolder[] = "strings";

// The string tables of "strings/<language>/<name>.txt" below folder (UTF-8, one string per line,
// "main" for the main section) into the pak as "strings/_strings.<language><section>" with
// ".utf8.ucs2.raw" and, given codes, ".utf8.indexed.ucs2.raw" too. The texts read go into sources.
bool AddStringTables(const std::string& folder, const CCharsetCodes* codes, CPakWriter& pak,
                     std::vector<std::string>& sources, CSourceErrors& errors);
