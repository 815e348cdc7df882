#pragma once
#include <cstdint>
#include <initializer_list>

#include "platform/d3d8/D3D8Types.h"

// Records calls into the trace of platform/D3D8TestHooks.h while it runs; returns the result.
HRESULT D3D8Record(const char* name, std::initializer_list<uint64_t> args, HRESULT result);

// Objects get a number when made, shown in the trace instead of their address (0 for null).
void D3D8NameObject(const void* object);
void D3D8ForgetObject(const void* object);
uint64_t D3D8ObjectNumber(const void* object);
