#pragma once
#include "backends/opengl/EngineOpenGL.h"
#include "tests/support/OpenGLTestRig.h"
#include "tests/support/RendererFixture.h"

// An OpenGL engine on a 64 x 64 window, not loaded yet; skipped without a display.
using OpenGLRigTest = RendererFixture<OpenGLTestRig>;

// The same engine loaded.
using OpenGLFixture = LoadedFixture<OpenGLRigTest>;
