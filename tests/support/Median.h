#pragma once
#include <algorithm>
#include <vector>

// The middle value of a benchmark's rounds (the upper middle of an even count).
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
