// Seeds of the parameter, pak and stream harnesses.

#include "core/BuiltinSettings.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/seeds/Seeds.h"
#include "tools/PakWriter.h"

namespace {

const char kSmallParams[] = "; a comment\n[FIRST]\nNUMBER = 42\nNEGATIVE=-7\nFLOAT = 2.5e3\nTEXT=  some text \n"
                            "[ SECOND ]\nPATH=folder\\file.png\nEMPTY=\n[FONT]\nNB_COL=16\n";

FuzzSeeds ParamsTexts()
{
    return {{"engine.params", std::string(kEngineSettingsText, kEngineSettingsLength)},
            {"game.params", std::string(kGameSettingsText, kGameSettingsLength)},
            {"small.params", kSmallParams},
            {"unended.params", "[A]\rKEY=value"}};
}

FuzzSeeds Paks()
{
    CPakWriter pak;
    FUZZ_CHECK(pak.Add("image", "short") == RES_OK);
    FUZZ_CHECK(pak.Add("image.png", "the longer name begins with the shorter") == RES_OK);
    FUZZ_CHECK(pak.Add("Folder/Sub/data.bin", std::string("\0\1\2\3", 4)) == RES_OK);
    FUZZ_CHECK(pak.Add("a", "") == RES_OK);
    const std::string whole = pak.Bytes();
    return {{"four.pak", whole},
            {"truncated.pak", whole.substr(0, whole.size() - 3)},
            {"lying.pak", PakEntryBytes(0xFFFFFF00u, 1, "x", "data") + PakEntryBytes("y", "after")},
            {"long-name.pak", PakEntryBytes(std::string(300, 'n'), "data") + PakEntryBytes("n", "short")}};
}

} // namespace

FUZZ_SEEDS(Params)
{
    return ParamsTexts();
}

FUZZ_SEEDS(PackedParams)
{
    return ParamsTexts();
}

FUZZ_SEEDS(PakLookup)
{
    return Paks();
}

FUZZ_SEEDS(PakTool)
{
    FuzzSeeds seeds = Paks();
    seeds.emplace_back("escape.pak", PakEntryBytes("../up", "x") + PakEntryBytes("/abs", "y"));
    return seeds;
}

// The header byte: bit 7 swaps, bits 0-4 count the script bytes; each script byte reads
// (byte >> 3) elements of one of eight sizes (byte & 7).
FUZZ_SEEDS(Stream)
{
    return {{"bytes", std::string("\x04\x09\x0A\x0B\x1C") + "payload of sixteen bytes"},
            {"swapped", std::string("\x83\x11\x13\x0D") + "0123456789abcdef"},
            {"past-end", std::string("\x02\xF9\x08") + "tiny"}};
}
