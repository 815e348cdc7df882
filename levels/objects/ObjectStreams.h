#pragma once
#include <cstdint>

#include "game/StreamValues.h"

// Reads a value into field only when it was read whole.
template <typename T>
bool TakeValue(CStream& stream, T& field)
{
    return ReadField<T>(stream, [&field](T value) { field = value; });
}

// A slide state of the timer or a tooltip: one of the four.
bool TakeSlideState(CStream& stream, uint32_t& state);

// One frame of a slide (0 shown, 1 hidden or folded, 2 appearing, 3 disappearing) with its
// phase: the phase grows by up or falls by down and ends the slide at its bound. Answers the
// visible share: 1 shown, 0 hidden, sin(phase x pi / 2) while sliding.
float StepSlide(uint32_t& state, float& phase, float up, float down);
