#pragma once

#include <cstdint>

#include "workspace/height_map.h"
#include "workspace/pixel_grid.h"

namespace kestrane {

// The graph's view in whole degrees, as a drag on the graph changes it.
struct DragAngles {
    std::int16_t xx = 0;  // pointer position where the drag started, graph canvas pixels
    std::int16_t yy = 0;
    std::int16_t mx = 0;  // committed turn A and tilt R
    std::int16_t my = 0;
    std::int16_t mx2 = 0;  // live turn and tilt while a drag is under way
    std::int16_t my2 = 0;

    friend bool operator==(const DragAngles&, const DragAngles&) = default;
};

// Everything the main window holds for all windows. Fields start at zero; none is persisted.
struct WorkspaceState : DragAngles {
    PixelGrid basePix;  // the loaded picture as captured from the canvas
    PixelGrid viewPix;  // working copy with the selection overlay; also the graph's canvas
    float anchorX = 0;  // where the last selection started, after clamping
    float anchorY = 0;
    HeightMap regionHeights;
    double angleA = 0;             // graph rotation about the height axis, radians
    double angleR = 0;             // graph tilt, radians
    std::int16_t regionWidth = 0;  // extents of the selected rectangle
    std::int16_t regionHeight = 0;
    PixelGrid profilePix{0, 0};  // drawing surface of the cross-section charts
};

}  // namespace kestrane
