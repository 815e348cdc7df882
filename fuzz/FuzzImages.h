#pragma once

#include <cstddef>
#include <cstdint>

// Loads the bytes as the image name from memory and from a pak entry (on a device whose largest
// texture is 512 x 512, so that large power-of-two images are shrunk) and checks that both give
// the same result and pixels, that the pak load reads nothing past its entry, and that a loaded
// image is a pixel layout of at most kMaxImageSide per side whose every byte can be read.
void FuzzImage(const uint8_t* data, size_t size, const char16_t* name);
