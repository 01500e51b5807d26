#include "windowing/window_placement.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <array>

namespace kestrane {

namespace {

// Space left between neighbouring windows.
constexpr int kGap = 8;

int coveredArea(const QRect& window, const QRect& anchor) {
    const QRect covered = window.intersected(anchor);
    return covered.isEmpty() ? 0 : covered.width() * covered.height();
}

QPoint inside(QPoint topLeft, QSize frame, const QRect& available) {
    return {std::clamp(topLeft.x(), available.left(),
                       std::max(available.left(), available.right() + 1 - frame.width())),
            std::clamp(topLeft.y(), available.top(),
                       std::max(available.top(), available.bottom() + 1 - frame.height()))};
}

}  // namespace

QPoint placeBeside(const QRect& anchor, QSize frame, int below, Side preferred,
                   const QRect& available) {
    const int top = anchor.top() + below;
    const QPoint right = inside({anchor.right() + 1 + kGap, top}, frame, available);
    const QPoint left = inside({anchor.left() - kGap - frame.width(), top}, frame, available);
    const std::array<QPoint, 2> sides =
        preferred == Side::right ? std::array{right, left} : std::array{left, right};
    return *std::min_element(sides.begin(), sides.end(), [&](QPoint a, QPoint b) {
        return coveredArea(QRect(a, frame), anchor) < coveredArea(QRect(b, frame), anchor);
    });
}

QPoint placeBeside(const QWidget& anchor, QSize client, int clientHeightAbove, Side preferred) {
    const QSize decorations = anchor.frameGeometry().size() - anchor.geometry().size();
    const int below = clientHeightAbove > 0 ? clientHeightAbove + decorations.height() + kGap : 0;
    return placeBeside(anchor.frameGeometry(), client + decorations, below, preferred,
                       anchor.screen()->availableGeometry());
}

}  // namespace kestrane
