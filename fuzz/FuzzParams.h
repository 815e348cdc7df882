#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CParamsReader;

// Asks the reader every typed question about the sections and keys that the text names (at most
// four of each, and one it cannot name) and returns the answers as one text. Checks that every
// string answer ends within its bound and that a short bound gives the start of the long answer.
std::u16string AskParams(const CParamsReader& reader, const uint8_t* text, size_t size);
