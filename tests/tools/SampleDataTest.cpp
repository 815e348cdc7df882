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

TEST(SampleData, BuildPacksEveryDataFileUnchanged)
{
    if (Env("VD_BINARY_DIR").empty() || Env("VD_SOURCE_DIR").empty())
        GTEST_SKIP() << "run through ctest";
    std::vector<PakIndexEntry> entries;
    std::string error;
    ASSERT_EQ(ReadPakIndex(SamplePakPath(), 0, &entries, &error), RES_OK) << error;

    std::filesystem::path data = Env("VD_SOURCE_DIR") + "/data";
    size_t files = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(data)) {
        if (!file.is_regular_file())
            continue;
        ++files;
        std::string name = file.path().lexically_relative(data).generic_string();
        auto entry = std::find_if(entries.begin(), entries.end(), [&](const PakIndexEntry& e) { return e.name == name; });
        ASSERT_NE(entry, entries.end()) << name;
        std::ifstream pak(SamplePakPath(), std::ios::binary);
        std::string bytes(entry->size, '\0');
        pak.seekg(static_cast<std::streamoff>(entry->dataOffset));
        pak.read(bytes.data(), entry->size);
        EXPECT_EQ(bytes, TempDir::Read(file.path().string())) << name;
    }
    EXPECT_EQ(entries.size(), files);
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
