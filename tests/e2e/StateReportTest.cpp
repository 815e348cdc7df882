#include <gtest/gtest.h>

#include "tests/e2e/StateReport.h"

TEST(StateReport, ListsFieldsAndTextsAreDecoded)
{
    StateReport report;
    ASSERT_TRUE(report.Parse("ok state=10 page=0 button=2,10,20,31,41,1,Play%20now%2C%20Ada%25 button=9,0,0,4,4,0,"));
    EXPECT_EQ(report.Int("state"), 10);
    EXPECT_EQ(report.Int("scene"), -1) << "absent";
    ASSERT_EQ(report.All("button").size(), 2u);
    const auto play = report.Find("button", 2);
    ASSERT_TRUE(play);
    EXPECT_EQ(play->back(), "Play now, Ada%");
    EXPECT_EQ(report.Find("button", 9)->size(), 7u) << "an empty text is a field";
    const ReportRect rect = StateReport::RectAt(*play, 1);
    EXPECT_EQ(rect.CentreX() * 1000 + rect.CentreY(), 25 * 1000 + 40);
    EXPECT_EQ(StateReport::Decode("%e2%82%ac%4"), "\xe2\x82\xac%4") << "lower-case hex; a cut escape stays";

    for (const char* answer : {"error unknown command", "ok state=1 stray", ""})
        EXPECT_FALSE(report.Parse(answer)) << answer;
    EXPECT_FALSE(report.Valid());
}
