#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace kestrane {

enum class Side { right, left };

// Where a window of frame size `frame` first appears beside the window whose frame is `anchor`,
// `below` pixels down from the anchor's top: on the preferred side, else on the other one, each
// moved inside the screen's `available` area. The first side that covers none of the anchor wins;
// when both would cover some, the side that covers less. A frame larger than `available` goes to
// its top-left corner.
QPoint placeBeside(const QRect& anchor, QSize frame, int below, Side preferred,
                   const QRect& available);

// placeBeside for a window with client size `client` next to the top-level window `anchor` on the
// anchor's screen, below a window of client height `clientHeightAbove` at the top of that side (0
// for none), taking every window's decorations to be those of the anchor.
QPoint placeBeside(const QWidget& anchor, QSize client, int clientHeightAbove,
                   Side preferred = Side::right);

}  // namespace kestrane
