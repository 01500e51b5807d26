#include "selection/selection_rules.h"

#include <algorithm>
#include <cmath>

#include "workspace/bitmap_transfer.h"
#include "workspace/numbers.h"

namespace kestrane {

namespace {

constexpr double kFarBeyondTheCanvas = 1 << 24;

void paintWhite(Pixel& pixel) {
    pixel.blue = 255;
    pixel.red = 255;
    pixel.green = 255;
}

}  // namespace

CanvasPoint clampToSelection(float x, float y) {
    return {std::clamp(x, kSelectionLeft, kSelectionRight),
            std::clamp(y, kSelectionTop, kSelectionBottom)};
}

SelectionRect selectionRect(CanvasPoint anchor, CanvasPoint corner) {
    return {
        roundHalfEven(std::min(anchor.x, corner.x)), roundHalfEven(std::min(anchor.y, corner.y)),
        roundHalfEven(std::max(anchor.x, corner.x)), roundHalfEven(std::max(anchor.y, corner.y))};
}

void drawRubberBand(const PixelGrid& basePix, CanvasPoint anchor, CanvasPoint corner,
                    PixelGrid& viewPix) {
    copyBaseToView(basePix, viewPix);
    const SelectionRect rect = selectionRect(anchor, corner);
    const int anchorRow = roundHalfEven(anchor.y);
    const int cornerRow = roundHalfEven(corner.y);
    for (int column = rect.minX; column <= rect.maxX; ++column) {
        paintWhite(viewPix(column, anchorRow));
        paintWhite(viewPix(column, cornerRow));
    }
    const int anchorColumn = roundHalfEven(anchor.x);
    const int cornerColumn = roundHalfEven(corner.x);
    for (int row = rect.minY; row <= rect.maxY; ++row) {
        paintWhite(viewPix(anchorColumn, row));
        paintWhite(viewPix(cornerColumn, row));
    }
}

float typedCoordinate(const QString& text) {
    return static_cast<float>(
        std::clamp(std::floor(textValue(text)), -kFarBeyondTheCanvas, kFarBeyondTheCanvas));
}

}  // namespace kestrane
