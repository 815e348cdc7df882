#include "tests/e2e/PictureDifference.h"

#include <algorithm>
#include <sstream>

namespace {

// Every cell with a disagreeing pixel: "x 0-128, y 256-384: 3.2 %".
std::string DisagreeingCells(const std::vector<uint8_t>& gaps, int width, int height, int tolerance)
{
    std::ostringstream cells;
    for (int top = 0; top < height; top += kDifferenceCell) {
        for (int left = 0; left < width; left += kDifferenceCell) {
            const int right = std::min(left + kDifferenceCell, width), bottom = std::min(top + kDifferenceCell, height);
            size_t count = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = left; x < right; ++x)
                    count += gaps[size_t(y) * width + x] > tolerance;
            if (count)
                cells << "\n  x " << left << "-" << right << ", y " << top << "-" << bottom << ": "
                      << 100.0 * count / (size_t(right - left) * (bottom - top)) << " %";
        }
    }
    return cells.str();
}

Picture DifferencePicture(const Picture& picture, const std::vector<uint8_t>& gaps, int tolerance)
{
    Picture difference(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const uint32_t pixel = picture.At(x, y);
            const uint32_t grey = (Channel(pixel, 0) + Channel(pixel, 1) + Channel(pixel, 2)) / 12 + 32;
            const uint8_t gap = gaps[size_t(y) * picture.Width() + x];
            difference.Set(x, y, gap > tolerance ? Rgba(255, 0, 0) : Rgba(grey, grey, grey));
        }
    }
    return difference;
}

} // namespace

::testing::AssertionResult PictureMatches(const Picture& picture, const Picture& expected,
                                          const std::string& differencePath, int tolerance, double share)
{
    const std::vector<uint8_t> gaps = NeighbourhoodGaps(picture, expected);
    if (gaps.empty())
        return ::testing::AssertionFailure() << "the pictures differ in size: " << picture.Width() << " x "
                                             << picture.Height() << " against " << expected.Width() << " x "
                                             << expected.Height();
    const int width = picture.Width(), height = picture.Height();
    int box[4] = {width, height, -1, -1};
    size_t close = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (gaps[size_t(y) * width + x] <= tolerance) {
                ++close;
                continue;
            }
            box[0] = std::min(box[0], x), box[1] = std::min(box[1], y);
            box[2] = std::max(box[2], x + 1), box[3] = std::max(box[3], y + 1);
        }
    const double agreeing = double(close) / gaps.size();
    const int largest = *std::max_element(gaps.begin(), gaps.end());
    if (agreeing >= share)
        return ::testing::AssertionSuccess() << agreeing * 100 << " % within " << tolerance << ", largest " << largest;
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << agreeing * 100 << " % of the pixels within " << tolerance << " (" << share * 100
            << " % needed), largest difference " << largest << "; they differ in x " << box[0] << "-" << box[2]
            << ", y " << box[1] << "-" << box[3] << ", in the cells:" << DisagreeingCells(gaps, width, height, tolerance);
    if (!differencePath.empty())
        failure << "\n  difference picture: "
                << (DifferencePicture(picture, gaps, tolerance).Save(differencePath) ? differencePath : "not written");
    return failure;
}
