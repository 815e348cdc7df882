#include "levels/objects/ObjectStreams.h"

#include <cmath>

namespace {

constexpr uint32_t kSlideShown = 0;
constexpr uint32_t kSlideHidden = 1;
constexpr uint32_t kSlideIn = 2;
constexpr uint32_t kSlideOut = 3;
constexpr float kHalfPi = 1.5707964f;

} // namespace

bool TakeSlideState(CStream& stream, uint32_t& state)
{
    uint32_t value = 0;
    if (!ReadValue(stream, value) || value > kSlideOut)
        return false;
    state = value;
    return true;
}

float StepSlide(uint32_t& state, float& phase, float up, float down)
{
    switch (state) {
    case kSlideShown:
        return 1.0f;
    case kSlideIn:
        phase += up;
        if (phase > 1.0f) {
            phase = 1.0f;
            state = kSlideShown;
        }
        return std::sin(phase * kHalfPi);
    case kSlideOut:
        phase -= down;
        if (phase < 0.0f) {
            phase = 0.0f;
            state = kSlideHidden;
        }
        return std::sin(phase * kHalfPi);
    default:
        return 0.0f;
    }
}
