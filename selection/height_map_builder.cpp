#include "selection/height_map_builder.h"

#include <cmath>
#include <cstring>

namespace kestrane {

namespace {

bool mapCovers(const HeightMap& map, int lastX, int lastY) {
    return lastX <= map.lastX() && lastY <= map.lastY();
}

std::uint8_t diagonalMean(const HeightMap& map, int x, int y, int lastX, int lastY) {
    std::int16_t sum = 0;
    std::uint8_t count = 0;
    for (const int dx : {-1, 1}) {
        const int nx = x + dx;
        if (nx < 0 || nx > lastX) {
            continue;
        }
        for (const int dy : {-1, 1}) {
            const int ny = y + dy;
            if (ny < 0 || ny > lastY || map(nx, ny) == markerHeight) {
                continue;
            }
            sum = static_cast<std::int16_t>(sum + map(nx, ny));
            ++count;
        }
    }
    if (sum == 0) {
        return 0;
    }
    return static_cast<std::uint8_t>(std::floor(static_cast<double>(sum) / count + 0.5));
}

}  // namespace

void buildHeightMap(const PixelGrid& basePix, int originX, int originY, int lastX, int lastY,
                    HeightMap& regionHeights) {
    if (lastX < 0 || lastY < 0) {
        return;
    }
    Q_ASSERT(mapCovers(regionHeights, lastX, lastY) && originX >= 0 && originY >= 0 &&
             originX + lastX < basePix.columns() && originY + lastY < basePix.rows());
    // The cells are independent, so the loop follows the picture's rows, which lie in memory.
    for (int j = 0; j <= lastY; ++j) {
        const Pixel* const row = &basePix(originX, originY + j);
        for (int i = 0; i <= lastX; ++i) {
            regionHeights(i, j) = pixelHeight(row[i]);
        }
    }
}

void fillMarkerCells(HeightMap& regionHeights, std::int16_t lastX, std::int16_t lastY) {
    if (lastX < 0 || lastY < 0) {
        return;
    }
    Q_ASSERT(mapCovers(regionHeights, lastX, lastY));
    for (int i = 0; i <= lastX; ++i) {
        std::uint8_t* const column = &regionHeights(i, 0);
        std::uint8_t* const end = column + lastY + 1;
        // Markers are rare; memchr skips the ordinary cells between them fastest.
        std::uint8_t* cell = column;
        while ((cell = static_cast<std::uint8_t*>(std::memchr(
                    cell, markerHeight, static_cast<std::size_t>(end - cell)))) != nullptr) {
            *cell = diagonalMean(regionHeights, i, static_cast<int>(cell - column), lastX, lastY);
            ++cell;
        }
    }
}

HeightMap filledHeightMap(const PixelGrid& basePix, int originX, int originY, std::int16_t lastX,
                          std::int16_t lastY) {
    HeightMap regionHeights(lastX, lastY);
    buildHeightMap(basePix, originX, originY, lastX, lastY, regionHeights);
    fillMarkerCells(regionHeights, lastX, lastY);
    return regionHeights;
}

}  // namespace kestrane
