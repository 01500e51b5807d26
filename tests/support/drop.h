#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

namespace kestrane::testing {

// Drags data onto the window and drops it there, as the platform does. Whether the window took
// the drag as it entered, and the drop.
inline std::pair<bool, bool> dropOn(QWidget& window, const QMimeData& data) {
    QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QApplication::sendEvent(&window, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

}  // namespace kestrane::testing
