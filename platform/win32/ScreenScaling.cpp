#include "platform/win32/ScreenScaling.h"

#include <algorithm>
#include <cmath>

namespace {

LONG Floor(double value)
{
    return static_cast<LONG>(std::floor(value));
}

LONG Round(double value)
{
    return static_cast<LONG>(std::lround(value));
}

} // namespace

bool CScreenScaling::Identity() const
{
    return !scaled || (scale == 1.0 && offsetX == 0.0 && offsetY == 0.0 && clientWidth == displayWidth &&
                       clientHeight == displayHeight);
}

POINT CScreenScaling::ToClient(int x, int y) const
{
    if (!scaled)
        return POINT{x, y};
    LONG screenX = clientLeft + Floor((x - offsetX) / scale);
    LONG screenY = clientTop + Floor((y - offsetY) / scale);
    screenX = std::clamp<LONG>(screenX, 0, std::max<LONG>(screenWidth - 1, 0));
    screenY = std::clamp<LONG>(screenY, 0, std::max<LONG>(screenHeight - 1, 0));
    return POINT{screenX - clientLeft, screenY - clientTop};
}

POINT CScreenScaling::ToDisplay(LONG x, LONG y) const
{
    if (!scaled)
        return POINT{x, y};
    return POINT{Floor(offsetX + (x + 0.5) * scale), Floor(offsetY + (y + 0.5) * scale)};
}

RECT CScreenScaling::Shown() const
{
    return RECT{Round(offsetX), Round(offsetY), Round(offsetX + clientWidth * scale), Round(offsetY + clientHeight * scale)};
}

CScreenScaling UnscaledWindow(int width, int height)
{
    CScreenScaling scaling;
    scaling.clientWidth = width;
    scaling.clientHeight = height;
    scaling.displayWidth = width;
    scaling.displayHeight = height;
    scaling.screenWidth = width;
    scaling.screenHeight = height;
    return scaling;
}

CScreenScaling ScaleScreen(const RECT& bounds, LONG screenWidth, LONG screenHeight, int displayWidth, int displayHeight)
{
    CScreenScaling scaling = UnscaledWindow(bounds.right - bounds.left, bounds.bottom - bounds.top);
    if (screenWidth <= 0 || screenHeight <= 0 || displayWidth <= 0 || displayHeight <= 0)
        return scaling;
    scaling.displayWidth = displayWidth;
    scaling.displayHeight = displayHeight;
    scaling.scaled = true;
    scaling.scale = std::min(static_cast<double>(displayWidth) / screenWidth, static_cast<double>(displayHeight) / screenHeight);
    double screenLeft = (displayWidth - screenWidth * scaling.scale) / 2.0;
    double screenTop = (displayHeight - screenHeight * scaling.scale) / 2.0;
    scaling.offsetX = screenLeft + bounds.left * scaling.scale;
    scaling.offsetY = screenTop + bounds.top * scaling.scale;
    scaling.clientLeft = bounds.left;
    scaling.clientTop = bounds.top;
    scaling.screenWidth = screenWidth;
    scaling.screenHeight = screenHeight;
    return scaling;
}
