#include "base/FileSystem.h"
#include "core/WorldData.h"
#include "world/WorldParameters.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

TEST(PakFolder, APakPathNamingAFolderFailsAsAMissingPak)
{
    TempDir dir;
    dir.Write("Data_full_Win32/App_full_Win32.pak/inside.txt", "x");
    std::u16string folder = dir.WideFile("Data_full_Win32/App_full_Win32.pak");
    EXPECT_EQ(OpenFile(folder.c_str(), "rb"), nullptr);

    auto data = std::make_unique<CWorldData>();
    EXPECT_EQ(SetWorldParameters(data.get(), nullptr, nullptr, nullptr, folder.c_str(), 0, FindPackerEntry, nullptr),
              RES_PAK_NOT_OPENED);
    EXPECT_EQ(std::u16string(data->errorDetail), u"Missing file: " + folder);
    EXPECT_EQ(data->pak.file, nullptr);
}
