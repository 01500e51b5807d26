#pragma once

// The ways the renderer can compute, for the tests and benchmarks that compare them. The program
// itself calls renderSurface without a path and gets the fastest.

#include <vector>

#include "graph3d/surface_renderer.h"

namespace kestrane {

// Plain runs on every processor, wide on those with 256-bit vector instructions (AVX2). Both paint
// the same pixels and count the same dots.
enum class SurfacePath { plain, wide };

// The paths this processor runs, plain first; renderSurface takes the last.
std::vector<SurfacePath> supportedSurfacePaths();

// renderSurface along the given path, which must be one of supportedSurfacePaths().
std::int64_t renderSurface(SurfacePath path, const HeightMap& heights, std::int16_t regionWidth,
                           std::int16_t regionHeight, const SurfaceView& view, PixelGrid& canvas);

}  // namespace kestrane
