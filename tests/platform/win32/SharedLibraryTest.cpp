#include <gtest/gtest.h>

#include "platform/win32/SharedLibrary.h"

TEST(SharedLibraryTest, FindsFunctionsOfAPresentLibraryOnly)
{
    CSharedLibrary maths("libm.so.6");
    ASSERT_TRUE(maths.IsOpen());
    double (*cosine)(double) = nullptr;
    ASSERT_TRUE(maths.Find("cos", cosine));
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_FALSE(maths.Find("no_such_function_here", cosine));
    EXPECT_EQ(cosine, nullptr);

    CSharedLibrary missing("libno-such-library.so.9");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_FALSE(missing.Find("cos", cosine));
    EXPECT_EQ(cosine, nullptr);
}
