#pragma once

// What the machine's OpenGL can do for video and web views.
namespace GraphicsSupport {

// True when an OpenGL context can be made current and its renderer is a real GPU.
// A software rasteriser (llvmpipe, softpipe, swrast) counts as no GPU: drawing through it
// is no faster than our own software paths, and the web engine's GPU process fails on it.
// Needs a QGuiApplication; the answer is computed once.
bool hardwareOpenGl();

// Before the web engine starts: without a GPU, it composites in software
// (no GPU process, software Qt Quick scene graph), which would otherwise show blank pages.
void prepareWebEngine();

} // namespace GraphicsSupport
