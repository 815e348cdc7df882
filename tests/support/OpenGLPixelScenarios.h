#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

class C3DEngine;

// Pixel scenarios as data, drawn through the renderer-neutral engine interface so that any
// renderer can draw them and be read back. Coordinates are virtual-screen units on a 64 x 64
// configuration drawn into a 64 x 64 window (origin top left, y down); probes name a pixel
// from the top left and its expected colour, within one step per channel.

constexpr uint16_t kScenarioSize = 64;

struct ScenarioImage {
    uint16_t width;
    uint16_t height;
    uint8_t bits;
    std::vector<uint8_t> pixels;  // rows bottom-up, as the image decoder delivers them
    uint32_t flags;               // texture creation flags
    uint32_t sampling;            // sampling and blending flags
};

struct ScenarioVertex {
    float x, y, z;
    uint32_t colour;  // ARGB
    float u, v;
};

// One part: a run of vertices drawn with indices 0 .. count - 1 from its first vertex.
struct ScenarioPart {
    uint32_t firstVertex;
    uint32_t vertexCount;
    uint32_t type;
    uint32_t primitiveCount;
    uint32_t cull;
};

struct ScenarioDraw {
    uint32_t flagsA;
    uint32_t flagsB;
    uint32_t objectColour;
    std::vector<ScenarioVertex> vertices;
    std::vector<ScenarioPart> parts;
    int texture;  // index into the scenario's images, -1 for none
};

enum class ScenarioStepKind { Draw, CopyFrame, Clear };

struct ScenarioStep {
    ScenarioStepKind kind;
    ScenarioDraw draw;       // Draw
    int texture;             // CopyFrame: the image whose texture receives the frame
    uint32_t clearColour;    // Clear
};

struct ScenarioProbe {
    int x;
    int y;
    uint8_t r, g, b;
};

struct PixelScenario {
    std::string name;
    uint32_t clearColour;
    std::vector<ScenarioImage> images;
    std::vector<ScenarioStep> steps;
    std::vector<ScenarioProbe> probes;
    // False where the renderers are meant to differ; the note says how.
    bool sameOnBothRenderers;
    std::string note;
};

// The scenarios of the OpenGL renderer's tests.
std::vector<PixelScenario> OpenGLPixelScenarios();

// Begins a frame on the engine (the scenario's clear colour) and runs the steps; textures and
// objects made for it are destroyed again. The frame is left unpresented for read-back.
Result DrawPixelScenario(C3DEngine* engine, const PixelScenario& scenario);
