#include "base/Result.h"
#include "engine3d/ImageDecoders.h"
#include "tests/support/ImageFixtures.h"

#include <png.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kBudgetBytes = 64ull << 20;
// How far the child's address space may grow: far past the budget, so a decoder that lost its
// bounds is measured rather than let loose on the machine.
constexpr uint64_t kGuardBytes = 1ull << 30;

uint64_t StatusBytes(const char* field)
{
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    uint64_t kilobytes = 0;
    while (status && fgets(line, sizeof(line), status)) {
        if (strncmp(line, field, strlen(field)) == 0)
            kilobytes = strtoull(line + strlen(field), nullptr, 10);
    }
    if (status)
        fclose(status);
    return kilobytes * 1024;
}

// Runs in a death test's child, whose peak address space starts at its size: exits 0 only when
// the decode failed and the address space never grew past the budget.
void FailWithinBudget(const std::string& bytes, const char16_t* name)
{
    uint64_t start = StatusBytes("VmSize:");
    rlimit guard = {start + kGuardBytes, start + kGuardBytes};
    setrlimit(RLIMIT_AS, &guard);
    ScopedRaw raw(nullptr);
    Result result = raw.Load(bytes, name);
    uint64_t growth = StatusBytes("VmPeak:") - start;
    fprintf(stderr, "result %08x, grew %llu bytes\n", unsigned(result), static_cast<unsigned long long>(growth));
    _exit(result == RES_FAIL && growth <= kBudgetBytes ? 0 : 1);
}

std::string Png(uint32_t width)
{
    return EncodePng({width, 1, PNG_COLOR_TYPE_GRAY, 8, false, std::vector<uint8_t>(width, 7), {}, {}, {}});
}

} // namespace

TEST(HostileImage, PngChunksThatLieAboutTheirSizeFailWithinBudget)
{
    for (const char* type : {"tEXt", "zTXt", "iTXt", "sPLT", "pCAL", "sCAL"}) {
        SCOPED_TRACE(type);
        // After the header: a chunk that declares 200 MB and holds three bytes.
        std::string file = Png(1).insert(33, std::string("\x0B\xEB\xC2\x00", 4) + type + std::string("a\0b", 3));
        EXPECT_EXIT(FailWithinBudget(file, u"lie.png"), testing::ExitedWithCode(0), "");
    }
}

TEST(HostileImage, ArithmeticJpegsClaimingHugeSizesFailWithinBudget)
{
    for (uint16_t side : {65000, 20000, 4000}) {  // the last within the texture limit
        SCOPED_TRACE(side);
        std::string file = EncodeJpeg(8, 8, 1, std::vector<uint8_t>(64, 90), false, 95, true);
        size_t frame = file.find("\xFF\xC9");
        ASSERT_NE(frame, std::string::npos);
        const char bigEndian[2] = {char(side >> 8), char(side & 0xFF)};
        file.replace(frame + 5, 4, std::string(bigEndian, 2) + std::string(bigEndian, 2));
        EXPECT_EXIT(FailWithinBudget(file, u"arith.jpg"), testing::ExitedWithCode(0), "");
    }
}

TEST(HostileImage, ImagesStopAtTheLargestTexture)
{
    std::vector<uint8_t> grey(size_t(kMaxImageSide + 1) * 8, 50);
    ScopedRaw raw(nullptr);
    EXPECT_EQ(raw.Load(Png(kMaxImageSide), u"a.png"), RES_OK);
    EXPECT_EQ(raw.Load(EncodeJpeg(kMaxImageSide, 8, 1, grey, false), u"a.jpg"), RES_OK);
    EXPECT_EQ(raw.Load(Png(kMaxImageSide + 1), u"a.png"), RES_FAIL);
    EXPECT_EQ(raw.Load(EncodeJpeg(kMaxImageSide + 1, 8, 1, grey, false), u"a.jpg"), RES_FAIL);
}
