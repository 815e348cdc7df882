#pragma once
#include <cstdint>

// The reference size written in a picture's file name "name.WidthxHeight.ext": the part between
// the last two dots read as "<width>x<height>". False, with both -1, when either number is
// missing, the name has fewer than two dots or a number does not fit in 31 bits.
bool ParseSizeFromName(const char16_t* name, int32_t* width, int32_t* height);
