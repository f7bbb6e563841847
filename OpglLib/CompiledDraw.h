#pragma once
// Fixed geometry sent through display lists: compiled once per rendering context, then called,
// so the driver keeps the corners on its side and the same primitives reach OpenGL each frame.
#include <cstdint>
#include <functional>

// Makes every compiled drawing send its geometry directly each time instead (the plain path
// the compiled one is measured against; off by default).
void SetImmediateDrawing(bool On);
bool ImmediateDrawing();

// Runs Emit through the display list of (Owner, Key) in the current context, compiling it at
// the first call. Emit runs directly in immediate drawing, without a known context, while
// another list is being compiled, or when no list can be made.
void CallCompiled(const void* Owner, uint64_t Key, const std::function<void()>& Emit);
