#pragma once

#include "engine3d/ObjectFile.h"

// A loaded object keeps its promise: every part's ranges inside the arrays, every index naming a vertex.
void CheckLoadedObject(const C3DObjectFile& file);
