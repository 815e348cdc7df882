#pragma once
#include <string>
#include <vector>

#include "tests/e2e/Picture.h"

// One picture of a contact sheet and the caption above it.
struct SheetPicture {
    std::string caption;
    Picture picture;
};

// The pictures in rows of columns, each at half its size under its caption, drawn with the
// TrueType font given by its bytes; false when the font does not open or the sheet cannot be
// written. The sheet is written beside path first and then moved there, so that a reader never
// sees half a sheet.
bool WriteContactSheet(const std::vector<SheetPicture>& pictures, int columns, const std::string& fontBytes,
                       const std::string& path);
