#include "core/PackerFile.h"
#include "core/ParamsReader.h"
#include "base/WideString.h"
#include "tests/support/TempDir.h"
#include "tools/PakIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string SamplePakPath()
{
    return Env("VD_BINARY_DIR") + "/Data_full_Win32/VadadiDazidev_full_Win32.pak";
}

TEST(SampleData, BuildPacksEveryPlainDataFileUnchangedBesideTheRawFiles)
{
    if (Env("VD_BINARY_DIR").empty() || Env("VD_SOURCE_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    std::vector<PakIndexEntry> entries;
    std::string error;
    ASSERT_EQ(ReadPakIndex(SamplePakPath(), 0, &entries, &error), RES_OK) << error;
    auto find = [&](const std::string& name) {
        return std::find_if(entries.begin(), entries.end(), [&](const PakIndexEntry& e) { return e.name == name; });
    };

    std::filesystem::path data = Env("VD_SOURCE_DIR") + "/data";
    for (const auto& file : std::filesystem::recursive_directory_iterator(data)) {
        std::string name = file.path().lexically_relative(data).generic_string();
        // Sources, string texts, meshes (packed under their raw names) and the files beside the
        // pak are not packed as they are.
        if (!file.is_regular_file() || file.path().extension() == ".yaml" || name.rfind("strings/", 0) == 0 ||
            name.rfind("disk/", 0) == 0 || name.rfind("meshes/", 0) == 0)
            continue;
        auto entry = find(name);
        ASSERT_NE(entry, entries.end()) << name;
        std::ifstream pak(SamplePakPath(), std::ios::binary);
        std::string bytes(entry->size, '\0');
        pak.seekg(static_cast<std::streamoff>(entry->dataOffset));
        pak.read(bytes.data(), entry->size);
        EXPECT_EQ(bytes, TempDir::Read(file.path().string())) << name;
    }
    for (const char* raw : {"_construct.raw", "_menu_tuto.raw", "_menu_dialog.raw", "_menu_0.raw", "_menu_1.raw",
                            "_menu_stars.raw", "_menu_hint.raw", "_labels_0.raw", "_timer_0.raw", "_profile.full.raw"})
        EXPECT_NE(find(std::string("_raw.full.Win32/") + raw), entries.end()) << raw;
    EXPECT_NE(find("strings/_sounds.ascii.ucs2.raw"), entries.end());
}

TEST(SampleData, ExternalSettingsAreReadableFromTheMainPak)
{
    if (Env("VD_BINARY_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    CPackerFile pak{};
    ASSERT_EQ(OpenPackerFile(&pak, Utf8ToUtf16(SamplePakPath()).c_str(), 0), RES_OK);
    CPackedParams external(u"VadadiDazidev.External.Desktop.ini", FindPackerEntry, &pak);
    EXPECT_GT(external.Length(), 0u);
    EXPECT_EQ(external.GetU32(u"BRIGHTNESS", u"DEFAULT_BRIGHTNESS", 0), 127u);
    EXPECT_EQ(external.GetBool(u"TIME_ATTACK", u"ENABLE_TIME_ATTACK", 1), 0);
    ClosePackerFile(&pak);
}

} // namespace
