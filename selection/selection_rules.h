#pragma once

#include <QString>
#include <cstdint>

#include "workspace/pixel_grid.h"

namespace kestrane {

// A corner of a selection in canvas pixels, used directly as grid indices [x, y].
struct CanvasPoint {
    float x = 0;
    float y = 0;

    friend bool operator==(const CanvasPoint&, const CanvasPoint&) = default;
};

// Limits of a selection corner on the 512 x 512 canvas, both ends inclusive.
inline constexpr float kSelectionLeft = 2;
inline constexpr float kSelectionRight = 509;
inline constexpr float kSelectionTop = 16;
inline constexpr float kSelectionBottom = 510;

// The point held within the limits: x to 2..509, y to 16..510, compared as floats, so the limits
// themselves pass unchanged.
CanvasPoint clampToSelection(float x, float y);

// A selection is an area, shown as a 3D graph, when it is at least this wide or this high;
// otherwise it is a point, shown as two profiles.
inline constexpr int kAreaExtent = 30;

// The rectangle spanned by two corners: each coordinate's smaller and larger value, rounded half
// to even. The extents are max - min, so the region holds one more cell than the extent each way.
struct SelectionRect {
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;

    std::int16_t width() const { return static_cast<std::int16_t>(maxX - minX); }
    std::int16_t height() const { return static_cast<std::int16_t>(maxY - minY); }
    bool isArea() const { return width() >= kAreaExtent || height() >= kAreaExtent; }
};

SelectionRect selectionRect(CanvasPoint anchor, CanvasPoint corner);

// viewPix becomes a copy of basePix with the rubber band between the two corners drawn white
// (blue, green and red 255, the reserved byte kept): along the rows of both corners across the
// rectangle's columns, and along the columns of both across its rows, ends included. Corners that
// coincide give a single white pixel. Both corners must round into the grid.
void drawRubberBand(const PixelGrid& basePix, CanvasPoint anchor, CanvasPoint corner,
                    PixelGrid& viewPix);

// A coordinate typed into a box: the number the text begins with, rounded down toward minus
// infinity; 0 when the text does not begin with a number. Values far beyond the canvas are held
// at +-2^24, where a float still counts whole pixels, since only their side of the canvas matters.
float typedCoordinate(const QString& text);

}  // namespace kestrane
