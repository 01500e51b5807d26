#include "graph3d/graph_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "workspace/numbers.h"

namespace kestrane {

namespace {

constexpr double kLowestInt16 = std::numeric_limits<std::int16_t>::min();
constexpr double kHighestInt16 = std::numeric_limits<std::int16_t>::max();
constexpr double kFullTurn = 360;

// Pointer positions far outside the canvas are held at the 16-bit range instead of overflowing.
std::int16_t floorToInt16(double value) {
    return static_cast<std::int16_t>(std::clamp(std::floor(value), kLowestInt16, kHighestInt16));
}

std::int16_t nearestInt16(double value) {
    return static_cast<std::int16_t>(roundHalfEven(std::clamp(value, kLowestInt16, kHighestInt16)));
}

}  // namespace

QString jpegFileName(const QString& typed) {
    const QString ending = typed.right(3);
    return ending == "jpg" || ending == "JPG" ? typed : typed + ".jpg";
}

std::int16_t compressionValue(const QString& text) {
    return static_cast<std::int16_t>(roundHalfEven(std::clamp(textValue(text), 0.0, 100.0)));
}

DragAngles startDrag(DragAngles angles, float x, float y) {
    angles.xx = floorToInt16(x);
    angles.yy = floorToInt16(y);
    return angles;
}

DragAngles moveDrag(DragAngles angles, float x, float y) {
    angles.mx2 = nearestInt16(std::fmod(angles.mx - double(x) + angles.xx, kFullTurn));
    const std::int16_t tilt = nearestInt16(angles.my - double(y) + angles.yy);
    const std::int16_t limit = std::clamp(tilt, kLowestTilt, kHighestTilt);
    angles.my2 = limit;
    if (limit != tilt) {
        angles.yy = floorToInt16(y);
        angles.my = limit;
    }
    return angles;
}

DragAngles commitDrag(DragAngles angles) {
    angles.mx = angles.mx2;
    angles.my = angles.my2;
    return angles;
}

}  // namespace kestrane
